#!/usr/bin/env bash
# PostgreSQL stopped while the site is busy. A throw-away server of the
# test's own holds the demo data; the program runs as a web server runs it,
# several requests at a time, and the server is stopped at once
# (pg_ctl stop -m immediate) while some requests wait on it in the middle of
# their work. Every response must be a complete page or the complete error
# page, no program may hang (each request is bounded), crash or report to a
# sanitizer, and the log of every failed request ends without its [STATUS].
# With the server down, a request ends in the error page at once; with the
# server started again, the pages come back.
#   pg_stopped_test.sh PROGRAM SOURCE-DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export LC_ALL=C
prog=$(realpath "${VEMLO_TEST_PROGRAM:-$1}")
src=$(realpath "$2")
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] && [ -x "$bin/initdb" ] && [ -x "$bin/pg_ctl" ] || { echo "PostgreSQL server programs missing: skipped"; exit 77; }
for c in psql sqlite3 perl timeout; do command -v $c >/dev/null || { echo "$c missing: skipped"; exit 77; }; done

# Below the ports that outgoing connections take (see tests/pg/start_pg.sh).
port=$(free_port 25500) || { echo "no free port"; exit 1; }
pgdir=
root=$(mktemp -d /tmp/vemlo3-pgstop.XXXXXX)
workers=()
cleanup() {
  for p in "${workers[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [ -n "$pgdir" ] && "$src/tests/pg/stop_pg.sh" "$pgdir" >/dev/null 2>&1 || true
  rm -rf "$root"
}
trap cleanup EXIT
eval "$(VEMLO_PG_PORT=$port "$src/tests/pg/start_pg.sh" | sed -n 's/^export VEMLO_PG_DIR=/pgdir=/p')"
[ -n "$pgdir" ] || { echo "FAIL: the server did not start"; exit 1; }
pg_ctl() { if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$bin/pg_ctl" "$@"; else "$bin/pg_ctl" "$@"; fi; }
conn=(-h 127.0.0.1 -p "$port" -U postgres -d Tallbrun)
"$src/db/load_pg.sh" "${conn[@]}" >/dev/null
VEMLO_DBCONNECT="Provider=PostgreSQL;host=127.0.0.1;port=$port;dbname=Tallbrun;user=postgres" \
  "$src/site/make-site.sh" "$root/site" "$prog" >/dev/null
site=$root/site
w=$root/work
mkdir -p "$w"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); [ "$failures" -lt 20 ] || exit 1; }

# req ID QUERY: one request, as a web server makes it, bounded to 30 s; the
# request's number goes in "Vad" (logged, selects nothing here).
req() {
  local id=$1 rc=0
  (cd "$site/www/cgi-win" &&
     timeout -k 5 30 env -i PATH=/usr/bin:/bin ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} SERVER_SOFTWARE=test \
       GATEWAY_INTERFACE=CGI/1.1 REQUEST_METHOD=GET QUERY_STRING="vad=N$id&$2" REMOTE_ADDR=127.0.0.1 \
       SCRIPT_NAME=/cgi-win/vemlo3.exe CGI_LOG_DIR="$site/logs" ./vemlo3.exe) >"$w/$id.out" 2>"$w/$id.err" || rc=$?
  echo $rc >"$w/$id.rc"
}
queries=("vad=K&omrade=01&omrade=03&omrade=23&mall=lista" "kundid=1001&visakontaktinfo=j" "funktion=tips&mall=tips"
         "kommun=2062&kommun=2080&mall=lista" "kundid=1019&sprak=e")

# verdict ID: "page", "error" or what is wrong with the response.
verdict() {
  local id=$1 rc
  rc=$(cat "$w/$id.rc" 2>/dev/null || echo none)
  if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then echo "hung (ended by the time-out)"; return; fi
  [ "$rc" = 0 ] || { echo "exit status $rc"; return; }
  grep -aqE 'AddressSanitizer|LeakSanitizer|runtime error' "$w/$id.err" && { echo "sanitizer: $(head -c 300 "$w/$id.err")"; return; }
  # A complete response: the status line, the page's end, and as many bytes
  # of body as its length says when it tells one (the error page does).
  perl -0777 -ne '
    my ($h, $b) = split /\r\n\r\n/, $_, 2;
    if (!defined $b || $h !~ m{^HTTP/1\.1 200 OK\r\n}) { print "no complete header block\n"; exit }
    my ($len) = $h =~ /^content-length: *(\d+)/mi;
    if (defined $len && $len != length $b) { printf "body of %d bytes, length %d\n", length $b, $len; exit }
    if ($b !~ m{</html>\s*$}i) { print "page not ended\n"; exit }
    print $b =~ /<h2>Fel i programmet<\/h2>/ ? "error\n" : "page\n";' "$w/$id.out"
}

# The log of every request by its number.
declare -A logof
index_logs() {
  local f v
  logof=()
  while IFS= read -r line; do
    f=${line%%:query_string=vad=N*}; v=${line##*:query_string=vad=N}; v=${v%%&*}
    [ -n "${logof[$v]:-}" ] && fail "request $v has two logs"
    logof[$v]=$f
  done < <(grep -rH '^query_string=vad=N' "$site/cgilog" || true)
}

# check IDS... WANT: each response is what WANT allows ("page", "error" or
# "either"); a page's log has its [STATUS], an error page's log has none.
pages=0 errors=0
check() {
  local want=${!#} id v log
  index_logs
  for id in "${@:1:$#-1}"; do
    v=$(verdict "$id")
    case "$v" in
      page) pages=$((pages + 1)) ;;
      error) errors=$((errors + 1)) ;;
      *) fail "request $id: $v"; continue ;;
    esac
    [ "$want" = either ] || [ "$want" = "$v" ] || fail "request $id: $v where $want was due: $(grep -a -A3 'Fel i programmet' "$w/$id.out" | tail -2)"
    log=${logof[$id]:-}
    [ -n "$log" ] || { fail "request $id: no log"; continue; }
    if [ "$v" = page ]; then
      grep -q '^\[STATUS\]' "$log" || fail "request $id: page, but its log lacks [STATUS]"
    else
      grep -q '^\[STATUS\]' "$log" && fail "request $id: error page, but its log has [STATUS]"
    fi
  done
  return 0
}

# 1. The server up: pages.
n=0
for q in "${queries[@]}"; do n=$((n + 1)); req "$n" "$q"; done
check $(seq 1 $n) page

# 2. Three clients ask in turn, without pause. After a while a session locks
# the customer table, so that the requests in progress wait on the server in
# the middle of their work; then the server is stopped at once.
worker() {
  local k=$1 i=0
  while [ ! -e "$w/stop" ]; do
    i=$((i + 1))
    req "w$k-$i" "${queries[$(((k + i) % ${#queries[@]}))]}"
  done
}
for k in 1 2 3; do worker "$k" & workers+=($!); done
sleep 2
psql -X -q "${conn[@]}" -c 'BEGIN; LOCK TABLE dbo."Kund" IN ACCESS EXCLUSIVE MODE; SELECT pg_sleep(120);' \
  >/dev/null 2>&1 &
waiting=0
for _ in $(seq 1 100); do
  waiting=$(psql -X -At "${conn[@]}" -c "SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock'" 2>/dev/null || echo 0)
  [ "$waiting" -ge 2 ] && break
  sleep 0.1
done
[ "$waiting" -ge 1 ] || fail "no request was waiting on the server when it was stopped"
touch "$w/stopping"
pg_ctl -D "$pgdir/data" -m immediate -w stop >/dev/null
sleep 2
touch "$w/stop"
for p in "${workers[@]}"; do wait "$p" || true; done
workers=()
wait || true   # the locking session, ended by the stop
ids=$(cd "$w" && ls | sed -n 's/^\(w[0-9]*-[0-9]*\)\.rc$/\1/p')
before=$pages
check $ids either
# While the server was up, nothing failed.
for f in $(cd "$w" && find . -name 'w*.rc' ! -newer stopping); do
  id=${f#./}; id=${id%.rc}
  [ "$(verdict "$id")" = page ] || fail "request $id ended before the stop, but not in a page"
done
[ "$pages" -gt "$before" ] || fail "no page was served by the clients before the stop"
[ "$errors" -ge "$waiting" ] || fail "$errors error pages, $waiting requests were waiting when the server stopped"
echo "clients: $(echo $ids | wc -w) requests, $((pages - before)) pages, $errors error pages; $waiting waited on the server when it stopped"

# 3. The server down: the error page, at once.
start=$(date +%s%N)
req down "${queries[0]}"
took=$((($(date +%s%N) - start) / 1000000))
check down error
[ "$took" -lt 10000 ] || fail "the error page took $took ms with the server down"

# 4. The server started again: pages again.
pg_ctl -D "$pgdir/data" -l "$pgdir/server.log" -w -t 60 \
  -o "-p $port -k $pgdir -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
n=0
for q in "${queries[@]}"; do n=$((n + 1)); req "again$n" "$q"; done
check $(seq -f 'again%g' 1 $n) page

find "$site" -name 'core*' -type f | grep . && fail "core files"
grep -aE 'AddressSanitizer|runtime error|LeakSanitizer' "$site/logs/"*.log 2>/dev/null && fail "sanitizer report in the engine log"
echo "PostgreSQL stopped mid-run: $pages pages, $errors error pages, none hung or broken"
[ "$failures" = 0 ] || exit 1
