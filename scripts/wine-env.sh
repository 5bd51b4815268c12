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
# Wine gives a file the name in the locale's character set: in the POSIX locale (a fresh system, a
# container, a shell without LANG) no Japanese name such as the settings file's can be made.
case $(locale charmap 2>/dev/null) in
  UTF-8) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
