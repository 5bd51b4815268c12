#!/bin/bash
# Checks the sources without building them. Run from the project's root (ctest does).
#   check-sources.sh format   every C++ file is as clang-format (.clang-format) writes it
#   check-sources.sh floors   each program folder includes only from itself and the floors below:
#                             core < platform < widgets, shell < windows < app (widgets and shell
#                             stand side by side and do not include each other); outside/, which
#                             works the program from another process, stands beside them and
#                             takes only core and platform; core includes the standard library
#                             only, so it never meets <windows.h>
# Prints each offence and exits 1 if there is one.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

sources() {
  git ls-files -- '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print
}

check_format() {
  local bad=0 file
  while read -r file; do
    if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then
      echo "not formatted: $file (clang-format -i $file)"
      bad=1
    fi
  done < <(sources)
  return $bad
}

floor_of() {
  case $1 in
    core) echo 0 ;;
    platform) echo 1 ;;
    widgets | shell | outside) echo 2 ;;
    windows) echo 3 ;;
    app) echo 4 ;;
    *) echo "" ;;
  esac
}

check_floors() {
  local bad=0 file folder own included target line
  while read -r file; do
    folder=${file%%/*}
    own=$(floor_of "$folder")
    [ -n "$own" ] || continue
    while IFS= read -r line; do
      included=$(sed -nE 's/^#include "([^"]+)".*/\1/p' <<<"$line")
      if [ -n "$included" ]; then
        target=${included%%/*}
        # The version header is generated into the build tree, from resources/.
        [ "$included" = VellicotVersion.h ] && target=platform
        [ "$target" = "$folder" ] && continue
        if [ "$target" = "$included" ] || [ -z "$(floor_of "$target")" ] ||
          [ "$(floor_of "$target")" -ge "$own" ]; then
          echo "$file includes \"$included\", which is not on a floor below"
          bad=1
        fi
      elif [ "$folder" = core ] && grep -qE '^#include <[^>]*\.h>' <<<"$line"; then
        echo "$file includes ${line#\#include }: core/ uses the standard library only"
        bad=1
      fi
    done < <(grep -E '^#include ' "$file")
  done < <(sources)
  return $bad
}

case ${1:-} in
  format) check_format ;;
  floors) check_floors ;;
  *)
    echo "usage: $0 format|floors" >&2
    exit 2
    ;;
esac
