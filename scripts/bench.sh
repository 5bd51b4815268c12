#!/bin/bash
# Builds the Windows tree and runs the benchmarks of the real Vellicot.exe under Wine, each against
# its baseline in the same run, at the display scale asked for: start-up against a minimal Win32
# window (where the time goes, the peak working set and the exe's size), pick to repaint and full
# repaints against plain BUTTON controls, CPU at rest with the pointer on a tree button against the
# pointer away, and where a repaint goes inside the program. Ends with a table of every figure
# against its baseline and goal. Benchmarks are not tests: ./test does not run this.
#
# scripts/bench.sh [--runs N] [--rounds N] [--dpi N] [--seconds N]
#   --runs N     start-ups of each program (default 10)
#   --rounds N   rounds of sixteen picks (default 2)
#   --dpi N      the desktop's LogPixels for the run (default 96; 120, 144, 192 are 125, 150, 200 %),
#                put back as it was afterwards, also when a benchmark fails
#   --seconds N  each span of the CPU measurement at rest (default 10)
# VELLICOT_BUILD names the Windows build folder (default build/windows); VELLICOT_WINEPREFIX and
# DISPLAY choose the Wine prefix and display as for the tests.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VELLICOT_BUILD:-$ROOT/build/windows}
runs=10
rounds=2
dpi=96
seconds=10
usage() {
  echo "usage: scripts/bench.sh [--runs N] [--rounds N] [--dpi N] [--seconds N]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] && [[ $2 =~ ^[0-9]+$ ]] || usage
  case $1 in
    --runs) runs=$2 ;;
    --rounds) rounds=$2 ;;
    --dpi) dpi=$2 ;;
    --seconds) seconds=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[ "$dpi" -ge 48 ] && [ "$dpi" -le 480 ] || {
  echo "--dpi takes 48 to 480" >&2
  exit 2
}

"$ROOT/scripts/deps-libpng.sh" >/dev/null
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
mkdir -p "$BUILD"
cmake --build "$BUILD" -j2 --target vellicot_startup_bench vellicot_pick_bench vellicot_idle_bench \
  vellicot_glass_bench >"$BUILD/bench-build.log" 2>&1 || {
  tail -40 "$BUILD/bench-build.log"
  exit 1
}
source "$ROOT/scripts/wine-env.sh"
# What the run starts it also ends, as ./run does: the Wine server and the X server, each only when
# it was not running before.
source "$ROOT/scripts/stop-started.sh"
stop_later_wine_servers "$WINEPREFIX"
stop_later_x_server_of_wine_up
trap stop_what_we_started EXIT
"$ROOT/scripts/wine-up.sh"

# The desktop's DPI, read by each program as it starts: set for the run, put back on every way out.
desktop='HKCU\Control Panel\Desktop'
old_dpi=$(timeout 60 wine reg query "$desktop" /v LogPixels </dev/null 2>/dev/null |
  tr -d '\r' | awk '$1 == "LogPixels" { print $3 }') || true
restore_dpi() {
  if [ -n "$old_dpi" ]; then
    timeout 60 wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((old_dpi))" /f </dev/null >/dev/null 2>&1
  else
    timeout 60 wine reg delete "$desktop" /v LogPixels /f </dev/null >/dev/null 2>&1
  fi
}
end_run() {
  restore_dpi || echo "the desktop's LogPixels could not be put back" >&2
  stop_what_we_started
}
trap end_run EXIT
trap 'exit 130' INT TERM
timeout 60 wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1 || {
  echo "could not set the desktop's LogPixels to $dpi" >&2
  exit 1
}

log=$BUILD/bench.log
: >"$log"
echo "== $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version), display $DISPLAY," \
  "LogPixels $dpi (was ${old_dpi:+$((old_dpi))}${old_dpi:-unset})" | tee -a "$log"
status=0
# Runs one driver with its output in a file (a pipe could be held open by Wine's services), then
# shows it.
run() {
  local title=$1 out=$BUILD/bench-$2.out
  shift 2
  echo "== $title" | tee -a "$log"
  timeout 900 wine "$@" </dev/null >"$out" 2>&1 || {
    echo "FAILED: $title (exit $?)" >>"$out"
    status=1
  }
  tr -d '\r' <"$out" | { grep -v '^ROW|' || true; } | tee -a "$log"
  tr -d '\r' <"$out" | { grep '^ROW|' || true; } >>"$log.rows"
}
: >"$log.rows"
run "start-up" startup "$BUILD/bench/vellicot_startup_bench.exe" --runs "$runs"
run "pick to repaint, full repaints" pick "$BUILD/bench/vellicot_pick_bench.exe" --rounds "$rounds"
run "CPU at rest" idle "$BUILD/bench/vellicot_idle_bench.exe" --seconds "$seconds"
run "repaints in process (where a repaint goes)" glass "$BUILD/bench/vellicot_glass_bench.exe"

echo "== summary at $dpi DPI (medians; every baseline measured in the same run)" | tee -a "$log"
{
  echo "| what | Vellicot | baseline | ratio | goal | |"
  echo "|---|---|---|---|---|---|"
  awk -F'|' '{ printf "| %s | %s | %s | %s | %s | %s |\n", $2, $3, $4, $5, $6, $7 }' "$log.rows"
} | tee -a "$log"
rm -f "$log.rows"
exit $status
