#!/bin/bash
# Starts Xvfb (when the display is not up yet), makes the Wine prefix once (fonts, Japanese font
# replacements, and a 1280x1024 virtual desktop or, with VELLICOT_WINE_DESKTOP=none, none), and
# keeps a persistent wineserver running.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$VELLICOT_ROOT/build"
if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  # -noreset: a server that resets when its last client leaves refuses whoever connects meanwhile.
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  echo $! >"$WINEPREFIX.xvfb.pid"
  for _ in $(seq 100); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
fi
if [ ! -f "$WINEPREFIX/.vellicot-ready" ]; then
  rm -rf "$WINEPREFIX"
  timeout 300 wineboot -i </dev/null >/dev/null 2>&1
  timeout 120 wineserver -w
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # Without Wine's own Tahoma the replacement applies, and Japanese text gets real glyphs.
  rm -f "$WINEPREFIX"/drive_c/windows/Fonts/tahoma*.ttf
  touch "$WINEPREFIX/.vellicot-ready"
fi
# The Japanese stand-ins for "Meiryo UI" and "Tahoma", and the desktop; applied again whenever
# the files or the choice change, so an existing prefix follows them.
case $VELLICOT_WINE_DESKTOP in
  virtual) desktop_reg=$VELLICOT_ROOT/scripts/wine-desktop.reg ;;
  none) desktop_reg=$VELLICOT_ROOT/scripts/wine-nodesktop.reg ;;
  *) echo "wine-up: VELLICOT_WINE_DESKTOP is 'virtual' or 'none', not '$VELLICOT_WINE_DESKTOP'" >&2; exit 2 ;;
esac
setup_sum=$(cat "$VELLICOT_ROOT/scripts/wine-setup.reg" "$desktop_reg" | sha256sum | cut -d' ' -f1)
if [ "$(cat "$WINEPREFIX/.vellicot-ready")" != "$setup_sum" ]; then
  # A persistent server never ends by itself; stop it so the import's own server can end, write
  # the registry, and the desktop setting reaches the next server.
  wineserver -k 2>/dev/null || true
  for reg in "$VELLICOT_ROOT/scripts/wine-setup.reg" "$desktop_reg"; do
    timeout 120 wine regedit /S "$reg" </dev/null >/dev/null 2>&1
  done
  timeout 120 wineserver -w
  echo "$setup_sum" >"$WINEPREFIX/.vellicot-ready"
fi
# A persistent server: no start-up and linger per program. The warm-up keeps the services that
# the first program starts from inheriting a caller's pipe.
wineserver -p </dev/null >/dev/null 2>&1 || true  # already running is fine
timeout 120 wine wineboot </dev/null >/dev/null 2>&1 || true
