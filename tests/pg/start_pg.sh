#!/bin/bash
# Starts a throwaway PostgreSQL server for the data-layer tests and prints the
# shell lines that point the tests at it:
#
#   eval "$(tests/pg/start_pg.sh)"
#   ctest --test-dir build            # the PostgreSQL cases now run too
#   tests/pg/stop_pg.sh
#
# The server keeps everything in a new temporary folder, listens on the
# loopback address only (port from VEMLO_PG_PORT, else the first free one from
# 25432: below the range that outgoing connections take their ports from, so
# that a busy test run's clients cannot hold it) and trusts local
# connections. It holds the database "Tallbrun"
# (UTF8, Swedish ICU rules when available) with schema "dbo" loaded from
# db/schema.pg.sql. initdb and postgres refuse to run as root: under root
# they run as the user "postgres".
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
schema="$here/../../db/schema.pg.sql"
bin="${PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}"
[ -x "$bin/initdb" ] || { echo "start_pg.sh: no PostgreSQL server programs found (set PG_BIN)" >&2; exit 1; }

dir="$(mktemp -d /tmp/vemlo_pg.XXXXXX)"
chmod 755 "$dir"
as_owner() {
  if [ "$(id -u)" = 0 ]; then
    chown -R postgres "$dir"
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

port="${VEMLO_PG_PORT:-}"
if [ -z "$port" ]; then
  for p in $(seq 25432 25499); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then port=$p; break; fi
  done
fi
[ -n "$port" ] || { echo "start_pg.sh: no free port" >&2; exit 1; }

# Swedish rules for upper() and ORDER BY when ICU is there; C.UTF-8 else.
if ! as_owner "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 \
       --locale-provider=icu --icu-locale=sv-SE >"$dir/initdb.log" 2>&1; then
  rm -rf "$dir/data"
  as_owner "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; exit 1; }
fi

as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
  -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null \
  || { cat "$dir/server.log" >&2; exit 1; }

psql_as() { as_owner "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir" -p "$port" -U postgres "$@"; }
psql_as -d postgres -c 'CREATE DATABASE "Tallbrun" TEMPLATE template0' >/dev/null
psql_as -d Tallbrun -f - <"$schema" >/dev/null

echo "export VEMLO_PG_DIR='$dir'"
echo "export VEMLO_PG_CONNINFO='Provider=PostgreSQL;host=127.0.0.1;port=$port;dbname=Tallbrun;user=postgres'"
