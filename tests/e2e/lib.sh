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
