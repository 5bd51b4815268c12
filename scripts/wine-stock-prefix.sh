#!/bin/bash
# Makes, once, two prefixes as Wine's users have them. build/wineprefix-stock: wineboot -i and nothing
# else (no fonts copied, no font replacements, no virtual desktop), as a new user of Wine has it; the
# end-to-end test e2e.StockPrefix runs the program there. build/wineprefix-player: the same with the
# font mapping the README gives players (taken from the README itself, and checked against the
# players' guide). windows.CaptionFit.Stock and .Player lay out the captions in both. Start the
# display first (scripts/wine-up.sh).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export VELLICOT_WINEPREFIX

# The .reg text the README tells players to save as vellicot-fonts.reg.
readme_reg() {
  awk '/Save this as `vellicot-fonts.reg`/ { found = 1; next }
       found && /```/ { if (inside) exit; inside = 1; next }
       inside { sub(/^  /, ""); print }' "$ROOT/README.md"
}

make_prefix() {
  VELLICOT_WINEPREFIX=$1
  source "$ROOT/scripts/wine-env.sh"
  [ -f "$WINEPREFIX/.vellicot-stock" ] && [ "$(cat "$WINEPREFIX/.vellicot-stock")" = "$2" ] && return 0
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  timeout 300 wineboot -i </dev/null >/dev/null 2>&1
  timeout 120 wineserver -w
  if [ -n "$2" ]; then
    printf '%s\n' "$2" >"$WINEPREFIX/vellicot-fonts.reg"
    timeout 120 wine regedit /S "$WINEPREFIX/vellicot-fonts.reg" </dev/null >/dev/null 2>&1
    timeout 120 wineserver -w
  fi
  printf '%s' "$2" >"$WINEPREFIX/.vellicot-stock"
}

reg=$(readme_reg)
grep -q 'Replacements' <<<"$reg" || { echo "wine-stock-prefix: no font mapping found in README.md" >&2; exit 1; }
# The players' guide gives the same lines.
while IFS= read -r line; do
  [ -z "$line" ] || grep -qF -- "$line" "$ROOT/docs/使い方.txt" ||
    { echo "wine-stock-prefix: docs/使い方.txt lacks the README's line: $line" >&2; exit 1; }
done <<<"$reg"

make_prefix "$ROOT/build/wineprefix-stock" ""
make_prefix "$ROOT/build/wineprefix-player" "$reg"
