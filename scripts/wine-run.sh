#!/bin/bash
# Runs a Windows program under Wine for ctest. Wine keeps a pipe given as its output open for about
# a second after the program has ended, and ctest reads its tests' output through a pipe: so the
# program writes to a file, which is passed on once it has ended, with its exit code.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
wine "$@" >"$out" 2>&1
status=$?
cat "$out"
exit $status
