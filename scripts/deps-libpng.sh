#!/bin/bash
# Cross-builds a static libpng for mingw-w64 from Debian's libpng1.6 source package (with Debian's
# own patches) into build/deps/mingw. A second run finds the library and does nothing.
#
# The source package is Debian 12's (bookworm) on every release, so every machine builds the same
# patched libpng: Debian 13's source files cannot be fetched from every mirror, Debian 12's can. It
# comes through a private apt configuration under build/deps/apt, with apt's own signature and hash
# checks, from the Debian mirror that the machine's sources name, in either format (the classic
# one-line /etc/apt/sources.list that the installer and debootstrap write, or the deb822 .sources
# files of container images). Nothing under /etc/apt is written.
set -euo pipefail
trap 'echo "setup: building libpng failed (scripts/deps-libpng.sh, line $LINENO)" >&2' ERR
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEPS=$ROOT/build/deps
PREFIX=$DEPS/mingw
SOURCE_SUITE=bookworm
[ -f "$PREFIX/lib/libpng16.a" ] && exit 0
mkdir -p "$DEPS/src"
cd "$DEPS/src"
if ! ls libpng1.6_*.dsc >/dev/null 2>&1; then
  APT=$DEPS/apt
  rm -rf "$APT"
  mkdir -p "$APT/lists/partial" "$APT/parts"
  # The Debian archive's entries are those of this release's own suites (bookworm, trixie-updates,
  # stable ...); other archives a machine lists have suites of their own names. The security
  # archive has no source files (apt-get source fails with 404 there): leave it out.
  codename=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release 2>/dev/null | tr -d '"')
  debian_suite="^(${codename:-bookworm}|oldstable|stable|testing|unstable|sid)(-updates)?\$"
  # Classic lines: deb [options] URI SUITE COMPONENT...; either file may be missing.
  { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
    awk -v suite="$debian_suite" -v want="$SOURCE_SUITE" '
      $1 != "deb" { next }
      { i = 2; opts = ""
        if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) { opts = opts $i " "; i++ } opts = opts $i " "; i++ } }
      $(i + 1) ~ suite && !seen[$i]++ { print "deb-src " opts $i " " want " main" }' >"$APT/sources.list"
  # deb822 stanzas, separated by blank lines: the same suite and component, every other field
  # (Signed-By above all) kept as the machine has it.
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v suite="$debian_suite" -v want="$SOURCE_SUITE" '
      BEGIN { RS = ""; FS = "\n" }
      {
        types = uris = suites = enabled = ""; out = ""
        for (n = 1; n <= NF; n++) {
          line = $n
          if (line ~ /^#/) continue
          split(line, kv, ":"); key = tolower(kv[1]); value = substr(line, length(kv[1]) + 2)
          gsub(/^[ \t]+|[ \t]+$/, "", value)
          if (key == "types") { types = value; continue }
          if (key == "suites") { suites = value; continue }
          if (key == "components") continue
          if (key == "enabled") { enabled = tolower(value); continue }
          if (key == "uris") uris = value
          out = out line "\n"
        }
        if (types !~ /(^|[ \t])deb([ \t]|$)/ || enabled == "no" || seen[uris]++) next
        split(suites, s, /[ \t]+/); ok = 0
        for (k in s) if (s[k] ~ suite) ok = 1
        if (ok) printf "Types: deb-src\nSuites: %s\nComponents: main\n%s\n", want, out
      }' "$f" >"$APT/parts/$(basename "$f")"
  done
  if [ ! -s "$APT/sources.list" ] && ! cat "$APT"/parts/*.sources 2>/dev/null | grep -q .; then
    echo "setup: no Debian mirror found in /etc/apt to fetch libpng1.6's source from" >&2
    exit 1
  fi
  apt_private=(-o Dir::Etc::SourceList="$APT/sources.list" -o Dir::Etc::SourceParts="$APT/parts"
    -o Dir::State::Lists="$APT/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
    -o APT::Sandbox::User=root)
  apt-get "${apt_private[@]}" update -qq
  # Only the suite's own version: a deb-src line the machine may have of its own is not read.
  apt-get "${apt_private[@]}" source --download-only "libpng1.6/$SOURCE_SUITE" >/dev/null
fi
rm -rf libpng libpng-build
dpkg-source -x libpng1.6_*.dsc libpng >/dev/null
cmake -S libpng -B libpng-build -G Ninja -Wno-deprecated \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a \
  -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >/dev/null
cmake --build libpng-build -j2 >/dev/null
cmake --install libpng-build >/dev/null
echo "setup: libpng built into $PREFIX"
