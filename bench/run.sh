#!/usr/bin/env bash
# Measures the gateway side by side with a minimal C CGI program, in one run:
#
#   bench/run.sh [BUILD]        (default build-perf; BUILD/vemlo3 must exist)
#
# 1. fact page of the demo's richest customer (1001), started as a web server
#    starts a CGI program (CGI environment, cwd = the site's cgi-win), against
#    the minimal CGI program (bench/mincgi.c); medians over RUNS runs taken in
#    turns;
# 2. result list (demo template "lista") of 100 and of 1,000 customers, from a
#    copy of the demo database with 1,000 added customers;
# 3. throughput through lighttpd on loopback (wrk, or curl when wrk is
#    missing), fact page against the minimal program, DURATION seconds each,
#    ROUNDS rounds in turns;
# 4. peak memory (max RSS from wait4) of one fact-page request;
# 5. beside the fact page, its statements alone (bench/sqlfloor.cpp): the
#    distinct statements that the page's Debug echo shows, run through the
#    program's data layer by a fresh process, which is the least a page that
#    runs them can cost;
# 6. the resident server modes (bench/resident.sh, its own site and settings,
#    see there), unless RESIDENT=0;
# 7. the FastCGI engine through lighttpd beside CGI, the minimal program and
#    a static copy (bench/fastcgi.sh, see there), unless FASTCGI=0.
#
# Settings: RUNS (default 31), LISTRUNS (default 11), DURATION (default 4),
# ROUNDS (default 3), CONNS (wrk connections, default 2), PORT (first port to
# try, default 18900). Everything is written below BUILD/bench; the results
# also go to BUILD/bench/results.txt.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
. "$here/common.sh"
build=$(realpath "${1:-$repo/build-perf}")
runs=${RUNS:-31}
listruns=${LISTRUNS:-11}
duration=${DURATION:-4}
rounds=${ROUNDS:-3}
conns=${CONNS:-2}
[ -x "$build/vemlo3" ] || { echo "run.sh: $build/vemlo3 is missing (cmake --build $build --target vemlo3)" >&2; exit 1; }
[ -x "$build/sqlfloor" ] || cmake --build "$build" --target sqlfloor >/dev/null ||
  { echo "run.sh: $build/sqlfloor is missing (cmake --build $build --target sqlfloor)" >&2; exit 1; }
for c in cc sqlite3 lighttpd curl; do command -v $c >/dev/null || { echo "run.sh: $c is missing" >&2; exit 1; }; done
export LC_ALL=C

work="$build/bench"
mkdir -p "$work"
cc -O2 -Wall -pthread -o "$work/benchrun" "$here/benchrun.c"
cc -O2 -Wall -o "$work/mincgi" "$here/mincgi.c"

port=$(free_port "${PORT:-18900}") || { echo "run.sh: no free port" >&2; exit 1; }

# The site, the minimal program beside the gateway, and a second program
# folder whose connection line names the database with 1,000 more customers.
site="$work/site"
"$repo/site/make-site.sh" "$site" "$build/vemlo3" "$port" >/dev/null
cgi="$site/www/cgi-win"
cp "$work/mincgi" "$cgi/mincgi.exe"
cp "$build/sqlfloor" "$cgi/sqlfloor.exe"
cp "$site/data/vemlo.db" "$site/data/bench.db"
"$here/add-customers.sh" "$site/data/bench.db" 1000
lst="$site/www/cgi-list"
mkdir -p "$lst"
cp "$cgi/vemlo3.exe" "$cgi/vemlo3.conf" "$lst/"
printf '%s\r\n' "Provider=SQLite;Data Source=../../data/bench.db" >"$lst/dbconnect.txt"
chmod -R a+rX "$site/www" "$site/data"

out="$work/out"
mkdir -p "$out"
res="$work/results.txt"
fact="kundid=1001&sprak=s"
{
  echo "date:    $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "machine: nproc=$(nproc), $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "program: $build/vemlo3 (built $(date -u -r "$build/vemlo3" '+%Y-%m-%d %H:%M UTC'); source tree at $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo '?'))"
} | tee "$res"

# 5. The fact page's statements, from its Debug echo (each statement between
# a line that ends in "<!--" and one that starts with "-->"), each distinct
# text once, as a page without Debug runs them.
"$work/benchrun" -n 1 -o "$out" debug "$cgi" "$cgi/vemlo3.exe" "$fact&debug=j" >/dev/null
awk 'BEGIN { RS = "\r?\n" }
  /<!--$/ { inside = 1; text = ""; next }
  inside && /^-->/ { inside = 0; if (text ~ /^SELECT/ && !(text in seen)) { seen[text] = 1; printf "%s/\r\n", text } next }
  inside { text = text $0 "\r\n" }' "$out/debug.out" >"$cgi/statements.sql"
nstat=$(grep -c '^/' "$cgi/statements.sql" || true)
[ "$nstat" -gt 0 ] || { echo "run.sh: no statements in the Debug echo of the fact page" >&2; exit 1; }

# 1 and 4. Fact page against the minimal program (and its statements alone).
"$work/benchrun" -n "$runs" -o "$out" fact "$cgi" "$cgi/vemlo3.exe" "$fact" \
  statements "$cgi" "$cgi/sqlfloor.exe" "" \
  mincgi "$cgi" "$cgi/mincgi.exe" "$fact" >"$work/fact.txt"
grep -aq 'Fel i programmet' "$out/fact.out" && { echo "run.sh: the fact page is the error page" >&2; exit 1; }
grep -aq "^$nstat statements" "$out/statements.out" || { echo "run.sh: the statements failed: $(cat "$out/statements.out")" >&2; exit 1; }
read -r _ f_med f_min f_max f_rss f_bytes < <(grep '^fact ' "$work/fact.txt")
read -r _ s_med s_min s_max _ _ < <(grep '^statements ' "$work/fact.txt")
read -r _ m_med m_min m_max m_rss m_bytes < <(grep '^mincgi ' "$work/fact.txt")

# 2. Result lists of 100 and 1,000 customers.
"$work/benchrun" -n "$listruns" -w 1 -o "$out" list100 "$lst" "$lst/vemlo3.exe" "ftagnamn=benchkund+a&mall=lista" \
  list1000 "$lst" "$lst/vemlo3.exe" "ftagnamn=benchkund&mall=lista" >"$work/list.txt"
n100=$(grep -ao '<a name=[0-9]*>' "$out/list100.out" | wc -l)
n1000=$(grep -ao '<a name=[0-9]*>' "$out/list1000.out" | wc -l)
[ "$n100" = 100 ] && [ "$n1000" = 1000 ] || { echo "run.sh: the lists hold $n100 and $n1000 customers" >&2; exit 1; }
read -r _ l1_med _ _ l1_rss l1_bytes < <(grep '^list100 ' "$work/list.txt")
read -r _ l2_med _ _ l2_rss l2_bytes < <(grep '^list1000 ' "$work/list.txt")

# 3. Throughput through lighttpd.
pid=
cleanup() { if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi; }
trap cleanup EXIT
lighttpd -D -f "$site/lighttpd.conf" &
pid=$!
u="http://127.0.0.1:$port/cgi-win"
for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
curl -sf "$u/vemlo3.exe?$fact" | grep -aq 'Fel i programmet' && { echo "run.sh: error page under lighttpd" >&2; exit 1; }
rate() { # URL -> requests per second over DURATION seconds
  if command -v wrk >/dev/null; then
    wrk_rate "$conns" "$1"
  else # a bounded client of our own: sequential curl for DURATION seconds, at most 10,000 requests
    local n=0 t0 t1
    t0=$(date +%s.%N)
    t1=$(awk -v a="$t0" -v d="$duration" 'BEGIN { printf "%.3f", a + d }')
    while [ $n -lt 10000 ] && awk -v a="$(date +%s.%N)" -v b="$t1" 'BEGIN { exit !(a < b) }'; do
      curl -sf -o /dev/null "$1"; n=$((n + 1))
    done
    awk -v n="$n" -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", n / (b - a) }'
  fi
}
: >"$work/rates.txt"
for r in $(seq 1 "$rounds"); do
  echo "fact $(rate "$u/vemlo3.exe?$fact")" >>"$work/rates.txt"
  echo "mincgi $(rate "$u/mincgi.exe?$fact")" >>"$work/rates.txt"
done
cleanup; pid=
t_fact=$(awk '$1 == "fact" { print $2 }' "$work/rates.txt" | median)
t_min=$(awk '$1 == "mincgi" { print $2 }' "$work/rates.txt" | median)

# Summary and targets.
awk -v fm="$f_med" -v fmin="$f_min" -v fmax="$f_max" -v frss="$f_rss" -v fb="$f_bytes" \
    -v sm="$s_med" -v smin="$s_min" -v smax="$s_max" -v ns="$nstat" \
    -v mm="$m_med" -v mmin="$m_min" -v mmax="$m_max" -v mrss="$m_rss" \
    -v l1="$l1_med" -v l2="$l2_med" -v l1rss="$l1_rss" -v l2rss="$l2_rss" -v l1b="$l1_bytes" -v l2b="$l2_bytes" \
    -v tf="$t_fact" -v tm="$t_min" -v runs="$runs" -v lruns="$listruns" -v dur="$duration" -v rounds="$rounds" -v conns="$conns" '
function ok(b) { return b ? "met" : "NOT met" }
BEGIN {
  printf "fact page (1001)        median %8.2f ms  (min %.2f, max %.2f; %d runs; %d bytes)\n", fm / 1000, fmin / 1000, fmax / 1000, runs, fb
  printf "its %2d statements alone median %8.2f ms  (min %.2f, max %.2f)\n", ns, sm / 1000, smin / 1000, smax / 1000
  printf "minimal C CGI           median %8.2f ms  (min %.2f, max %.2f)\n", mm / 1000, mmin / 1000, mmax / 1000
  printf "list of 100 customers   median %8.2f ms  (%d runs; %d bytes; max RSS %d KiB)\n", l1 / 1000, lruns, l1b, l1rss
  printf "list of 1000 customers  median %8.2f ms  (%d runs; %d bytes; max RSS %d KiB)\n", l2 / 1000, lruns, l2b, l2rss
  per = (l2 - l1) / 900
  printf "each further customer          %8.3f ms\n", per / 1000
  printf "lighttpd, fact page     %8.1f requests/s  (median of %d rounds of %d s, %d connections)\n", tf, rounds, dur, conns
  printf "lighttpd, minimal CGI   %8.1f requests/s\n", tm
  printf "peak RSS, fact page     %8d KiB  (minimal CGI %d KiB)\n", frss, mrss
  print "targets:"
  printf "  fact page / minimal CGI          %6.2f  (<= 2)      %s\n", fm / mm, ok(fm <= 2 * mm)
  printf "  (statements alone / minimal CGI %6.2f)\n", sm / mm
  printf "  list 1000 / list 100             %6.2f  (<= 10.5)   %s\n", l2 / l1, ok(l2 <= 10.5 * l1)
  printf "  further customer / fact page     %5.1f%%  (<= 5%%)     %s\n", 100 * per / fm, ok(per <= 0.05 * fm)
  printf "  lighttpd fact / minimal CGI      %6.2f  (>= 0.5)    %s\n", tf / tm, ok(tf >= 0.5 * tm)
  printf "  peak RSS of a fact page      %6.2f MiB  (<= 8 MiB)  %s\n", frss / 1024, ok(frss <= 8192)
}' | tee -a "$res"

# ---------------------------------------------------------------- 6. resident server
if [ "${RESIDENT:-1}" != 0 ]; then
  cleanup
  "$here/resident.sh" "$build"
fi

# ---------------------------------------------------------------- 7. FastCGI
if [ "${FASTCGI:-1}" != 0 ]; then
  cleanup
  "$here/fastcgi.sh" "$build"
fi
