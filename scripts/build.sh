#!/bin/bash
# Configures (once) and builds both trees: build/native with g++, build/windows with mingw-w64.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
[ -f build/native/build.ninja ] || cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
[ -f build/windows/build.ninja ] ||
  cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/native -j2
cmake --build build/windows -j2
