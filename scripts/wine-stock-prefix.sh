#!/bin/bash
# Makes, once, a stock Wine prefix at build/wineprefix-stock: wineboot -i and nothing else (no fonts
# copied, no font replacements, no virtual desktop), as a new user of Wine has it. The end-to-end
# test e2e.StockPrefix runs the program there. Start the display first (scripts/wine-up.sh).
set -euo pipefail
export VELLICOT_WINEPREFIX
VELLICOT_WINEPREFIX=$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix-stock
source "$(dirname "$0")/wine-env.sh"
[ -f "$WINEPREFIX/.vellicot-stock" ] && exit 0
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
timeout 300 wineboot -i </dev/null >/dev/null 2>&1
timeout 120 wineserver -w
touch "$WINEPREFIX/.vellicot-stock"
