#!/usr/bin/env bash
# The operators' template check: the demo site's templates are clean and use
# every tag between them; a template with typical mistakes gets each mistake
# reported at its line, and nothing else.
#   demo_mallkontroll_test.sh CHECKER SOURCE-DIR
set -euo pipefail
tool=$1
src=$2
tmp=$(mktemp -d /tmp/vemlo3-mallkontroll.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# 1. The demo templates, in all three languages.
"$src/site/bygg-mallar.sh" "$tmp/kund"
out=$("$tool" "$tmp"/kund/*.htm "$tmp"/kund/e/*.htm "$tmp"/kund/d/*.htm) || fail "demo templates: $out"
[ -z "$out" ] || fail "demo templates reported: $out"
unused=$("$tool" --oanvanda "$tmp"/kund/*.htm) || fail "coverage run failed"
[ -z "$unused" ] || fail "tags no demo template uses: $unused"

# 2. A template with mistakes. Line numbers matter: keep the order.
printf '%s\n' \
  '<html><head><title><!--TITEL--></title><!-- an ordinary comment --><!--[if IE]><p>old<![endif]-->' \
  '<h1><!--NAMN--></h1>' \
  '<!--START-->' \
  '<!--KONFTXT-->' \
  '<!--namn-->' \
  '<!--AVSTAND(a,b)-->' \
  '<!--STARTPLATS-->' \
  '<!--SLUTBOKN-->' \
  '<!--STARTBOKN--><!--STARTBOKN-->x<!--SLUTBOKN--><!--SLUTBOKN-->' \
  '<!--startsprak(E)-->English<!--SLUTSPRAK(E)-->' \
  '<!--FLIKSTART=KONF--><!--FLIK=1-->' \
  "$(printf 'Sm\303\245land')" \
  '<!--NAMN' \
  '<!--SLUT-->' \
  '</html>' >"$tmp/fel.htm"
set +e
out=$("$tool" "$tmp/fel.htm")
rc=$?
set -e
[ "$rc" = 1 ] || fail "exit status $rc for a template with mistakes"
expect() { grep -qF -- "$1" <<<"$out" || fail "missing report: $1
got:
$out"; }
expect "fel.htm:2: <!--NAMN--> stands outside the customer block"
expect "fel.htm:4: unknown tag <!--KONFTXT-->"
expect "fel.htm:5: <!--namn-->: tag names are written in upper case (<!--NAMN-->)"
expect "fel.htm:6: <!--AVSTAND(a,b)-->: AVSTAND does not take these arguments"
expect "fel.htm:7: <!--STARTPLATS--> has no end marker <!--SLUTPLATS-->"
expect "fel.htm:8: end marker <!--SLUTBOKN--> ends no section"
expect "fel.htm:9: <!--STARTBOKN--> inside a section of the same name (line 9)"
expect "fel.htm:9: end marker <!--SLUTBOKN--> ends no section"
expect "fel.htm:11: <!--FLIKSTART=KONF--> has no end marker <!--FLIKSLUT-->"
expect "fel.htm:12: the line is UTF-8 encoded"
expect "fel.htm:13: tag without \"-->\" on its line"
n=$(grep -c . <<<"$out")
[ "$n" = 11 ] || fail "expected 11 reports, got $n:
$out"
grep -q "ordinary\|if IE\|SPRAK" <<<"$out" && fail "ordinary comments or a matched language section reported: $out"

# 3. The customer block's own markers.
printf '<p>\n<!--START-->\n<!--NAMN-->\n' >"$tmp/utanslut.htm"
set +e; out=$("$tool" "$tmp/utanslut.htm"); rc=$?; set -e
[ "$rc" = 1 ] && grep -qF "utanslut.htm:2: <!--START--> without <!--SLUT-->" <<<"$out" || fail "START without SLUT: $rc $out"
printf '<p><!--SLUT-->\n' >"$tmp/utanstart.htm"
set +e; out=$("$tool" "$tmp/utanstart.htm"); rc=$?; set -e
[ "$rc" = 1 ] && grep -qF "utanstart.htm:1: <!--SLUT--> without <!--START-->" <<<"$out" || fail "SLUT without START: $rc $out"

# 4. A file that cannot be read.
set +e; "$tool" "$tmp/finns-inte.htm" 2>/dev/null; rc=$?; set -e
[ "$rc" = 2 ] || fail "missing file: exit status $rc"

echo "template check: all cases as expected"
