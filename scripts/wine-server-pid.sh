#!/bin/bash
# wine-server-pid.sh PREFIX: prints the process id of the Wine server that serves the prefix and
# succeeds, or fails when none runs. A server works in a folder named after the device and inode
# of its prefix (server-DEV-INODE, both in hex) below a folder of its own in /tmp (/tmp/.wine-UID,
# or a /tmp/wine-XXXXXX as Debian's Wine makes), which identifies it.
prefix=${1:?usage: wine-server-pid.sh PREFIX}
[ -d "$prefix" ] || exit 1
read -r dev inode < <(stat -L -c '%d %i' "$prefix") || exit 1
name=$(printf 'server-%x-%x' "$dev" "$inode")
for pid in $(pgrep -x 'wineserver(64)?'); do
  cwd=$(readlink "/proc/$pid/cwd" 2>/dev/null) || continue
  if [ "${cwd##*/}" = "$name" ]; then
    echo "$pid"
    exit 0
  fi
done
exit 1
