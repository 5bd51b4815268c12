#!/bin/bash
# Runs a Windows program under Wine for ctest. Wine keeps a pipe given as its output open for about
# a second after the program has ended, and ctest reads its tests' output through a pipe: so the
# program writes to a file, which is passed on once it has ended, with its exit code.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
start=$(date +%s%N)
wine "$@" >"$out" 2>&1
status=$?
cat "$out"
# Wine's own errors are off (WINEDEBUG=-all), so a start that fails at once would say nothing at
# all (seen a few times in many thousand starts: a test that failed in 10 ms, with no output, cause
# not known). Its status and time are said instead, with what such a start found: the signal that
# ended it, the prefix's Wine server, and Wine's own errors on a second start of the same command.
# The second start is for the record only: the first one's status stands.
if [ $status -ne 0 ] && [ ! -s "$out" ]; then
  ms=$((($(date +%s%N) - start) / 1000000))
  ended="status $status"
  [ $status -gt 128 ] && ended="$ended (signal $(kill -l $((status - 128)) 2>/dev/null))"
  echo "wine-run: $1 ended with $ended after $ms ms and printed nothing"
  if server=$("$(dirname "$0")/wine-server-pid.sh" "${WINEPREFIX:-}"); then
    echo "wine-run: the Wine server of $WINEPREFIX runs as process $server"
  else
    echo "wine-run: no Wine server runs for ${WINEPREFIX:-the default prefix}"
  fi
  echo "wine-run: the same command again, with Wine's errors on:"
  WINEDEBUG=-all,err+all wine "$@" >"$out" 2>&1
  again=$?
  grep -v '^\[' "$out" | head -20
  echo "wine-run: the second start ended with status $again"
fi
exit $status
