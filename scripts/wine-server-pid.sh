#!/bin/bash
# wine-server-pid.sh PREFIX: prints the process id of the Wine server that serves the prefix and
# succeeds, or fails when none runs. A server works in a folder named after the device and inode
# of its prefix (/tmp/.wine-UID/server-DEV-INODE, both in hex), which identifies it.
prefix=${1:?usage: wine-server-pid.sh PREFIX}
[ -d "$prefix" ] || exit 1
read -r dev inode < <(stat -L -c '%d %i' "$prefix") || exit 1
dir=$(printf '%s/.wine-%d/server-%x-%x' /tmp "$(id -u)" "$dev" "$inode")
for pid in $(pgrep -x 'wineserver(64)?'); do
  if [ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" = "$dir" ]; then
    echo "$pid"
    exit 0
  fi
done
exit 1
