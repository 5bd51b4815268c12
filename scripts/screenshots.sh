#!/bin/bash
# Makes the README's pictures of the real program under Wine with tools/screenshots: at 100 %
# (docs/main.png, docs/picker.png, docs/menu.png, docs/hotkeys.png) and at 150 % (docs/main-150.png,
# docs/picker-150.png, docs/hotkeys-150.png), the record window at 100, 150 and 200 %
# (docs/records.png, docs/records-150.png, docs/records-200.png) and the new-best balloon at 100 and
# 150 % (docs/new-best.png, docs/new-best-150.png); the other 200 % ones and the menu at 150 and
# 200 % stay in build/windows/e2e-runs to be looked at.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
# What the run starts it also ends, as ./run does: the Wine server and the X server, each only when
# it was not running before.
source scripts/stop-started.sh
stop_later_wine_servers "$WINEPREFIX"
stop_later_x_server_of_wine_up
trap stop_what_we_started EXIT
scripts/wine-up.sh
timeout 300 wine build/windows/vellicot_screenshots.exe >build/screenshots.log 2>&1 || {
  cat build/screenshots.log
  exit 1
}
mkdir -p docs
for name in main picker; do
  /usr/bin/convert "build/windows/e2e-runs/Screenshots/$name.bmp" "docs/$name.png"
  /usr/bin/convert "build/windows/e2e-runs/Screenshots-150/$name-150.bmp" "docs/$name-150.png"
done
/usr/bin/convert build/windows/e2e-runs/HotkeyScreenshots/menu.bmp docs/menu.png
/usr/bin/convert build/windows/e2e-runs/HotkeyScreenshots/hotkeys.bmp docs/hotkeys.png
/usr/bin/convert build/windows/e2e-runs/HotkeyScreenshots-150/hotkeys-150.bmp docs/hotkeys-150.png
for suffix in "" -150 -200; do
  /usr/bin/convert "build/windows/e2e-runs/RecordScreenshots$suffix/records$suffix.bmp" "docs/records$suffix.png"
done
/usr/bin/convert build/windows/e2e-runs/NewBestScreenshot/new-best.bmp docs/new-best.png
/usr/bin/convert build/windows/e2e-runs/NewBestScreenshot-150/new-best-150.bmp docs/new-best-150.png
echo "docs/main.png docs/picker.png docs/main-150.png docs/picker-150.png docs/menu.png docs/hotkeys.png docs/hotkeys-150.png"
echo "docs/records.png docs/records-150.png docs/records-200.png docs/new-best.png docs/new-best-150.png"
