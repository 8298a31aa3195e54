# Shared by the shell tests that serve a site on a loopback port.

# free_port FIRST: the first of the hundred loopback ports from FIRST on which
# nothing listens; fails when all are taken.
free_port() {
  local p
  for p in $(seq "$1" $(($1 + 99))); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then echo "$p"; return 0; fi
  done
  return 1
}

# server_limits BASE-URL: the limits and response headers of the shipped web
# server configurations. A page of the program and a static file carry the
# two response headers; a body over the server's limit and an over-long
# header are refused by the server; a body within it reaches the program.
# Prints what is wrong, nothing when all holds.
server_limits() {
  local u=$1 t h
  t=$(mktemp -d)
  for r in "/cgi-win/vemlo3.exe?kundid=1001" "/csslib/vexa2.css"; do
    curl -s -D "$t/h" -o /dev/null "$u$r"
    grep -qi '^X-Content-Type-Options: nosniff' "$t/h" || echo "$r: no X-Content-Type-Options"
    grep -qi '^X-Frame-Options: SAMEORIGIN' "$t/h" || echo "$r: no X-Frame-Options"
  done
  head -c 300000 /dev/zero | tr '\0' 'B' | sed 's/^/kundid=1001\&vad=/' >"$t/big"
  h=$(curl -s -o /dev/null -w '%{http_code}' --data-binary @"$t/big" "$u/cgi-win/vemlo3.exe")
  [ "$h" = 413 ] || echo "a 300 KB body answered $h, not 413"
  head -c 20000 /dev/zero | tr '\0' 'B' | sed 's/^/kundid=1001\&vad=/' >"$t/small"
  h=$(curl -s -o "$t/b" -w '%{http_code}' --data-binary @"$t/small" "$u/cgi-win/vemlo3.exe")
  [ "$h" = 200 ] && grep -q '</html>' "$t/b" || echo "a 20 KB body answered $h"
  h=$(curl -s -o /dev/null -w '%{http_code}' -H "X-Lang: $(head -c 20000 /dev/zero | tr '\0' 'H')" \
        "$u/cgi-win/vemlo3.exe?kundid=1001")
  case $h in 4??) ;; *) echo "a 20 KB header answered $h" ;; esac
  rm -rf "$t"
}
