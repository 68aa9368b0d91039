# Shared by scripts/test, scripts/demo and scripts/bench: builds and the Wine session.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

build_preset() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

# wine_session_start <prefix>: a fresh prefix, a virtual display and a persistent wineserver.
wine_session_start() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  unset http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY
  if [[ -z "${ZAPDATE_KEEP_DISPLAY:-}" ]]; then
    local n=90
    while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
  fi
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
  fi
  # A persistent server keeps every test program's start short; one may be running already.
  wineserver -p 2>/dev/null || true
  wineboot -i >/dev/null 2>&1 || true
  # Wait until the prefix answers, so the first test does not pay for Wine's set-up.
  wine reg query 'HKCU\Software' >/dev/null 2>&1 || true
  # No window manager runs on the virtual display: let Wine draw the window frames itself, so
  # screenshots show title bars as a user sees them.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  # Wine's first start also shows a desktop window; wait until the prefix is quiet.
  wineserver -w 2>/dev/null &
  WINESERVER_WAIT=$!
  sleep 1; kill "$WINESERVER_WAIT" 2>/dev/null || true
}

# wine_set_dpi <dots per inch>: the screen scaling that the programs started from now on see
# (96 is 100 %). Wine reads HKCU\Control Panel\Desktop LogPixels when a process starts; the
# server is restarted too, so that the desktop process and every later one agree on it.
wine_set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p 2>/dev/null || true
  wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels >/dev/null 2>&1 || true
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
