#!/usr/bin/env bash
# The resident server (ServerMode and ServerThreadMode) against the minimal C
# CGI program, in one run; run.sh calls it last, and it runs by itself too:
#
#   bench/resident.sh [BUILD]   (default build-perf; BUILD/vemlo3 must exist)
#
# 1. fact page (1001) through the server, each request a fresh client process
#    started as a web server starts a CGI program, beside the minimal program,
#    the same page rendered by the process itself (normal mode) and the bad
#    call through the server (a page the server makes in almost no time, so
#    about what the client process costs by itself); medians over RUNS runs
#    taken in turns;
# 2. the median as 1, 2, 8 and 32 clients run at once (CRUNS requests of each
#    client), with the number of short answers (the clients that the
#    limit of 20 pending files refuses get the error page);
# 3. throughput through lighttpd (mod_cgi, wrk), server modes against the
#    minimal program, DURATION seconds each, ROUNDS rounds in turns.
#
# Settings: RUNS (default 31), CRUNS (default 10), DURATION (default 4),
# ROUNDS (default 3), CONNS (wrk connections, default 2), PORT (default
# 18950). Written below BUILD/bench/resident; the summary is appended to
# BUILD/bench/results.txt.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
. "$here/common.sh"
build=$(realpath "${1:-$repo/build-perf}")
runs=${RUNS:-31}
cruns=${CRUNS:-10}
duration=${DURATION:-4}
rounds=${ROUNDS:-3}
conns=${CONNS:-2}
[ -x "$build/vemlo3" ] || { echo "resident.sh: $build/vemlo3 is missing" >&2; exit 1; }
for c in cc sqlite3 lighttpd curl wrk; do command -v $c >/dev/null || { echo "resident.sh: $c is missing" >&2; exit 1; }; done
export LC_ALL=C

work="$build/bench/resident"
mkdir -p "$work"
cc -O2 -Wall -pthread -o "$work/benchrun" "$here/benchrun.c"
cc -O2 -Wall -o "$work/mincgi" "$here/mincgi.c"
port=$(free_port "${PORT:-18950}") || { echo "resident.sh: no free port" >&2; exit 1; }

# The site; beside cgi-win, one program folder per server mode for the
# processes that this script starts (bench-srv, bench-thr) and one for those
# that lighttpd starts (cgi-srv, cgi-thr; lighttpd may run them as another
# user, whose server must be a server of its own). Each folder's server lives
# in its temp/ folder.
site="$work/site"
"$repo/site/make-site.sh" "$site" "$build/vemlo3" "$port" >/dev/null
www="$site/www"
cgi="$www/cgi-win"
cp "$work/mincgi" "$cgi/mincgi.exe"
for f in bench-srv:ServerMode bench-thr:ServerThreadMode cgi-srv:ServerMode cgi-thr:ServerThreadMode; do
  d="$www/${f%%:*}"
  mkdir -p "$d"
  cp "$cgi/vemlo3.exe" "$cgi/dbconnect.txt" "$cgi/vemlo3.conf" "$d/"
  echo "CGIMode=${f#*:}" >>"$d/vemlo3.conf"
done
chmod -R a+rX "$www"
chmod 1777 "$www/cgi-srv" "$www/cgi-thr"
cat >>"$site/lighttpd.conf" <<'CONF'
$HTTP["url"] =~ "^/cgi-(srv|thr)/" {
  cgi.assign = (".exe" => "")
}
CONF

pid=
stop_all() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=; fi
  # Deleting its alive file ends a server.
  rm -f "$www"/*/temp/vemlo3.exe_s
}
trap stop_all EXIT

out="$work/out"
mkdir -p "$out"
res="$build/bench/results.txt"
fact="kundid=1001&sprak=s"
{
  echo "resident server: $(date -u '+%Y-%m-%d %H:%M UTC'), nproc=$(nproc), load $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee -a "$res"

# 1. One client at a time. The warm-up runs start the servers.
"$work/benchrun" -n "$runs" -w 3 -o "$out" \
  server "$www/bench-srv" "$www/bench-srv/vemlo3.exe" "$fact" \
  thread "$www/bench-thr" "$www/bench-thr/vemlo3.exe" "$fact" \
  normal "$cgi" "$cgi/vemlo3.exe" "$fact" \
  badcall "$www/bench-srv" "$www/bench-srv/vemlo3.exe" "" \
  mincgi "$cgi" "$cgi/mincgi.exe" "$fact" >"$work/single.txt"
for l in server thread; do
  cmp -s <(tail -c 3000 "$out/$l.out") <(tail -c 3000 "$out/normal.out") ||
    { echo "resident.sh: the $l page differs from the page of the process itself" >&2; exit 1; }
done
for d in bench-srv bench-thr; do
  [ -s "$www/$d/temp/vemlo3.exe_pid" ] || { echo "resident.sh: no server is running for $d" >&2; exit 1; }
done

# 2. Clients at once.
: >"$work/clients.txt"
for c in 1 2 8 32; do
  "$work/benchrun" -n "$cruns" -w 1 -c "$c" \
    server "$www/bench-srv" "$www/bench-srv/vemlo3.exe" "$fact" \
    thread "$www/bench-thr" "$www/bench-thr/vemlo3.exe" "$fact" \
    normal "$cgi" "$cgi/vemlo3.exe" "$fact" \
    mincgi "$cgi" "$cgi/mincgi.exe" "$fact" | sed "s/^/$c /" >>"$work/clients.txt"
done

# 3. Throughput through lighttpd.
lighttpd -D -f "$site/lighttpd.conf" &
pid=$!
u="http://127.0.0.1:$port"
for _ in $(seq 1 100); do curl -sf -o /dev/null "$u/" && break; sleep 0.1; done
for d in cgi-srv cgi-thr; do
  curl -sf "$u/$d/vemlo3.exe?$fact" | grep -aq 'Fel i programmet' && { echo "resident.sh: error page from $d" >&2; exit 1; }
done
rate() { wrk_rate "$conns" "$1"; }  # URL -> requests per second
: >"$work/rates.txt"
for r in $(seq 1 "$rounds"); do
  echo "server $(rate "$u/cgi-srv/vemlo3.exe?$fact")" >>"$work/rates.txt"
  echo "thread $(rate "$u/cgi-thr/vemlo3.exe?$fact")" >>"$work/rates.txt"
  echo "mincgi $(rate "$u/cgi-win/mincgi.exe?$fact")" >>"$work/rates.txt"
done
stop_all
t_srv=$(awk '$1 == "server" { print $2 }' "$work/rates.txt" | median)
t_thr=$(awk '$1 == "thread" { print $2 }' "$work/rates.txt" | median)
t_min=$(awk '$1 == "mincgi" { print $2 }' "$work/rates.txt" | median)

awk -v tsrv="$t_srv" -v tthr="$t_thr" -v tmin="$t_min" -v runs="$runs" -v cruns="$cruns" \
    -v dur="$duration" -v rounds="$rounds" -v conns="$conns" '
function ok(b) { return b ? "met" : "NOT met" }
FILENAME ~ /single/ { med[$1] = $2; lo[$1] = $3; hi[$1] = $4; next }
{ cmed[$1, $2] = $3; cshort[$1, $2] = $8 }
END {
  printf "fact page, ServerMode        median %7.2f ms  (min %.2f, max %.2f; %d runs)\n", med["server"] / 1000, lo["server"] / 1000, hi["server"] / 1000, runs
  printf "fact page, ServerThreadMode  median %7.2f ms  (min %.2f, max %.2f)\n", med["thread"] / 1000, lo["thread"] / 1000, hi["thread"] / 1000
  printf "fact page, normal mode       median %7.2f ms  (min %.2f, max %.2f)\n", med["normal"] / 1000, lo["normal"] / 1000, hi["normal"] / 1000
  printf "bad call through the server  median %7.2f ms  (min %.2f, max %.2f)\n", med["badcall"] / 1000, lo["badcall"] / 1000, hi["badcall"] / 1000
  printf "minimal C CGI                median %7.2f ms  (min %.2f, max %.2f)\n", med["mincgi"] / 1000, lo["mincgi"] / 1000, hi["mincgi"] / 1000
  printf "clients at once (median ms; short answers; %d requests per client):\n", cruns
  printf "  %-8s %16s %16s %16s %16s\n", "clients", "ServerMode", "ServerThreadMode", "normal mode", "minimal CGI"
  for (c = 1; c <= 32; c *= (c == 2 ? 4 : (c == 8 ? 4 : 2)))
    printf "  %-8d %10.2f (%3d) %10.2f (%3d) %10.2f (%3d) %10.2f (%3d)\n", c, cmed[c, "server"] / 1000, cshort[c, "server"],
      cmed[c, "thread"] / 1000, cshort[c, "thread"], cmed[c, "normal"] / 1000, cshort[c, "normal"], cmed[c, "mincgi"] / 1000, cshort[c, "mincgi"]
  printf "lighttpd, ServerMode         %8.1f requests/s  (median of %d rounds of %d s, %d connections)\n", tsrv, rounds, dur, conns
  printf "lighttpd, ServerThreadMode   %8.1f requests/s\n", tthr
  printf "lighttpd, minimal CGI        %8.1f requests/s\n", tmin
  print "targets:"
  printf "  ServerMode / minimal CGI           %6.2f  (<= 2)    %s\n", med["server"] / med["mincgi"], ok(med["server"] <= 2 * med["mincgi"])
  printf "  ServerThreadMode / minimal CGI     %6.2f  (<= 2)    %s\n", med["thread"] / med["mincgi"], ok(med["thread"] <= 2 * med["mincgi"])
  printf "  (normal mode / minimal CGI         %6.2f)\n", med["normal"] / med["mincgi"]
  printf "  (bad call via server / minimal CGI %6.2f: the client process by itself)\n", med["badcall"] / med["mincgi"]
  printf "  lighttpd ServerMode / minimal      %6.2f  (>= 0.6)  %s\n", tsrv / tmin, ok(tsrv >= 0.6 * tmin)
  printf "  lighttpd ServerThreadMode / min.   %6.2f  (>= 0.6)  %s\n", tthr / tmin, ok(tthr >= 0.6 * tmin)
}' "$work/single.txt" "$work/clients.txt" | tee -a "$res"
