# Sourced by the scripts that run Wine: code page 932, no diagnostics, and a
# prefix inside the build folder.
KN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${KN_WINEPREFIX:-$KN_ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export LANG=ja_JP.UTF-8
# KN_WINE_LOCALE plays a system of another language (C: English, code page 1252).
export LC_ALL="${KN_WINE_LOCALE:-ja_JP.UTF-8}"
export WINEARCH=win32
