#!/usr/bin/env bash
# Writes the site's templates from the masters in site/mallar/: one Swedish
# template in KUND/, an English one in KUND/e/ and a German one in KUND/d/,
# each saved in Windows-1252 as the program reads them.
#
#   site/bygg-mallar.sh KUND
#
# The masters are UTF-8. Text that differs by language is written
# [[svenska|english|deutsch]]; the line {{FLIKRAD}} becomes the row of tab
# images of the fact page. Everything else is copied as it stands.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
ut=${1:?usage: bygg-mallar.sh TEMPLATE-FOLDER}
mkdir -p "$ut/e" "$ut/d"

for master in "$here"/mallar/*.htm; do
  namn=$(basename "$master")
  for sprak in 1 2 3; do
    case $sprak in 1) mal="$ut/$namn" ;; 2) mal="$ut/e/$namn" ;; 3) mal="$ut/d/$namn" ;; esac
    awk -v n="$sprak" '
      /^\{\{FLIKRAD\}\}$/ {
        printf "<div class=\"flikrad\">"
        for (p = 1; p <= 13; p++) printf "<!--FLIK=%d-->", p
        print "</div>"
        next
      }
      {
        rad = $0; ut = ""
        while ((s = index(rad, "[[")) > 0) {
          e = index(substr(rad, s), "]]")
          if (e == 0) break
          inne = substr(rad, s + 2, e - 3)
          k = split(inne, delar, "|")
          ut = ut substr(rad, 1, s - 1) (n <= k ? delar[n] : delar[1])
          rad = substr(rad, s + e + 1)
        }
        print ut rad
      }' "$master" | iconv -f UTF-8 -t WINDOWS-1252 >"$mal.tmp"
    mv "$mal.tmp" "$mal"
  done
done
# The bad-call page is the same in every language.
rm -f "$ut/e/ERROR.htm" "$ut/d/ERROR.htm"
