#!/usr/bin/env bash
# The demo site through FastCGI under each web server that make-site.sh
# configures (lighttpd starting the program, Apache mod_proxy_fcgi and nginx
# passing to a program listening on a loopback port): fact page, list, tips,
# a POST, a bad call and the error page must be the bytes that the same site
# gives through CGI, apart from time stamps and the request id. A server that
# is not installed is left out; none at all skips the test.
#   fastcgi_servers_test.sh PROGRAM SOURCE-DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export LC_ALL=C
prog=$(realpath "$1")
src=$(realpath "$2")
for c in lighttpd curl sqlite3; do command -v $c >/dev/null || { echo "$c missing: skipped"; exit 77; }; done
apache=$(command -v apache2 || ls /usr/sbin/apache2 2>/dev/null || true)
[ -e /usr/lib/apache2/modules/mod_proxy_fcgi.so ] || apache=
nginx=$(command -v nginx || ls /usr/sbin/nginx 2>/dev/null || true)

# Apache and nginx workers run as other users when started by root: /tmp, 755.
root=$(mktemp -d /tmp/vemlo3-fcgisrv.XXXXXX)
chmod 755 "$root"
port=$(free_port 18700) || { echo "no free port"; exit 1; }
fport=$(free_port $((port + 1))) || { echo "no free port"; exit 1; }
site=$root/site
VEMLO_FCGI_PORT=$fport "$src/site/make-site.sh" "$site" "$prog" "$port" >/dev/null
pids=()
stop_all() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  pids=()
  if [ -f "$site/apache2.pid" ]; then
    "$apache" -f "$site/apache2-fastcgi.conf" -k stop >/dev/null 2>&1 || true
    for _ in $(seq 1 50); do [ -f "$site/apache2.pid" ] || break; sleep 0.1; done
  fi
  for _ in $(seq 1 50); do (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break; sleep 0.1; done
}
cleanup() { stop_all; rm -rf "$root"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; tail -5 "$site"/logs/*error.log 2>/dev/null || true; exit 1; }
up() { for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$1/" && return 0; sleep 0.1; done; fail "server on $1 not up"; }

u="http://127.0.0.1:$port/cgi-win/vemlo3.exe"
# NAME|QUERY|POST-BODY (a body makes it a POST).
pages=(
  "fakta|kundid=1001|"
  "fakta-e|kundid=1001&sprak=e&visakontaktinfo=j|"
  "lista|vad=K&omrade=01&omrade=03&omrade=12&omrade=14&omrade=23&mall=lista|"
  "tips|funktion=tips&mall=tips&sprak=d|"
  "post||kundid=1002&sprak=e"
  "felanrop||"
  "felsida|kundid=1001&mall=finnsinte|"
)
masked() { sed -E -e 's/[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}/<time>/g' \
                  -e 's/[0-9]{2}:[0-9]{2}:[0-9]{2}/<time>/g' -e 's/127\.0\.0\.1-1[0-9]{4}/<id>/g' "$1"; }
fetch_all() { # DIR: every page, masked, into DIR
  mkdir -p "$1"
  local e name q body
  for e in "${pages[@]}"; do
    IFS='|' read -r name q body <<<"$e"
    if [ -n "$body" ]; then curl -s -o "$1/raw" --data-binary "$body" -H 'Content-Type: application/x-www-form-urlencoded' "$u${q:+?$q}" || fail "$name not answered"
    else curl -s -o "$1/raw" "$u${q:+?$q}" || fail "$name not answered"; fi
    masked "$1/raw" >"$1/$name"
  done
  rm "$1/raw"
}
# The server's own response headers and its body limit, which every
# shipped configuration sets.
limits() { # SERVER
  local h code
  h=$(curl -s -D - -o /dev/null "$u?kundid=1001")
  grep -qi '^X-Content-Type-Options: nosniff' <<<"$h" || fail "$1: no X-Content-Type-Options"
  grep -qi '^X-Frame-Options: SAMEORIGIN' <<<"$h" || fail "$1: no X-Frame-Options"
  head -c 300000 /dev/zero | tr '\0' 'K' | sed 's/^/vad=/' >"$root/big"
  code=$(curl -s -o /dev/null -w '%{http_code}' --data-binary @"$root/big" "$u")
  [ "$code" = 413 ] || fail "$1: a 300 KB body got $code, not 413"
}
compare() { # SERVER
  local e name
  for e in "${pages[@]}"; do
    name=${e%%|*}
    cmp -s "$root/cgi/$name" "$root/$1/$name" ||
      fail "$1: $name differs from the CGI page: $(diff "$root/cgi/$name" "$root/$1/$name" | head -6)"
  done
  echo "$1: ${#pages[@]} pages as through CGI"
}
listen_program() { # the program listening itself, as Apache and nginx need it
  (cd / && CGI_LOG_DIR=$site/logs VEMLO3_FCGI_THREADS=2 exec "$site/www/cgi-win/vemlo3.exe" --fastcgi "127.0.0.1:$fport") &
  pids+=($!)
  for _ in $(seq 1 100); do (exec 3<>"/dev/tcp/127.0.0.1/$fport") 2>/dev/null && return 0; sleep 0.05; done
  fail "program not listening on $fport"
}

# The reference: the same site through CGI.
lighttpd -D -f "$site/lighttpd.conf" & pids+=($!)
up "$port"
fetch_all "$root/cgi"
grep -q '<h1 title="Sj.viks Herrg.rd">' "$root/cgi/fakta" || fail "CGI fact page"
grep -q '<h1>Felaktigt anrop</h1>' "$root/cgi/felanrop" || fail "CGI bad call"
grep -q 'Fel i programmet' "$root/cgi/felsida" || fail "CGI error page"
grep -q '<a name=1002>' "$root/cgi/post" || fail "CGI POST page"
stop_all

served=0
lighttpd -D -f "$site/lighttpd-fastcgi.conf" & pids+=($!)
up "$port"
fetch_all "$root/lighttpd"
limits lighttpd
ls "$site"/run/vemlo3.sock* >/dev/null 2>&1 || fail "lighttpd started no FastCGI worker"
stop_all
compare lighttpd
served=$((served + 1))

if [ -n "$apache" ]; then
  listen_program
  APACHE_RUN_DIR=$root "$apache" -f "$site/apache2-fastcgi.conf" -k start
  up "$port"
  fetch_all "$root/apache"
  limits apache
  stop_all
  compare apache
  served=$((served + 1))
else echo "apache2 or mod_proxy_fcgi missing: left out"; fi

if [ -n "$nginx" ]; then
  listen_program
  "$nginx" -p "$site/nginx" -c "$site/nginx-fastcgi.conf" 2>>"$site/logs/nginx-error.log" & pids+=($!)
  up "$port"
  fetch_all "$root/nginx"
  limits nginx
  stop_all
  compare nginx
  served=$((served + 1))
else echo "nginx missing: left out"; fi
echo "FastCGI: the pages of $served servers are the CGI pages"
