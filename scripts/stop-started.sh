# Source this: what ./run, ./test, scripts/bench.sh and scripts/wine-at-dpi.sh start (Wine servers of
# their prefixes, an X server) they stop again when they end, and never a server that was running
# before them.
#
#   stop_wine_server PREFIX          stops the Wine server of the prefix, when one runs, and waits
#                                    for its end
#   stop_later_wine_servers PREFIX.. stop_what_we_started will stop the Wine server of each prefix
#                                    that has none running now
#   stop_later_x_server PID          stop_what_we_started will stop the X server with this process id
#   stop_later_x_server_of_wine_up   stop_what_we_started will stop the Xvfb that scripts/wine-up.sh
#                                    starts for $WINEPREFIX when no X server answers on $DISPLAY now
#   stop_what_we_started             stops all of that (for a trap on EXIT; always succeeds)
#
# Every command here may fail without ending the caller: a trap runs under the caller's set -e, and
# a failing command there would end the trap before the rest is stopped.

STOP_STARTED_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
started_wine_prefixes=()
started_x_pid=
started_x_pid_file=

stop_wine_server() {
  local prefix=$1
  "$STOP_STARTED_ROOT/scripts/wine-server-pid.sh" "$prefix" >/dev/null || return 0
  WINEPREFIX=$prefix timeout 30 wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$prefix timeout 30 wineserver -w >/dev/null 2>&1 || true
}

stop_later_wine_servers() {
  local prefix
  for prefix in "$@"; do
    "$STOP_STARTED_ROOT/scripts/wine-server-pid.sh" "$prefix" >/dev/null || started_wine_prefixes+=("$prefix")
  done
}

stop_later_x_server() {
  started_x_pid=$1
}

stop_later_x_server_of_wine_up() {
  xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 || started_x_pid_file=$WINEPREFIX.xvfb.pid
}

# Ends the Xvfb with this process id, if it is one still, and waits (5 s at most) until it is gone,
# so that nothing of it is left when the command ends.
stop_x_server() {
  local pid=$1
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 0
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true # ends at once when it is not this shell's child
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 0
}

stop_what_we_started() {
  local prefix
  for prefix in "${started_wine_prefixes[@]}"; do
    stop_wine_server "$prefix"
  done
  [ -z "$started_x_pid" ] || stop_x_server "$started_x_pid"
  if [ -n "$started_x_pid_file" ] && [ -f "$started_x_pid_file" ]; then
    stop_x_server "$(cat "$started_x_pid_file")"
    rm -f "$started_x_pid_file"
  fi
  return 0
}
