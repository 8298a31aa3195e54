#!/usr/bin/env bash
# The program under a real web server: lighttpd with mod_cgi on a loopback
# port, fetched with curl. Proves that the server takes the program's header
# block as it is and that the program finds its files from the working
# directory the server gives it.
#   lighttpd_cgi_test.sh PROGRAM
set -euo pipefail
. "$(dirname "$0")/lib.sh"
prog=${VEMLO_TEST_PROGRAM:-$1}
command -v lighttpd >/dev/null && command -v curl >/dev/null || { echo "lighttpd or curl missing: skipped"; exit 77; }

root=$(mktemp -d /tmp/vemlo3-lighttpd.XXXXXX)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$root"; }
trap cleanup EXIT

mkdir -p "$root/www/cgi-win" "$root/www/kund" "$root/cgilog"
cp "$prog" "$root/www/cgi-win/vemlo3.exe"
printf 'Provider=SQLite;Data Source=../missing.db\r\n' >"$root/www/cgi-win/dbconnect.txt"
printf '<html><body><h1><!--FELRUBRIK--></h1><!--FELMEDDELANDE--></body></html>\r\n' >"$root/www/kund/ERROR.htm"

port=$(free_port 18100) || { echo "no free port"; exit 1; }
cat >"$root/lighttpd.conf" <<CONF
server.document-root = "$root/www"
server.port = $port
server.bind = "127.0.0.1"
server.modules = ("mod_cgi")
cgi.assign = (".exe" => "")
server.errorlog = "$root/error.log"
CONF
lighttpd -D -f "$root/lighttpd.conf" &
pid=$!
for _ in $(seq 1 100); do (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.05; done

fail() { echo "FAIL: $*"; exit 1; }
url="http://127.0.0.1:$port/cgi-win/vemlo3.exe"

# A bad call: the program's status line, length and type reach the client.
curl -s -D "$root/h1" -o "$root/b1" "$url"
grep -q '^HTTP/1.1 200 OK' "$root/h1" || fail "status line: $(cat "$root/h1")"
grep -qi '^content-type: text/html' "$root/h1" || fail "content type"
grep -q '<h1>Felaktigt anrop</h1>' "$root/b1" || fail "bad-call page: $(cat "$root/b1")"
ls "$root"/cgilog/*/*.log >/dev/null 2>&1 || fail "no request log"
grep -q '^mall=ERROR' "$root"/cgilog/*/*.log || fail "bad call not logged"
grep -q '^\[STATUS\]' "$root"/cgilog/*/*.log || fail "log not closed"

# A database failure: the driver's error page, with its length.
curl -s -D "$root/h2" -o "$root/b2" "$url?kundid=1"
grep -q 'Fel i programmet' "$root/b2" || fail "error page: $(cat "$root/b2")"
len=$(tr -d '\r' <"$root/h2" | awk -F': ' 'tolower($1)=="content-length"{print $2}')
[ "$len" = "$(stat -c %s "$root/b2")" ] || fail "content length $len"

# A refused upload: the engine's error page.
curl -s -o "$root/b3" -F t=x "$url"
grep -q 'Unhandled Exception: Method not allowed (PUT)' "$root/b3" || fail "upload refusal: $(cat "$root/b3")"

echo "lighttpd: all requests answered as expected"
