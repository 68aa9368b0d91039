#!/usr/bin/env bash
# Starts or stops a private nginx on a loopback port for the network tests.
#   nginx_fixture.sh start <state folder>   writes <state folder>/server.txt ("port=",
#                                           "secure_port=", "root=", "site_port=",
#                                           "site_root=", "site_log=")
#   nginx_fixture.sh stop <state folder>
# The configuration, logs, temporary files and the document root all live in the state folder.
# The site port serves a second root that starts empty: the update tests write their own update
# site there, and its own access log tells them which requests reached the server.
#   ZAPDATE_NGINX_LIMIT_RATE (such as "800k") limits each reply's rate on the plain-http port.
set -euo pipefail

action=${1:?start or stop}
state=${2:?state folder}
nginx_bin=${NGINX:-/usr/sbin/nginx}

stop_server() {
  if [[ -f "$state/nginx.pid" ]]; then
    local pid
    pid=$(cat "$state/nginx.pid")
    if kill "$pid" 2>/dev/null; then
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$state/nginx.pid"
  fi
}

write_document_root() {
  local www=$state/www
  rm -rf "$www" "$state/site" "$state/site-access.log"
  mkdir -p "$www/packages" "$www/downloads" "$www/folder" "$state/site"
  # A package of random bytes, not a multiple of the transfer's chunk size.
  head -c 307219 /dev/urandom >"$www/packages/kovra_setup.exe"
  printf '[global]\r\nversion=1\r\nurl=http://127.0.0.1/\r\n\r\n[Kovra:1:6]\r\nname=Kovra\r\nversion=7.2\r\nbuild=10042\r\n' \
    >"$www/downloads/update.ini"
  printf '<html><body>folder index</body></html>\n' >"$www/folder/index.html"
}

# A self-signed certificate: no authority vouches for it, as with a test server.
write_certificate() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" \
    -keyout "$state/server.key" -out "$state/server.crt" >/dev/null 2>&1
}

write_config() {
  local port=$1 secure_port=$2 site_port=$3
  mkdir -p "$state/tmp"
  cat >"$state/nginx.conf" <<CONF
daemon on;
master_process off;
pid $state/nginx.pid;
error_log $state/error.log warn;
events { worker_connections 64; }
http {
  access_log $state/access.log;
  client_body_temp_path $state/tmp/body;
  proxy_temp_path $state/tmp/proxy;
  fastcgi_temp_path $state/tmp/fastcgi;
  uwsgi_temp_path $state/tmp/uwsgi;
  scgi_temp_path $state/tmp/scgi;
  types {
    application/octet-stream exe bin;
    text/plain ini;
    text/html html;
  }
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$port;
    root $state/www;
    ${ZAPDATE_NGINX_LIMIT_RATE:+limit_rate $ZAPDATE_NGINX_LIMIT_RATE;}
  }
  server {
    listen 127.0.0.1:$secure_port ssl;
    ssl_certificate $state/server.crt;
    ssl_certificate_key $state/server.key;
    root $state/www;
  }
  server {
    listen 127.0.0.1:$site_port;
    root $state/site;
    access_log $state/site-access.log;
    # Packages named slow_* arrive at a steady trickle, so that a page shows its times.
    location /dl/slow_ { limit_rate 300k; }
  }
}
CONF
}

start_server() {
  stop_server
  mkdir -p "$state"
  rm -f "$state/server.txt"
  write_document_root
  write_certificate
  local port secure_port
  for _ in $(seq 20); do
    port=$((20000 + RANDOM % 40000))
    secure_port=$((port + 1))
    site_port=$((port + 2))
    write_config "$port" "$secure_port" "$site_port"
    if "$nginx_bin" -p "$state" -c "$state/nginx.conf" -e "$state/error.log" 2>>"$state/start.log"; then
      printf 'port=%s\nsecure_port=%s\nroot=%s\nsite_port=%s\nsite_root=%s\nsite_log=%s\n' \
        "$port" "$secure_port" "$state/www" "$site_port" "$state/site" "$state/site-access.log" \
        >"$state/server.txt"
      echo "nginx listens on 127.0.0.1:$port (https: $secure_port)"
      return 0
    fi
  done
  echo "nginx could not be started; see $state/start.log" >&2
  return 1
}

case "$action" in
  start) start_server ;;
  stop) stop_server ;;
  *) echo "unknown action $action" >&2; exit 2 ;;
esac
