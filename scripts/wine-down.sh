#!/bin/bash
# Ends every Wine process of the prefix and the Xvfb that wine-up.sh started.
source "$(dirname "$0")/wine-env.sh"
wineserver -k 2>/dev/null || true
if [ -f "$WINEPREFIX.xvfb.pid" ]; then
  kill "$(cat "$WINEPREFIX.xvfb.pid")" 2>/dev/null || true
  rm -f "$WINEPREFIX.xvfb.pid"
fi
