#!/bin/bash
# Builds the settings store's fuzzer with clang (libFuzzer, ASan, UBSan) in build/fuzz and runs it for
# a bounded time (FUZZ_SECONDS, 30 by default) as a ctest test, so the summary line counts it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$ROOT/tests/fuzz" -B "$ROOT/build/fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DFUZZ_SECONDS="${FUZZ_SECONDS:-30}" >/dev/null
cmake --build "$ROOT/build/fuzz" -j2
ctest --test-dir "$ROOT/build/fuzz" --output-on-failure
