#!/usr/bin/env bash
# The whole demo data set under lighttpd: every customer's fact page in all
# three languages renders without the error page and without an unanswered
# tag, the searches and the tips page list customers, and every picture,
# stylesheet and symbol that the pages refer to exists on the site.
#   demo_site_test.sh PROGRAM SOURCE-DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export LC_ALL=C
prog=$(realpath "${VEMLO_TEST_PROGRAM:-$1}")
src=$(realpath "$2")
for c in lighttpd curl sqlite3; do command -v $c >/dev/null || { echo "$c missing: skipped"; exit 77; }; done
root=$(mktemp -d /tmp/vemlo3-demosite.XXXXXX)
port=$(free_port 18600) || { echo "no free port"; exit 1; }
"$src/site/make-site.sh" "$root/site" "$prog" "$port" >/dev/null
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$root"; }
trap cleanup EXIT
lighttpd -D -f "$root/site/lighttpd.conf" &
pid=$!
for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
u="http://127.0.0.1:$port"
fail() { echo "FAIL: $*"; exit 1; }
: >"$root/refs"
page() { # URL: fetch, check, collect the addresses of its resources
  curl -s -o "$root/p" "$1" || fail "$1 not answered"
  grep -q 'Fel i programmet' "$root/p" && fail "$1 ended in the error page: $(grep -a -A4 'Fel i programmet' "$root/p" | tail -3)"
  # Unanswered tags; <!--FLIKSLUTEJ--> is an end marker that the program writes out.
  left=$(grep -ao '<!--[A-Z][A-Z0-9=(),_]*-->' "$root/p" | grep -v '^<!--FLIKSLUTEJ-->$' | sort -u | tr '\n' ' ' || true)
  [ -z "$left" ] || fail "$1 leaves tags unanswered: $left"
  grep -aoE '(src|href)="?/[^" >]*' "$root/p" | sed -E 's/^(src|href)="?//' | grep -v '^/cgi-win/' >>"$root/refs" || true
}

n=0
for id in $(sqlite3 "$root/site/data/vemlo.db" "SELECT Kundid FROM Kund WHERE Status <> 'X'"); do
  for s in s e d; do page "$u/cgi-win/vemlo3.exe?kundid=$id&sprak=$s&visakontaktinfo=j&xkntkundid=1025&antal=12"; n=$((n + 1)); done
done
[ "$n" -ge 90 ] || fail "only $n fact pages"

# Searches: result lists with their index, the tips page, the bad call.
page "$u/cgi-win/vemlo3.exe?vad=K&omrade=01&omrade=03&omrade=12&omrade=14&omrade=23&mall=lista"
[ "$(grep -ao '<a href=#[0-9]*>' "$root/p" | wc -l)" -ge 5 ] || fail "conference list index"
for q in "omrade=SS&omrade=SG&omrade=SM&mall=lista" "kommun=2062&kommun=2080&mall=lista&sprak=e" \
         "vad=J&omrade=SS&omrade=19&mall=lista&sprak=d" "mall=lista&undhgenre=DR" "mall=lista&fdaginriktning=LE" \
         "ftagnamn=g%E5rd&mall=lista" "niva=%3E1&mall=lista" "kedja=NH&mall=lista"; do
  page "$u/cgi-win/vemlo3.exe?$q"
  grep -q '<a name=' "$root/p" || fail "search $q found nobody"
done
page "$u/cgi-win/vemlo3.exe?kundid=1037"
grep -q '<h1>F&ouml;retaget &auml;r ogiltigt eller saknas</h1>' "$root/p" || fail "a hidden customer is shown"
for s in s e d; do
  page "$u/cgi-win/vemlo3.exe?funktion=tips&mall=tips&sprak=$s"
  [ "$(grep -ao '<option value=' "$root/p" | wc -l)" = 9 ] || fail "month chooser ($s)"
  grep -q '<a name=1001>' "$root/p" || fail "tips of this month ($s)"
done
page "$u/cgi-win/vemlo3.exe"
grep -q '<h1>Felaktigt anrop</h1>' "$root/p" || fail "bad call"
page "$u/"

# Every resource of the site's own that a page refers to.
missing=
for r in $(sed 's/#.*//' "$root/refs" | sort -u); do
  [ -n "$r" ] || continue
  code=$(curl -s -o /dev/null -w '%{http_code}' "$u$r")
  [ "$code" = 200 ] || missing="$missing $r($code)"
done
[ -z "$missing" ] || fail "resources missing:$missing"
limits=$(server_limits "$u")
[ -z "$limits" ] || fail "limits: $limits"
echo "demo site: $n fact pages, searches, tips and the bad call as expected; $(sort -u "$root/refs" | wc -l) resources present"
