#!/bin/bash
# Cross-builds a static libpng for mingw-w64 from Debian's libpng1.6 source package (with Debian's
# own patches) into build/deps/mingw. A second run finds the library and does nothing.
#
# The source package comes through a private apt configuration under build/deps/apt, whose deb-src
# lines are derived from the machine's own sources in either format (the classic one-line
# /etc/apt/sources.list that the installer and debootstrap write, or the deb822 .sources files of
# container images). Nothing under /etc/apt is written.
set -euo pipefail
trap 'echo "setup: building libpng failed (scripts/deps-libpng.sh, line $LINENO)" >&2' ERR
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEPS=$ROOT/build/deps
PREFIX=$DEPS/mingw
[ -f "$PREFIX/lib/libpng16.a" ] && exit 0
mkdir -p "$DEPS/src"
cd "$DEPS/src"
if ! ls libpng1.6_*.dsc >/dev/null 2>&1; then
  APT=$DEPS/apt
  rm -rf "$APT"
  mkdir -p "$APT/lists/partial" "$APT/parts"
  # The security archive has no source files (apt-get source fails with 404 there): leave it out.
  # Either file may be missing, and a machine may have no one-line entries at all.
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed -nE '/-security/d; s/^[[:space:]]*deb[[:space:]]+/deb-src /p' >"$APT/sources.list" || true
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # Stanzas are separated by blank lines; keep those of type deb that are not the security suite.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*deb/ && !/(^|\n)Suites:[^\n]*-security/ {
           gsub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f" \
      >"$APT/parts/$(basename "$f")"
  done
  if [ ! -s "$APT/sources.list" ] && ! cat "$APT"/parts/*.sources 2>/dev/null | grep -q .; then
    echo "setup: no Debian package sources found in /etc/apt to fetch libpng1.6's source from" >&2
    exit 1
  fi
  apt_private=(-o Dir::Etc::SourceList="$APT/sources.list" -o Dir::Etc::SourceParts="$APT/parts"
    -o Dir::State::Lists="$APT/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
    -o APT::Sandbox::User=root)
  apt-get "${apt_private[@]}" update -qq
  apt-get "${apt_private[@]}" source --download-only libpng1.6 >/dev/null
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
