#!/usr/bin/env bash
# The demo site under Apache httpd with mod_cgi (the configuration that
# site/make-site.sh writes): fact page, list, tips page, bad call, a picture
# and the stylesheet, and the templates kept from visitors.
#   demo_apache_test.sh PROGRAM SOURCE-DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export LC_ALL=C
prog=$(realpath "${VEMLO_TEST_PROGRAM:-$1}")
src=$(realpath "$2")
apache=$(command -v apache2 || ls /usr/sbin/apache2 2>/dev/null || true)
[ -n "$apache" ] && [ -e /usr/lib/apache2/modules/mod_cgi.so ] || { echo "apache2 missing: skipped"; exit 77; }
command -v curl >/dev/null && command -v sqlite3 >/dev/null || { echo "curl or sqlite3 missing: skipped"; exit 77; }

# Apache serves as www-data when started by root: the site lives in /tmp.
root=$(mktemp -d /tmp/vemlo3-apache.XXXXXX)
chmod 755 "$root"
port=$(free_port 18500) || { echo "no free port"; exit 1; }
"$src/site/make-site.sh" "$root/site" "$prog" "$port" >/dev/null
cleanup() {
  "$apache" -f "$root/site/apache2.conf" -k stop >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do [ -f "$root/site/apache2.pid" ] || break; sleep 0.1; done
  rm -rf "$root"
}
trap cleanup EXIT
APACHE_RUN_DIR=$root "$apache" -f "$root/site/apache2.conf" -k start
for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done

fail() { echo "FAIL: $*"; [ -f "$root/site/logs/apache2-error.log" ] && tail -5 "$root/site/logs/apache2-error.log"; exit 1; }
u="http://127.0.0.1:$port"
get() { curl -s -o "$root/body" -w '%{http_code}' "$1"; }

[ "$(get "$u/cgi-win/vemlo3.exe?kundid=1001")" = 200 ] || fail "fact page status"
grep -q '<h1 title="Sj.viks Herrg.rd">Sj&ouml;viks Herrg&aring;rd</h1>' "$root/body" || fail "fact page heading"
grep -q 'flikkonf1001' "$root/body" || fail "fact page tabs"
grep -q 'Fel i programmet' "$root/body" && fail "fact page ended in the error page"
[ "$(get "$u/cgi-win/vemlo3.exe?kundid=1001&sprak=e")" = 200 ] && grep -q 'Welcome to' "$root/body" || fail "English fact page"
[ "$(get "$u/cgi-win/vemlo3.exe?vad=K&omrade=01&omrade=03&mall=lista")" = 200 ] || fail "list status"
grep -q '<a href=#1001>Sj&ouml;viks Herrg&aring;rd</a><br>' "$root/body" || fail "list index"
[ "$(get "$u/cgi-win/vemlo3.exe?funktion=tips&mall=tips&sprak=d")" = 200 ] && grep -q '<option value=' "$root/body" || fail "tips page"
[ "$(get "$u/cgi-win/vemlo3.exe")" = 200 ] && grep -q '<h1>Felaktigt anrop</h1>' "$root/body" || fail "bad call"
[ "$(get "$u/csslib/vexa2.css")" = 200 ] || fail "stylesheet"
[ "$(get "$u/bilder2/kunder/herrgard.png")" = 200 ] || fail "picture"
[ "$(get "$u/cgi-win/redir.exe?kundid=1001&url=http://www.sjovik.example")" = 302 ] || fail "redirect stand-in"
[ "$(get "$u/kund/facts.htm")" = 403 ] || fail "templates visible to visitors"
[ "$(get "$u/cgi-win/dbconnect.txt")" = 403 ] || fail "connection line visible to visitors"
ls "$root"/site/cgilog/*/*.log >/dev/null 2>&1 || fail "no request log written"
limits=$(server_limits "$u")
[ -z "$limits" ] || fail "limits: $limits"
echo "apache: all requests answered as expected"
