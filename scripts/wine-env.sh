# Source this: the Wine prefix and display that the project's programs and tests run in.
# VELLICOT_WINEPREFIX and DISPLAY may be set beforehand to run several sessions side by side;
# VELLICOT_WINE_DESKTOP=none makes a prefix without the virtual desktop (as ./run uses).
VELLICOT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${VELLICOT_WINEPREFIX:-$VELLICOT_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=${DISPLAY:-:91}
export VELLICOT_WINE_DESKTOP=${VELLICOT_WINE_DESKTOP:-virtual}
