#!/usr/bin/env bash
# Builds a complete demo site in one folder:
#
#   site/make-site.sh DEST PROGRAM [PORT]
#
#   DEST/www/             document root: index.html, csslib/, bilder2/, images/
#   DEST/www/cgi-win/     vemlo3.exe (PROGRAM), dbconnect.txt, vemlo3.conf and
#                         stand-ins for the redirect and detail programs
#   DEST/www/kund/        templates (Swedish), kund/e/ English, kund/d/ German
#   DEST/data/vemlo.db    SQLite database: schema, demo data, dates from today
#   DEST/cgilog/          request logs (the program's ../../cgilog/)
#   DEST/lighttpd.conf    lighttpd configuration for PORT (default 8080)
#   DEST/apache2.conf     Apache httpd configuration for PORT
#   DEST/*-fastcgi.conf   the same with the program as a FastCGI worker
#                         (lighttpd starts it; Apache and nginx pass requests
#                         to it on FCGIPORT, VEMLO_FCGI_PORT, default PORT+1)
#
# Running it again rebuilds everything but the logs. With VEMLO_DBCONNECT
# set, dbconnect.txt gets that line instead of the SQLite file (for example
# a PostgreSQL server loaded with db/load_pg.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
dest=${1:?usage: make-site.sh DEST PROGRAM [PORT]}
prog=${2:?usage: make-site.sh DEST PROGRAM [PORT]}
port=${3:-8080}
bind=${VEMLO_BIND:-127.0.0.1}
fcgiport=${VEMLO_FCGI_PORT:-$((port + 1))}
command -v sqlite3 >/dev/null || { echo "make-site.sh: sqlite3 is missing (apt-get install sqlite3)" >&2; exit 1; }
command -v iconv >/dev/null || { echo "make-site.sh: iconv is missing" >&2; exit 1; }

mkdir -p "$dest"
dest="$(cd "$dest" && pwd)"
rm -rf "$dest/www" "$dest/data"
mkdir -p "$dest/www" "$dest/data" "$dest/cgilog" "$dest/logs" "$dest/run" "$dest/nginx"
cp -R "$here/www/." "$dest/www/"
mkdir -p "$dest/www/cgi-win"
cp "$prog" "$dest/www/cgi-win/vemlo3.exe"
cp "$here"/cgi-win/*.exe "$dest/www/cgi-win/"
for p in vemalfa3 vembeta3 vemgamma3 vemdelta3 vemepsi3 vemzeta3; do cp "$here/cgi-win/detalj.exe" "$dest/www/cgi-win/$p.exe"; done
rm "$dest/www/cgi-win/detalj.exe"
chmod 755 "$dest/www/cgi-win/"*.exe
"$here/bygg-mallar.sh" "$dest/www/kund"

db="$dest/data/vemlo.db"
{ cat "$repo/db/schema.sqlite.sql" "$repo/db/demo-lookup.sql" "$repo/db/demo.sql"; } | sqlite3 -bail "$db"
printf '%s\r\n' "${VEMLO_DBCONNECT:-Provider=SQLite;Data Source=../../data/vemlo.db}" >"$dest/www/cgi-win/dbconnect.txt"
cat >"$dest/www/cgi-win/vemlo3.conf" <<CONF
# Operator settings of the demo site.
SupportEpost=support@demo.example
SupportTelefon=08-000 000 00
VisitaUrl=http://medlem.demo.example/
HomeRunUrl=http://wifi.demo.example/
EqualityUrl=http://tillganglighet.demo.example/
RoksUrl=http://porrfritt.demo.example/
EricssonKonferensUrl=http://avtal.demo.example/konferens.htm
AretsAmetistUrl=http://ametist.demo.example/
CONF

# The web server runs the program as its own user: everything it reads must
# be readable, the request logs writable.
chmod -R a+rX "$dest/www" "$dest/data"
chmod 1777 "$dest/cgilog"
chmod 1777 "$dest/logs" "$dest/run"

user_lines=""
if [ "$(id -u)" = 0 ]; then user_lines=$'User www-data\nGroup www-data'; fi
for c in lighttpd apache2 lighttpd-fastcgi apache2-fastcgi nginx-fastcgi; do
  sed -e "s|@ROOT@|$dest|g" -e "s|@PORT@|$port|g" -e "s|@FCGIPORT@|$fcgiport|g" -e "s|@BIND@|$bind|g" "$here/conf/$c.conf.in" |
    awk -v u="$user_lines" '{ if ($0 == "@USERLINES@") { if (u != "") print u } else print }' >"$dest/$c.conf"
done
echo "$dest"
