#!/usr/bin/env bash
# Two application hosts on loopback: two FastCGI programs listening on their
# own ports behind one lighttpd back end. Both serve; one is stopped (SIGTERM)
# while requests run; the other carries every later request, and no request
# fails beyond the few in flight at the stop.
#   fastcgi_two_hosts_test.sh PROGRAM SOURCE-DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export LC_ALL=C
prog=$(realpath "$1")
src=$(realpath "$2")
for c in lighttpd curl sqlite3; do command -v $c >/dev/null || { echo "$c missing: skipped"; exit 77; }; done
root=$(mktemp -d /tmp/vemlo3-twohosts.XXXXXX)
port=$(free_port 18800) || { echo "no free port"; exit 1; }
p1=$(free_port $((port + 1))) || exit 1
p2=$(free_port $((p1 + 1))) || exit 1
site=$root/site
"$src/site/make-site.sh" "$site" "$prog" "$port" >/dev/null
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$root"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; curl -s "$u" | head -c 300; tail -5 "$site/logs/lighttpd-error.log" 2>/dev/null || true; exit 1; }

host() { # PORT: one application host with a site copy of its own; its request
  # logs (../../cgilog/) tell which host served
  "$src/site/make-site.sh" "$root/host$1" "$prog" "$port" >/dev/null
  (cd / && CGI_LOG_DIR=$root/host$1/logs VEMLO3_FCGI_THREADS=2 exec "$root/host$1/www/cgi-win/vemlo3.exe" --fastcgi "127.0.0.1:$1") &
  pids+=($!)
  for _ in $(seq 1 100); do (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0; sleep 0.05; done
  fail "host on $1 not listening"
}
host "$p1"; h1=${pids[-1]}
host "$p2"
cat >"$root/front.conf" <<CONF
include "$site/lighttpd.conf"
server.modules += ("mod_fastcgi")
fastcgi.server = ("/cgi-win/vemlo3.exe" => (
  ("host" => "127.0.0.1", "port" => $p1, "check-local" => "disable", "disable-time" => 60),
  ("host" => "127.0.0.1", "port" => $p2, "check-local" => "disable", "disable-time" => 60)))
CONF
lighttpd -D -f "$root/front.conf" & pids+=($!)
for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
u="http://127.0.0.1:$port/cgi-win/vemlo3.exe?kundid=1001"
ok() { [ "$(curl -s -m 20 "$u" | grep -c 'flikkonf1001')" -gt 0 ]; }

served() { { grep -rl 'kundid=1001' "$root/host$1/cgilog" || true; } | wc -l; }
# Both hosts serve: lighttpd gives a request to the host with the fewest in
# flight, so concurrent clients reach both.
for c in 1 2 3 4; do
  ( f=0; for _ in $(seq 1 10); do ok || f=$((f + 1)); done; echo "$f" >"$root/both$c" ) &
done
wait_files() { local f; for f in "$@"; do while [ ! -s "$f" ]; do sleep 0.1; done; done; }
wait_files "$root"/both{1,2,3,4}
[ "$(awk '{s += $1} END {print s}' "$root"/both?)" = 0 ] || fail "requests failed with both hosts up"
n1=$(served "$p1"); n2=$(served "$p2")
[ "$n1" -gt 0 ] && [ "$n2" -gt 0 ] || fail "one host served nothing ($n1, $n2)"

# Requests from four clients; the first host stopped among them.
for c in 1 2 3 4; do
  ( f=0; for _ in $(seq 1 150); do ok || f=$((f + 1)); done; echo "$f" >"$root/failed$c" ) &
done
sleep 0.3
kill -TERM "$h1"
wait "$h1" || fail "the stopped host did not exit 0"
wait_files "$root"/failed{1,2,3,4}
failed=$(awk '{s += $1} END {print s}' "$root"/failed?)
[ "$failed" -le 4 ] || fail "$failed requests failed, more than were in flight"
before=$(served "$p2")
for _ in $(seq 1 40); do ok || fail "a request failed after the stop"; done
after=$(served "$p2")
[ $((after - before)) -eq 40 ] || fail "the remaining host served $((after - before)) of 40"
echo "two hosts: both served ($n1, $n2); after the stop $failed failed in flight, the other host carried the rest"
