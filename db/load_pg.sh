#!/usr/bin/env bash
# Loads the schema and the demo data into a PostgreSQL database:
#
#   db/load_pg.sh [psql connection options...]
#   db/load_pg.sh -h 127.0.0.1 -p 5432 -U vemlo -d Tallbrun
#
# The schema "dbo" of the database is replaced. The demo data's dates are
# written for SQLite (date('now','localtime','+3 day') and the like); they
# are rewritten here into PostgreSQL's CURRENT_DATE arithmetic, so the
# availability, packages and tips lie around the loading day as they do in
# the SQLite demo. Then point dbconnect.txt at the database, for example
#   Provider=PostgreSQL;host=127.0.0.1;port=5432;dbname=Tallbrun;user=vemlo
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
command -v psql >/dev/null || { echo "load_pg.sh: psql is missing (apt-get install postgresql-client)" >&2; exit 1; }

pg_dates() {
  sed -E \
    -e "s/substr\(strftime\('%Y%m','now','localtime','([+-])([0-9]+) month'\),3\)/to_char(CURRENT_DATE \1 interval '\2 month','YYMM')/g" \
    -e "s/substr\(strftime\('%Y%m','now','localtime'\),3\)/to_char(CURRENT_DATE,'YYMM')/g" \
    -e "s/strftime\('%Y','now','localtime','([+-])([0-9]+) year'\)/to_char(CURRENT_DATE \1 interval '\2 year','YYYY')/g" \
    -e "s/strftime\('%Y','now','localtime'\)/to_char(CURRENT_DATE,'YYYY')/g" \
    -e "s/datetime\('now','localtime','([+-])([0-9]+) day'\)/(LOCALTIMESTAMP(0) \1 interval '\2 day')/g" \
    -e "s/datetime\('now','localtime'\)/LOCALTIMESTAMP(0)/g" \
    -e "s/date\('now','localtime','([+-])([0-9]+) day'\)/(CURRENT_DATE \1 \2)/g" \
    -e "s/date\('now','localtime'\)/CURRENT_DATE/g"
}

{
  echo "SET client_encoding = 'UTF8';"
  echo "SET client_min_messages = warning;"
  echo "DROP SCHEMA IF EXISTS dbo CASCADE;"
  cat "$here/schema.pg.sql"
  echo "SET search_path = dbo;"
  cat "$here/demo-lookup.sql"
  pg_dates <"$here/demo.sql"
} | psql -X -q -v ON_ERROR_STOP=1 "$@" >/dev/null
echo "schema and demo data loaded"
