#!/bin/bash
# Builds the players' package dist/Vellicot-<version>-win64.zip (Vellicot.exe and the Japanese
# guide 使い方.txt) from the committed state of this checkout, and prints the SHA-256 of the exe
# and the zip. Two packages built from the same commit are byte-identical, on any machine with the
# same Debian packages: the source is exported from the commit into a folder of its own, the exe
# has no time stamp and no build path in it, and the zip's file order and times come from the commit.
#
# scripts/package.sh           the package, in dist/
# scripts/package.sh --check   builds it twice, in two folders with different paths, and compares
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

check=false
case ${1:-} in
  "") ;;
  --check) check=true ;;
  *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac

scripts/setup.sh python3
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "package: uncommitted changes are left out: the package is built from $(git rev-parse --short HEAD)" >&2
fi
commit=$(git rev-parse HEAD)
export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export TZ=UTC LC_ALL=C.UTF-8

# build_package FOLDER: exports the commit to FOLDER/src, builds libpng and the exe there, and
# leaves the zip in FOLDER/dist. Prints the zip's path.
build_package() {
  local folder=$1 src build version name stage
  rm -rf "$folder"
  src=$folder/src
  build=$src/build/windows
  mkdir -p "$src/build/deps/src"
  git archive --format=tar "$commit" | tar -x -C "$src"
  # The libpng source package already fetched for this checkout, if any: no second download.
  cp "$ROOT"/build/deps/src/libpng1.6_* "$src/build/deps/src/" 2>/dev/null || true
  "$src/scripts/deps-libpng.sh" >"$folder/deps.log" 2>&1 || { cat "$folder/deps.log" >&2; return 1; }
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >"$folder/build.log" 2>&1 &&
    cmake --build "$build" -j2 --target Vellicot >>"$folder/build.log" 2>&1 ||
    { tail -40 "$folder/build.log" >&2; return 1; }
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  name=Vellicot-$version-win64

  stage=$folder/stage
  mkdir -p "$stage" "$folder/dist"
  cp "$build/Vellicot.exe" "$stage/Vellicot.exe"
  # Notepad on every Windows reads UTF-8 with a byte-order mark and CR LF line ends.
  { printf '\xEF\xBB\xBF'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$src/docs/使い方.txt"; } >"$stage/使い方.txt"
  write_zip "$folder/dist/$name.zip" "$stage" Vellicot.exe 使い方.txt
  echo "$folder/dist/$name.zip"
}

# write_zip ZIP FOLDER FILE...: the files in this order, each with the commit's time, mode 644, no
# extra fields, and its name in UTF-8 with the flag that tells Windows' Explorer so (Info-ZIP's
# zip leaves that flag out, and the guide's Japanese name would come out garbled).
write_zip() {
  python3 - "$@" <<'PYTHON'
import os, sys, time, zipfile
out, folder, names = sys.argv[1], sys.argv[2], sys.argv[3:]
stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
with zipfile.ZipFile(out, "w") as archive:
    for name in names:
        entry = zipfile.ZipInfo(name, date_time=stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 3
        entry.external_attr = 0o100644 << 16
        with open(os.path.join(folder, name), "rb") as f:
            archive.writestr(entry, f.read(), compresslevel=9)
PYTHON
}

# Fails when the exe carries a time stamp in its PE header or a path of the folder it was built in.
check_exe() {
  local exe=$1 folder=$2 stamp
  stamp=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^Time\/Date[[:space:]]*//p')
  case $stamp in
    "Thu Jan  1 00:00:00 1970") ;;
    *) echo "package: $exe has a time stamp in its PE header: $stamp" >&2; return 1 ;;
  esac
  if grep -c -a -F "$folder" "$exe" >/dev/null; then
    echo "package: $exe holds the build path $folder" >&2
    return 1
  fi
}

report() {
  local zip=$1 exe
  exe=$(dirname "$zip")/../stage/Vellicot.exe
  echo "$(sha256sum "$exe" | cut -d' ' -f1)  Vellicot.exe"
  echo "$(sha256sum "$zip" | cut -d' ' -f1)  $(basename "$zip")"
}

if ! $check; then
  zip_path=$(build_package "$ROOT/build/package")
  check_exe "$ROOT/build/package/stage/Vellicot.exe" "$ROOT/build/package"
  mkdir -p dist
  cp "$zip_path" dist/
  echo "package: dist/$(basename "$zip_path") from $(git rev-parse --short "$commit")"
  report "$zip_path"
  exit 0
fi

# Two builds whose folders differ in path and length.
one=$ROOT/build/package-check/one
two=$ROOT/build/package-check/second-build-elsewhere
zip_one=$(build_package "$one")
zip_two=$(build_package "$two")
status=0
check_exe "$one/stage/Vellicot.exe" "$one" || status=1
check_exe "$two/stage/Vellicot.exe" "$two" || status=1
echo "== $one"
report "$zip_one"
echo "== $two"
report "$zip_two"
if cmp "$one/stage/Vellicot.exe" "$two/stage/Vellicot.exe" && cmp "$zip_one" "$zip_two"; then
  echo "package: the two builds are byte-identical"
else
  echo "package: the two builds differ" >&2
  status=1
fi
exit $status
