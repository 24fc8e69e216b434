#!/usr/bin/env bash
# Makes, once, the Wine prefix for programs that show windows on an X
# display: a copy of the project's prefix (build/wineprefix, whose null
# graphics driver shows nothing) with the X11 driver chosen instead. Prints
# the copy's path. The copy is made again whenever the project's prefix is.
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/wine-env.sh"

base="$WINEPREFIX"
x11="${KN_X11_WINEPREFIX:-$KN_ROOT/build/wineprefix-x11}"

if [ ! -f "$base/.kn-ready" ]; then
  "$KN_ROOT/scripts/wine-prefix.sh" >&2
  "$KN_ROOT/scripts/wine-prefix.sh" stop
fi

exec 9>"$x11.lock"
flock 9
if [ ! -f "$x11/.kn-x11" ] || [ "$base/.kn-ready" -nt "$x11/.kn-x11" ]; then
  echo "wine-x11-prefix: copying the Wine prefix to $x11" >&2
  # Usually no server runs for the old copy, which is not a failure.
  WINEPREFIX="$x11" wineserver -k 2>/dev/null || true
  rm -rf "$x11"
  cp -a "$base" "$x11"
  rm -f "$x11/.kn-ready"
  # No server runs for the copy yet, so its registry file is edited as text.
  sed -i 's/^"Graphics"="null"$/"Graphics"="x11"/' "$x11/user.reg"
  grep -qs '^"Graphics"="x11"$' "$x11/user.reg" || { echo "wine-x11-prefix: no driver setting in $x11/user.reg" >&2; exit 1; }
  touch "$x11/.kn-x11"
fi
echo "$x11"
