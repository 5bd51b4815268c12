#!/bin/bash
# Builds the Windows tree and runs the two benchmarks of the real Vellicot.exe under Wine, each
# against its baseline in the same run: start-up against a minimal Win32 window (with the peak
# working set and the exe's size), and pick to repaint against plain BUTTON controls. Benchmarks
# are not tests: ./test does not run this.
#
# scripts/bench.sh [--runs N] [--rounds N]
#   --runs N    start-ups of each program (default 10)
#   --rounds N  rounds of sixteen picks (default 2)
# VELLICOT_BUILD names the Windows build folder (default build/windows); VELLICOT_WINEPREFIX and
# DISPLAY choose the Wine prefix and display as for the tests.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VELLICOT_BUILD:-$ROOT/build/windows}
runs=10
rounds=2
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--runs N] [--rounds N]" >&2; exit 2 ;;
  esac
done

"$ROOT/scripts/deps-libpng.sh" >/dev/null
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
mkdir -p "$BUILD"
cmake --build "$BUILD" -j2 --target vellicot_startup_bench vellicot_pick_bench >"$BUILD/bench-build.log" 2>&1 || {
  tail -40 "$BUILD/bench-build.log"
  exit 1
}
"$ROOT/scripts/wine-up.sh"
source "$ROOT/scripts/wine-env.sh"

echo "== $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version), display $DISPLAY"
status=0
echo "== start-up"
timeout 900 wine "$BUILD/bench/vellicot_startup_bench.exe" --runs "$runs" </dev/null || status=1
echo "== pick to repaint"
timeout 900 wine "$BUILD/bench/vellicot_pick_bench.exe" --rounds "$rounds" </dev/null || status=1
exit $status
