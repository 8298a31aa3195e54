# Shell helpers of the bench scripts (sourced; `duration` is the script's
# DURATION).

# free_port FIRST, as the shell tests find theirs.
. "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/lib.sh"

# wrk_rate CONNECTIONS URL: requests per second over DURATION seconds; any
# answer other than 2xx ends the run. WARMUP seconds (default 1, 0 for none)
# of the same load go first and are not counted, so that a row does not pay
# for the row before it (caches, a worker waking from idle).
wrk_rate() {
  local o
  if [ "${WARMUP:-1}" != 0 ]; then wrk -t1 -c"$1" -d"${WARMUP:-1}s" --timeout 10s "$2" >/dev/null; fi
  o=$(wrk -t1 -c"$1" -d"${duration}s" --timeout 10s "$2")
  if grep -q 'Non-2xx' <<<"$o"; then echo "${0##*/}: failed requests: $o" >&2; exit 1; fi
  awk '/^Requests\/sec:/ { printf "%.1f", $2 }' <<<"$o"
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
