#!/usr/bin/env bash
# Screenshots of the gallery under the test scripts' virtual display: all samples enabled, the
# disabled sample, and a hovered link. Writes build/screenshots/gallery-*.png.
# Usage: tools/gallery/take_screenshots.sh [build folder, default build/win64]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
cd "$root"
build=${1:-build/win64}
out="$root/build/screenshots"
mkdir -p "$out"

wine_session_start "$root/build/wineprefix"
trap wine_session_stop EXIT

wine "$build/gallery.exe" &
gallery_pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Velk Rich-Text Gallery$' 2>/dev/null | head -1) && [[ -n $window ]] && break
  sleep 0.2
done
[[ -n $window ]] || { echo "the gallery did not open" >&2; exit 1; }
sleep 1.5

# The window's place on the screen, for cropping and for pointing at its controls.
eval "$(xdotool getwindowgeometry --shell "$window")"
shot() {
  sleep 0.8
  import -window root "$out/full.png"
  convert "$out/full.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/gallery-$1.png"
  rm -f "$out/full.png"
  echo "$out/gallery-$1.png"
}

# Away from every link first.
xdotool mousemove $((X + WIDTH - 5)) $((Y + HEIGHT - 5))
shot disabled
# The check box "Enable this sample" enables the last sample.
xdotool key --window "$window" alt+e
shot enabled
# The pointer on the first link of the links sample (its text starts with that link).
xdotool mousemove $((X + ${LINK_X:-450})) $((Y + ${LINK_Y:-274}))
shot hover
# A link that wraps: both of its pieces are highlighted.
xdotool mousemove $((X + ${WRAPPED_LINK_X:-700})) $((Y + ${WRAPPED_LINK_Y:-312}))
shot hover-wrapped
xdotool mousemove $((X + WIDTH - 5)) $((Y + HEIGHT - 5))
kill "$gallery_pid" 2>/dev/null || true
