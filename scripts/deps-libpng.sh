#!/bin/bash
# Cross-builds a static libpng for mingw-w64 from Debian's libpng1.6 source package (with Debian's
# own patches) into build/deps/mingw. A second run finds the library and does nothing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEPS=$ROOT/build/deps
PREFIX=$DEPS/mingw
[ -f "$PREFIX/lib/libpng16.a" ] && exit 0
mkdir -p "$DEPS/src"
cd "$DEPS/src"
if ! ls libpng1.6_*.dsc >/dev/null 2>&1; then
  SRCLIST=/etc/apt/sources.list.d/vellicot-deb-src.sources
  # The first stanza only (bookworm and bookworm-updates): the security archive has no source files.
  awk 'BEGIN{RS=""; ORS="\n"} NR==1' /etc/apt/sources.list.d/debian.sources |
    sed 's/^Types: deb$/Types: deb-src/' >"$SRCLIST"
  trap 'rm -f "$SRCLIST"; apt-get update -qq' EXIT
  apt-get update -qq
  apt-get source --download-only libpng1.6
fi
rm -rf libpng libpng-build
dpkg-source -x libpng1.6_*.dsc libpng >/dev/null
cmake -S libpng -B libpng-build -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a \
  -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >/dev/null
cmake --build libpng-build -j2 >/dev/null
cmake --install libpng-build >/dev/null
echo "setup: libpng built into $PREFIX"
