#!/bin/bash
# Installs what a Debian 12 or 13 machine lacks for building and testing Vellicot, then cross-builds
# a static libpng into build/deps. Safe to run again: it only does what is still missing.
# Further package names given as arguments are installed too when missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

# One package name a line or several, valid on both releases; add new ones anywhere in the list.
packages=(
  g++ cmake ninja-build make dpkg-dev xz-utils libgtest-dev libbenchmark-dev clang clang-format
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest
  wine wine64 fonts-wine xvfb x11-utils fonts-ipafont-gothic fonts-noto-cjk fonts-morisawa-bizud-gothic xdotool xclip imagemagick
  openbox libpng-dev zlib1g-dev locales
  "$@"
)

# The fuzzer layer links clang's own runtime (libFuzzer, ASan, UBSan), whose package carries
# clang's major version: 14 on Debian 12, 19 on Debian 13. Take the version that the package clang
# stands for, installed or not.
clang_version() {
  local v
  v=$(dpkg-query -W -f='${Depends}' clang 2>/dev/null | grep -oE '(^|[ ,])clang-[0-9]+' | grep -oE '[0-9]+' | head -1)
  [ -n "$v" ] || v=$(apt-cache depends clang 2>/dev/null | sed -nE 's/^ *Depends: clang-([0-9]+)$/\1/p' | head -1)
  echo "$v"
}
updated=false
v=$(clang_version)
if [ -z "$v" ] && [ "$(id -u)" -eq 0 ]; then
  # A machine whose package lists were never fetched knows no clang yet.
  apt-get update -qq
  updated=true
  v=$(clang_version)
fi
[ -n "$v" ] || {
  echo "setup: cannot tell which clang Debian offers here (apt-cache depends clang)" >&2
  exit 1
}
packages+=("libclang-rt-$v-dev")

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
  $updated || apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Japanese locale, in which a Japanese desktop runs Wine (the stock prefix's caption test runs in it).
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: the locale ja_JP.UTF-8 is missing; run as root" >&2
    exit 1
  fi
  sed -i -E 's/^# *(ja_JP\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

"$ROOT/scripts/deps-libpng.sh"
