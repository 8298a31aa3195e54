#!/usr/bin/env bash
# The demo data on PostgreSQL: db/load_pg.sh loads it into a database of its
# own on the server named by VEMLO_PG_CONNINFO (./run-tests starts one), and
# the demo site's pages come out byte for byte as on SQLite (apart from the
# request's time and id).
#   demo_pg_test.sh PROGRAM SOURCE-DIR
set -euo pipefail
export LC_ALL=C
prog=$(realpath "${VEMLO_TEST_PROGRAM:-$1}")
src=$(realpath "$2")
[ -n "${VEMLO_PG_CONNINFO:-}" ] || { echo "VEMLO_PG_CONNINFO not set: skipped"; exit 77; }
command -v psql >/dev/null && command -v sqlite3 >/dev/null || { echo "psql or sqlite3 missing: skipped"; exit 77; }
val() { tr ';' '\n' <<<"$VEMLO_PG_CONNINFO" | sed -n "s/^$1=//Ip" | head -n 1; }
host=$(val host); port=$(val port); user=$(val user)
db="VemloDemo$$"
conn=(-h "${host:-127.0.0.1}" -p "${port:-5432}" -U "${user:-postgres}")
root=$(mktemp -d /tmp/vemlo3-demopg.XXXXXX)
cleanup() { psql -X -q "${conn[@]}" -d postgres -c "DROP DATABASE IF EXISTS \"$db\"" >/dev/null 2>&1 || true; rm -rf "$root"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

psql -X -q -v ON_ERROR_STOP=1 "${conn[@]}" -d postgres -c "CREATE DATABASE \"$db\" TEMPLATE template0 ENCODING 'UTF8'" >/dev/null
"$src/db/load_pg.sh" "${conn[@]}" -d "$db" >/dev/null
[ "$(psql -X -At "${conn[@]}" -d "$db" -c 'SELECT count(*) FROM dbo."Kund"')" = 37 ] || fail "customers not loaded"
[ "$(psql -X -At "${conn[@]}" -d "$db" -c 'SELECT count(*) FROM dbo."Kfak" WHERE datum >= CURRENT_DATE')" -ge 15 ] || fail "availability not relative to today"

VEMLO_DBCONNECT="Provider=PostgreSQL;host=${host:-127.0.0.1};port=${port:-5432};dbname=$db;user=${user:-postgres}" \
  "$src/site/make-site.sh" "$root/pg" "$prog" >/dev/null
"$src/site/make-site.sh" "$root/sqlite" "$prog" >/dev/null
run() {
  (cd "$1/www/cgi-win" && env -i PATH=/usr/bin:/bin SERVER_SOFTWARE=test GATEWAY_INTERFACE=CGI/1.1 REQUEST_METHOD=GET \
     QUERY_STRING="$2" REMOTE_ADDR=127.0.0.1 SCRIPT_NAME=/cgi-win/vemlo3.exe CGI_LOG_DIR="$1/logs" ./vemlo3.exe) |
    grep -av 'DATETIME\|name="session"\|Sidan skapad\|Page created\|Seite erstellt' || true
}
for q in "kundid=1001" "kundid=1001&sprak=e&visakontaktinfo=j&antal=30" "kundid=1003&sprak=d" "kundid=1010" "kundid=1012" \
         "kundid=1016" "kundid=1019&sprak=e" "kundid=1025&sprak=d" "kundid=1027&visakontaktinfo=j" "kundid=1029" \
         "kundid=1032&sprak=e" "kundid=1036" "vad=K&omrade=01&omrade=03&omrade=23&mall=lista" "kommun=2062&kommun=2080&mall=lista" \
         "funktion=tips&mall=tips" "funktion=tips&mall=tips&sprak=e"; do
  run "$root/pg" "$q" >"$root/a"
  run "$root/sqlite" "$q" >"$root/b"
  grep -q 'Fel i programmet' "$root/a" && fail "$q ended in the error page on PostgreSQL: $(grep -a -A4 'Fel i programmet' "$root/a" | tail -3)"
  [ "$(wc -c <"$root/a")" -gt 2000 ] || fail "$q: short page on PostgreSQL"
  cmp -s "$root/a" "$root/b" || fail "$q differs between PostgreSQL and SQLite:
$(diff "$root/a" "$root/b" | head -20)"
done
echo "PostgreSQL: demo data loaded, pages as on SQLite"
