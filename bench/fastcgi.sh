#!/usr/bin/env bash
# The resident FastCGI engine through lighttpd, side by side with the CGI
# program, the minimal C CGI program and a static copy of the page, in one
# run (run.sh calls it unless FASTCGI=0; it also runs by itself):
#
#   bench/fastcgi.sh [BUILD]      (default build-perf; BUILD/vemlo3 must exist)
#
# 1. resident memory of the FastCGI worker after 1,000 and after 100,000
#    fact pages (PAGES, default 100000; the pages one after the other on one
#    connection), read from /proc while it waits;
# 2. requests per second of the fact page (customer 1001) through lighttpd:
#    FastCGI (mod_fastcgi starts the program, one process of two threads),
#    CGI (mod_cgi), the minimal C CGI program (mod_cgi) and the page as a
#    static file; with a PostgreSQL server (tests/pg/start_pg.sh, PG=0 skips
#    it) the same page on PostgreSQL through FastCGI and through CGI; ROUNDS
#    rounds (default 3) of DURATION seconds (default 4) taken in turns, CONNS
#    connections (default 4: two for each core keep the machine busy; with
#    one for each core a fifth of it sat idle in every row, waiting on the
#    hand-overs between wrk, lighttpd and the program);
# 3. the result lists of 100 and of 1,000 customers through FastCGI and
#    through CGI, one connection, milliseconds per page.
# Everything is written below BUILD/bench/fcgi; the results are added to
# BUILD/bench/results.txt.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
. "$here/common.sh"
build=$(realpath "${1:-$repo/build-perf}")
duration=${DURATION:-4}
rounds=${ROUNDS:-3}
conns=${CONNS:-4}
pages=${PAGES:-100000}
[ -x "$build/vemlo3" ] || { echo "fastcgi.sh: $build/vemlo3 is missing (cmake --build $build --target vemlo3)" >&2; exit 1; }
for c in cc sqlite3 lighttpd curl wrk; do command -v $c >/dev/null || { echo "fastcgi.sh: $c is missing" >&2; exit 1; }; done
export LC_ALL=C

work="$build/bench/fcgi"
# Everything of the last run goes but its request logs (site/cgilog, which
# make-site.sh keeps): the memory row alone leaves 100,000 of them. On ext4
# without a journal, files created in the minutes after many were deleted
# take several times as long (the inode allocator passes over every inode
# freed in the last one to six minutes), and the FastCGI row, which creates
# a log file per request, came out at a third of its rate. Remove
# BUILD/bench/fcgi when done measuring, not right before a run.
if [ -d "$work" ]; then
  find "$work" -mindepth 1 -maxdepth 1 ! -name site -exec rm -rf {} +
  [ ! -d "$work/site" ] || find "$work/site" -mindepth 1 -maxdepth 1 ! -name cgilog -exec rm -rf {} +
fi
mkdir -p "$work"
cc -O2 -Wall -o "$work/mincgi" "$here/mincgi.c"

port=$(free_port "${PORT:-19050}") || { echo "fastcgi.sh: no free port" >&2; exit 1; }

# PostgreSQL, when there is a server to start: the demo data loaded into a
# throw-away server of its own.
pg_dir=
cleanup_pg() { if [ -n "$pg_dir" ]; then "$repo/tests/pg/stop_pg.sh" "$pg_dir" >/dev/null 2>&1 || true; pg_dir=; fi; }
pg_line=
if [ "${PG:-1}" != 0 ] && command -v psql >/dev/null && pg_env=$("$repo/tests/pg/start_pg.sh" 2>/dev/null); then
  eval "$pg_env"
  pg_dir=$VEMLO_PG_DIR
  val() { tr ';' '\n' <<<"$VEMLO_PG_CONNINFO" | sed -n "s/^$1=//Ip" | head -n 1; }
  "$repo/db/load_pg.sh" -h "$(val host)" -p "$(val port)" -U "$(val user)" -d Tallbrun >/dev/null
  pg_line=$VEMLO_PG_CONNINFO
fi

# The site: /cgi-win/ as the demo has it (CGI, with the minimal program),
# and beside it program folders for FastCGI and for the other databases.
site="$work/site"
"$repo/site/make-site.sh" "$site" "$build/vemlo3" "$port" >/dev/null
www="$site/www"
cgi="$www/cgi-win"
cp "$work/mincgi" "$cgi/mincgi.exe"
cp "$site/data/vemlo.db" "$site/data/bench.db"
"$here/add-customers.sh" "$site/data/bench.db" 1000
folder() { # NAME CONNECTION-LINE
  mkdir -p "$www/$1"
  cp "$cgi/vemlo3.exe" "$cgi/vemlo3.conf" "$www/$1/"
  printf '%s\r\n' "$2" >"$www/$1/dbconnect.txt"
}
folder fcgi-win "Provider=SQLite;Data Source=../../data/vemlo.db"
folder fcgi-list "Provider=SQLite;Data Source=../../data/bench.db"
folder cgi-list "Provider=SQLite;Data Source=../../data/bench.db"
if [ -n "$pg_line" ]; then folder fcgi-pg "$pg_line"; folder cgi-pg "$pg_line"; fi
chmod -R a+rX "$www" "$site/data"

fcgi_entry() { # NAME
  cat <<ENTRY
  "/$1/vemlo3.exe" => ((
    "socket" => "$site/run/$1.sock", "bin-path" => "$www/$1/vemlo3.exe", "max-procs" => 1,
    "check-local" => "disable",
    "bin-environment" => ("CGI_LOG_DIR" => "$site/logs", "VEMLO3_FCGI_THREADS" => "2", "VEMLO3_FCGI_MAX_REQUESTS" => "0"),
  )),
ENTRY
}
{
  echo "include \"$site/lighttpd.conf\""
  echo 'server.modules += ("mod_fastcgi")'
  echo '$HTTP["url"] =~ "^/cgi-(list|pg)/" {'
  echo '  cgi.assign = (".exe" => "")'
  echo '}'
  echo 'fastcgi.server = ('
  fcgi_entry fcgi-win
  fcgi_entry fcgi-list
  [ -z "$pg_line" ] || fcgi_entry fcgi-pg
  echo ')'
} >"$work/lighttpd.conf"

pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=; fi
  cleanup_pg
}
trap cleanup EXIT
trap 'exit 1' INT TERM
lighttpd -D -f "$work/lighttpd.conf" &
pid=$!
u="http://127.0.0.1:$port"
for _ in $(seq 1 100); do curl -sf -o /dev/null "$u/" && break; sleep 0.1; done
fact="kundid=1001&sprak=s"

# The pages must be the pages: FastCGI's the same as CGI's (apart from the
# request's time and session value), lists of the expected length.
same() { grep -av 'DATETIME\|name="session"\|Sidan skapad\|^<!PATH=' ; }
check() { # URL-PATH QUERY -> the page, or the run stops
  local body
  body=$(curl -sf "$u/$1?$2") || { echo "fastcgi.sh: $1?$2 failed" >&2; exit 1; }
  grep -aq 'Fel i programmet' <<<"$body" && { echo "fastcgi.sh: $1?$2 is the error page" >&2; exit 1; }
  printf '%s' "$body"
}
cmp -s <(check cgi-win/vemlo3.exe "$fact" | same) <(check fcgi-win/vemlo3.exe "$fact" | same) ||
  { echo "fastcgi.sh: the FastCGI fact page differs from the CGI page" >&2; exit 1; }
for e in fcgi cgi; do
  n100=$(check "$e-list/vemlo3.exe" "ftagnamn=benchkund+a&mall=lista" | grep -ao '<a name=[0-9]*>' | wc -l)
  n1000=$(check "$e-list/vemlo3.exe" "ftagnamn=benchkund&mall=lista" | grep -ao '<a name=[0-9]*>' | wc -l)
  [ "$n100" = 100 ] && [ "$n1000" = 1000 ] || { echo "fastcgi.sh: the $e lists hold $n100 and $n1000 customers" >&2; exit 1; }
done
if [ -n "$pg_line" ]; then
  cmp -s <(check cgi-win/vemlo3.exe "$fact" | same) <(check fcgi-pg/vemlo3.exe "$fact" | same) ||
    { echo "fastcgi.sh: the fact page on PostgreSQL differs from the page on SQLite" >&2; exit 1; }
  check cgi-pg/vemlo3.exe "$fact" >/dev/null
fi
mkdir -p "$www/static"
check cgi-win/vemlo3.exe "$fact" >"$www/static/fakta.html"
curl -sf -o /dev/null "$u/static/fakta.html" || { echo "fastcgi.sh: no static copy" >&2; exit 1; }

# 1. Resident memory of the worker that serves /fcgi-win/.
worker=$(pgrep -f "^$www/fcgi-win/vemlo3.exe" | head -n 1)
[ -n "$worker" ] || { echo "fastcgi.sh: no FastCGI worker is running" >&2; exit 1; }
serve() { # N: the worker serves N more fact pages, one after the other on one connection
  local codes
  codes=$(curl -s -o /dev/null -w '%{http_code}\n' "$u/fcgi-win/vemlo3.exe?$fact&n=[1-$1]" | sort | uniq -c)
  [ "$(awk '{ print $2 }' <<<"$codes")" = 200 ] || { echo "fastcgi.sh: failed requests: $codes" >&2; exit 1; }
}
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$worker/status"; }
served=1  # the check above
serve $((1000 - served))
rss1=$(rss)
serve $((pages - 1000))
rss2=$(rss)
[ "$(pgrep -f "^$www/fcgi-win/vemlo3.exe" | head -n 1)" = "$worker" ] || { echo "fastcgi.sh: the worker was replaced" >&2; exit 1; }

# 2 and 3. Throughput, rounds taken in turns.
rate() { wrk_rate "$@"; }  # CONNECTIONS URL -> requests per second
rows="fcgi:fcgi-win/vemlo3.exe?$fact cgi:cgi-win/vemlo3.exe?$fact mincgi:cgi-win/mincgi.exe?$fact static:static/fakta.html"
[ -z "$pg_line" ] || rows="$rows fcgipg:fcgi-pg/vemlo3.exe?$fact cgipg:cgi-pg/vemlo3.exe?$fact"
lists="fl100:fcgi-list/vemlo3.exe?ftagnamn=benchkund+a&mall=lista fl1000:fcgi-list/vemlo3.exe?ftagnamn=benchkund&mall=lista"
lists="$lists cl100:cgi-list/vemlo3.exe?ftagnamn=benchkund+a&mall=lista cl1000:cgi-list/vemlo3.exe?ftagnamn=benchkund&mall=lista"
: >"$work/rates.txt"
for r in $(seq 1 "$rounds"); do
  for row in $rows; do echo "${row%%:*} $(rate "$conns" "$u/${row#*:}")" >>"$work/rates.txt"; done
  for row in $lists; do echo "${row%%:*} $(rate 1 "$u/${row#*:}")" >>"$work/rates.txt"; done
done
cleanup
m() { awk -v k="$1" '$1 == k { print $2 }' "$work/rates.txt" | median; }

res="$build/bench/results.txt"
{
  echo "FastCGI: $(date -u '+%Y-%m-%d %H:%M UTC'), nproc=$(nproc), load $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee -a "$res"
awk -v fcgi="$(m fcgi)" -v cgi="$(m cgi)" -v mincgi="$(m mincgi)" -v static="$(m static)" \
    -v fpg="$(m fcgipg)" -v cpg="$(m cgipg)" -v pg="${pg_line:+1}" \
    -v fl1="$(m fl100)" -v fl2="$(m fl1000)" -v cl1="$(m cl100)" -v cl2="$(m cl1000)" \
    -v rss1="$rss1" -v rss2="$rss2" -v pages="$pages" \
    -v dur="$duration" -v rounds="$rounds" -v conns="$conns" '
function ok(b) { return b ? "met" : "NOT met" }
BEGIN {
  printf "requests/s through lighttpd (median of %d rounds of %d s, %d connections):\n", rounds, dur, conns
  printf "  fact page, FastCGI            %9.1f\n", fcgi
  printf "  fact page, CGI                %9.1f\n", cgi
  printf "  minimal C CGI                 %9.1f\n", mincgi
  printf "  static copy of the fact page  %9.1f\n", static
  if (pg) {
    printf "  fact page, PostgreSQL, FastCGI %8.1f\n", fpg
    printf "  fact page, PostgreSQL, CGI    %9.1f\n", cpg
  }
  printf "lists through lighttpd, one connection (ms a page):\n"
  printf "  FastCGI: 100 customers %8.2f   1,000 customers %8.2f\n", 1000 / fl1, 1000 / fl2
  printf "  CGI:     100 customers %8.2f   1,000 customers %8.2f\n", 1000 / cl1, 1000 / cl2
  printf "FastCGI worker, resident: after 1,000 pages %d KiB, after %d pages %d KiB\n", rss1, pages, rss2
  print "targets:"
  printf "  FastCGI / minimal CGI            %6.2f  (>= 2, aim 3)   %s\n", fcgi / mincgi, ok(fcgi >= 2 * mincgi)
  printf "  (FastCGI / static copy           %6.3f: the ceiling)\n", fcgi / static
  if (pg) printf "  PostgreSQL / SQLite, FastCGI     %6.2f  (>= 0.5)        %s\n", fpg / fcgi, ok(fpg >= 0.5 * fcgi)
  printf "  FastCGI list 1000 / list 100     %6.2f  (<= 10.5)       %s\n", fl1 / fl2, ok(fl1 <= 10.5 * fl2)
  printf "  growth from 1,000 to %d pages %6.2f MiB  (<= 2 MiB)  %s\n", pages, (rss2 - rss1) / 1024, ok(rss2 - rss1 <= 2048)
  printf "  CGI fact page / minimal CGI      %6.2f  (>= 0.25)       %s\n", cgi / mincgi, ok(cgi >= 0.25 * mincgi)
  printf "  CGI list 1000 / list 100         %6.2f  (<= 10.5)       %s\n", cl1 / cl2, ok(cl1 <= 10.5 * cl2)
  if (pg) printf "  (PostgreSQL / SQLite, CGI        %6.2f)\n", cpg / cgi
}' | tee -a "$res"
