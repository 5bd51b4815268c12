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
# all; its status and time are said instead (seen once: a test that failed in 10 ms, with no output).
if [ $status -ne 0 ] && [ ! -s "$out" ]; then
  echo "wine-run: $1 ended with status $status after $((($(date +%s%N) - start) / 1000000)) ms and printed nothing"
fi
exit $status
