#!/bin/bash
# Stops the server that start_pg.sh started and removes its folder.
#   tests/pg/stop_pg.sh [folder]      (default: $VEMLO_PG_DIR)
set -euo pipefail
dir="${1:-${VEMLO_PG_DIR:-}}"
[ -n "$dir" ] && [ -d "$dir/data" ] || { echo "stop_pg.sh: no server folder (set VEMLO_PG_DIR)" >&2; exit 1; }
bin="${PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}"
if [ "$(id -u)" = 0 ]; then
  runuser -u postgres -- "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
else
  "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
fi
rm -rf "$dir"
