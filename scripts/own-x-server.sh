# Source this: start_own_x_server FIRST LOG starts an X server (Xvfb, 1280x1024) of the caller's own
# on the first free display number from FIRST on (up to FIRST + 49), exports DISPLAY for it, sets
# OWN_XVFB_PID and succeeds; it fails when no number could be had. The caller ends the server.
#
# A number is taken when an X server answers there, its lock file or socket is in /tmp, or any
# process of the machine listens on its abstract socket (@/tmp/.X11-unix/XN). Abstract sockets
# are shared by every root on the machine (a chroot, a container without a network of its own)
# while /tmp is not: a server in another root answers there although this root's /tmp shows nothing,
# and goes away when that root's run ends.

x_display_taken() {
  local n=$1
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && return 0
  grep -qE "[[:space:]]@?/tmp/\.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && return 0
  xdpyinfo -display ":$n" >/dev/null 2>&1
}

start_own_x_server() {
  local first=${1:?first display number} log=${2:?log file} n fd_file
  fd_file=$(mktemp)
  OWN_XVFB_PID=
  for n in $(seq "$first" $((first + 49))); do
    x_display_taken "$n" && continue
    : >"$fd_file"
    # -noreset: otherwise the server resets each time its last client leaves, and refuses whoever
    # connects during the reset (one connection in ten right after a probe such as xdpyinfo).
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset -displayfd 3 3>"$fd_file" >"$log" 2>&1 &
    OWN_XVFB_PID=$!
    # It writes the number once it listens, and ends at once when another server holds the
    # number: its lock file here, or its abstract socket in any root (two runs choosing at once).
    for _ in $(seq 100); do
      [ -s "$fd_file" ] || ! kill -0 "$OWN_XVFB_PID" 2>/dev/null && break
      sleep 0.1
    done
    if [ -s "$fd_file" ] && kill -0 "$OWN_XVFB_PID" 2>/dev/null; then
      # Some servers write the number before they answer (Debian 13's Xvfb).
      for _ in $(seq 100); do
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
          rm -f "$fd_file"
          export DISPLAY=:$n
          return 0
        fi
        kill -0 "$OWN_XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
    fi
    kill "$OWN_XVFB_PID" 2>/dev/null
    wait "$OWN_XVFB_PID" 2>/dev/null
    OWN_XVFB_PID=
  done
  rm -f "$fd_file"
  return 1
}
