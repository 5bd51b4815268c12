#!/bin/bash
# wine-at-dpi.sh DPI COMMAND [ARGUMENT...]
# Runs a command with the Wine prefix's desktop at DPI (LogPixels: 120 = 125 %, 144 = 150 %,
# 192 = 200 %), in the prefix that VELLICOT_DPI_WINEPREFIX names (build/wineprefix-dpi by default, made
# by scripts/wine-up.sh when missing). Returns the command's exit code.
#
# The value is written while no server of the prefix runs and the server is started afresh, so the
# command's programs see it whichever way a Wine reads it (when the server starts, or when each
# program starts); after the command the value is taken away again and the prefix's server
# stopped, whatever the command did. Nothing of the prefix keeps running afterwards, and the
# tests' other prefixes never change their DPI.
set -uo pipefail
dpi=${1:?usage: wine-at-dpi.sh DPI COMMAND [ARGUMENT...]}
shift
[ $# -gt 0 ] || {
  echo "usage: wine-at-dpi.sh DPI COMMAND [ARGUMENT...]" >&2
  exit 2
}
[[ $dpi =~ ^[0-9]+$ ]] && [ "$dpi" -ge 48 ] && [ "$dpi" -le 480 ] || {
  echo "wine-at-dpi: DPI is 48 to 480, not '$dpi'" >&2
  exit 2
}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export VELLICOT_WINEPREFIX=${VELLICOT_DPI_WINEPREFIX:-$ROOT/build/wineprefix-dpi}
source "$ROOT/scripts/wine-env.sh"
desktop='HKCU\Control Panel\Desktop'

# Ends the prefix's server and waits until it has written the registry and gone. A program of the
# prefix that was still starting while the server ended (a service, the desktop process) can start a
# server of its own again; that one is ended too, so that the registry is written with none running.
stop_server() {
  local attempt
  for attempt in 1 2 3; do
    timeout 60 wineserver -k >/dev/null 2>&1
    timeout 60 wineserver -w >/dev/null 2>&1
    "$ROOT/scripts/wine-server-pid.sh" "$WINEPREFIX" >/dev/null || return 0
  done
  echo "wine-at-dpi: a Wine server of $WINEPREFIX still runs (process $("$ROOT/scripts/wine-server-pid.sh" "$WINEPREFIX"))" >&2
  return 1
}
# Changes the registry with no server of the prefix running, so the change is saved when the
# server that reg starts ends, and the next server reads it. What reg says is passed on when it
# fails.
set_dpi() {
  local out status
  stop_server || return 1
  out=$(mktemp)
  if [ "$1" = 96 ]; then
    timeout 120 wine reg delete "$desktop" /v LogPixels /f </dev/null >"$out" 2>&1
    status=0 # no value to delete is fine
  else
    timeout 120 wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >"$out" 2>&1
    status=$?
    [ $status = 0 ] || echo "wine-at-dpi: 'wine reg add' ended with $status: $(tr -d '\r' <"$out")" >&2
  fi
  rm -f "$out"
  timeout 60 wineserver -w >/dev/null 2>&1
  return $status
}

source "$ROOT/scripts/stop-started.sh"
cleanup() {
  set_dpi 96
  stop_server
  # The X server, only when wine-up.sh started it for this run.
  stop_what_we_started
}
trap cleanup EXIT

stop_later_x_server_of_wine_up
timeout 400 "$ROOT/scripts/wine-up.sh" >/dev/null 2>&1 || {
  echo "wine-at-dpi: scripts/wine-up.sh failed for $WINEPREFIX" >&2
  exit 1
}
set_dpi "$dpi" || {
  echo "wine-at-dpi: could not set LogPixels to $dpi" >&2
  exit 1
}
# The server is started again for the command, persistent as wine-up.sh keeps it.
timeout 400 "$ROOT/scripts/wine-up.sh" >/dev/null 2>&1 || {
  echo "wine-at-dpi: the server did not start again" >&2
  exit 1
}
"$@"
