#!/bin/bash
# Installs what a Debian 12 machine lacks for building and testing Vellicot, then cross-builds
# a static libpng into build/deps. Safe to run again: it only does what is still missing.
# Further package names given as arguments are installed too when missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  g++ cmake ninja-build make dpkg-dev xz-utils libgtest-dev libbenchmark-dev clang clang-format
  libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest
  wine wine64 fonts-wine xvfb x11-utils fonts-ipafont-gothic fonts-noto-cjk fonts-morisawa-bizud-gothic xdotool xclip imagemagick
  openbox libpng-dev zlib1g-dev
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (${missing[*]}); run as root" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

"$ROOT/scripts/deps-libpng.sh"
