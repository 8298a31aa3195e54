#!/usr/bin/env bash
# The demo site under lighttpd, visited by headless Chromium.
#   demo_browser_test.sh PROGRAM SOURCE-DIR WORK-DIR
# WORK-DIR (in the build tree) keeps the npm packages, the site and the
# screenshots (WORK-DIR/artifacts). Skipped (77) without chromium, node,
# npm or lighttpd, or when the npm packages cannot be installed.
set -euo pipefail
. "$(dirname "$0")/../e2e/lib.sh"
prog=$(realpath "$1")
src=$(realpath "$2")
work=$3
chrome=${CHROMIUM:-$(command -v chromium || true)}
[ -n "$chrome" ] || { echo "chromium missing: skipped"; exit 77; }
for c in node npm lighttpd sqlite3 curl; do command -v $c >/dev/null || { echo "$c missing: skipped"; exit 77; }; done

mkdir -p "$work"
work=$(realpath "$work")
# The driver's packages, installed once per lock file.
if ! cmp -s "$src/tests/browser/package-lock.json" "$work/package-lock.json" || [ ! -d "$work/node_modules/playwright-core" ]; then
  cp "$src/tests/browser/package.json" "$src/tests/browser/package-lock.json" "$work/"
  (cd "$work" && timeout 300 npm ci --no-audit --no-fund --loglevel=error) || { echo "npm packages not available: skipped"; exit 77; }
fi
cp "$src/tests/browser/demo_browser_test.mjs" "$work/"

port=$(free_port 18400) || { echo "no free port"; exit 1; }
rm -rf "$work/site" "$work/artifacts"
"$src/site/make-site.sh" "$work/site" "$prog" "$port" >/dev/null
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; }
trap cleanup EXIT
lighttpd -D -f "$work/site/lighttpd.conf" &
pid=$!
for _ in $(seq 1 100); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done

cd "$work"
timeout 180 node demo_browser_test.mjs "http://127.0.0.1:$port" "$work/artifacts" "$chrome"
