#!/usr/bin/env bash
# A bounded load on loopback: N requests (default 2000), C at a time
# (default 20), through lighttpd to the demo site. Every response must be a
# complete page, and every request must have exactly one complete request log
# of its own: each request carries a number that its log records, and every
# number is found in exactly one log.
#   load_test.sh PROGRAM SOURCE-DIR [N] [C]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export LC_ALL=C
prog=$(realpath "$1")
src=$(realpath "$2")
n=${3:-${VEMLO_LOAD_REQUESTS:-2000}}
c=${4:-20}
for t in lighttpd curl sqlite3 xargs; do command -v $t >/dev/null || { echo "$t missing: skipped"; exit 77; }; done
root=$(mktemp -d /tmp/vemlo3-load.XXXXXX)
port=$(free_port 18800) || { echo "no free port"; exit 1; }
"$src/site/make-site.sh" "$root/site" "$prog" "$port" >/dev/null
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$root"; }
trap cleanup EXIT
# The server may start as many programs as there are clients.
sed -i '/^server.modules/a server.max-connections = 256' "$root/site/lighttpd.conf"
lighttpd -D -f "$root/site/lighttpd.conf" &
pid=$!
for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
url="http://127.0.0.1:$port/cgi-win/vemlo3.exe"
mkdir -p "$root/out"
fail() { echo "FAIL: $*"; exit 1; }

# Fact pages, result lists and tips pages in turn; the number goes in "Vad"
# (logged, selects nothing here).
one() {
  local i=$1 q
  case $((i % 3)) in
    0) q="kundid=1001&sprak=e" ;;
    1) q="omrade=SS&mall=lista" ;;
    2) q="funktion=tips&mall=tips" ;;
  esac
  if ! curl -s --max-time 60 -o "$root/out/$i" -w '%{http_code}\n' "$url?vad=N$i&$q" >"$root/out/$i.code"; then
    echo "$i: no answer"
  fi
}
export -f one
export root url
start=$(date +%s)
seq 1 "$n" | xargs -P "$c" -I{} bash -c 'one {}' >"$root/errors"
took=$(($(date +%s) - start))
kill "$pid"; wait "$pid" 2>/dev/null || true; pid=

[ -s "$root/errors" ] && fail "$(wc -l <"$root/errors") requests not answered: $(head -3 "$root/errors")"
bad=0
for i in $(seq 1 "$n"); do
  if [ "$(cat "$root/out/$i.code")" != 200 ] || ! grep -qi '</html>' "$root/out/$i" ||
     grep -q 'Fel i programmet' "$root/out/$i"; then
    bad=$((bad + 1)); [ $bad -le 3 ] && echo "request $i: $(cat "$root/out/$i.code") $(head -c 300 "$root/out/$i")"
  fi
done
[ $bad = 0 ] || fail "$bad failed responses"

# One complete log per request, none shared.
logs=$(find "$root/site/cgilog" -name '*.log')
count=$(echo "$logs" | wc -l)
[ "$count" = "$n" ] || fail "$count request logs for $n requests"
echo "$logs" | xargs grep -c '^\[ID\]' | awk -F: '$2 != 1 {print; bad = 1} END {exit bad}' ||
  fail "a log with more or fewer than one request"
echo "$logs" | xargs grep -L '^\[STATUS\]' | head -3 | grep . && fail "logs without their status"
echo "$logs" | xargs grep -h '^vad=N' | sort | uniq -d | head -3 | grep . && fail "one request in two logs"
[ "$(echo "$logs" | xargs grep -h '^vad=N' | sort -u | wc -l)" = "$n" ] || fail "requests missing from the logs"
echo "load: $n requests, $c at a time, in $took s; every response complete, one log per request"
