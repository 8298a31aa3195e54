#!/usr/bin/env bash
# A bounded load on loopback: N requests (default 20,000), C at a time
# (default 50), through lighttpd to the demo site. Every response must be a
# complete page, and every request must have exactly one complete request log
# of its own: each request carries a number that its log records, and every
# number is found in exactly one log.
#   load_test.sh PROGRAM SOURCE-DIR [N] [C]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export LC_ALL=C
prog=$(realpath "$1")
src=$(realpath "$2")
n=${3:-${VEMLO_LOAD_REQUESTS:-20000}}
c=${4:-50}
for t in lighttpd curl sqlite3 xargs perl; do command -v $t >/dev/null || { echo "$t missing: skipped"; exit 77; }; done
root=$(mktemp -d /tmp/vemlo3-load.XXXXXX)
port=$(free_port 18800) || { echo "no free port"; exit 1; }
"$src/site/make-site.sh" "$root/site" "$prog" "$port" >/dev/null
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$root"; }
trap cleanup EXIT
# The shipped configuration lets the server start as many programs as there
# are clients (server.max-connections = 256).
lighttpd -D -f "$root/site/lighttpd.conf" &
pid=$!
for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
url="http://127.0.0.1:$port/cgi-win/vemlo3.exe"
mkdir -p "$root/out"
fail() { echo "FAIL: $*"; exit 1; }

# Fact pages, result lists and tips pages in turn; the number goes in "Vad"
# (logged, selects nothing here). One curl makes every request, C at a time,
# so that the clients cost little beside the programs.
for i in $(seq 1 "$n"); do
  case $((i % 3)) in
    0) q="kundid=1001&sprak=e" ;;
    1) q="omrade=SS&mall=lista" ;;
    2) q="funktion=tips&mall=tips" ;;
  esac
  printf 'url = "%s?vad=N%d&%s"\noutput = "%s/out/%d"\n' "$url" "$i" "$q" "$root" "$i"
done >"$root/requests"
start=$(date +%s)
curl -s --no-progress-meter --parallel --parallel-immediate --parallel-max "$c" --max-time 60 -K "$root/requests" \
  -w '%{http_code} %{url_effective}\n' >"$root/codes" || true
took=$(($(date +%s) - start))
kill "$pid"; wait "$pid" 2>/dev/null || true; pid=

# Every request answered with a complete page: status 200, the page's end,
# not the error page.
perl -e '
  my ($dir, $n) = @ARGV;
  my (%code, $bad);
  open my $c, "<", "$dir/codes" or die;
  while (<$c>) { $code{$2} = $1 if /^(\d+) \S*vad=N(\d+)&/ }
  sub body_fault {
    open my $f, "<", $_[0] or return "no body";
    local $/;
    my $b = <$f>;
    return "error page: " . substr($1, 0, 300) if $b =~ /Fel i programmet(.*)/s;
    return $b =~ m{</html>}i ? undef : "page incomplete";
  }
  for my $i (1 .. $n) {
    my $why = !defined $code{$i} ? "no answer"
            : $code{$i} ne "200" ? "status $code{$i}"
            : body_fault("$dir/out/$i");
    next unless defined $why;
    print "request $i: $why\n" if ++$bad <= 3;
  }
  print "$bad failed responses\n" if $bad;
  exit($bad ? 1 : 0);' "$root" "$n" || fail "responses"

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
