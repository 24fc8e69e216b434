#!/usr/bin/env bash
# Creates the Wine prefix once: 32-bit, null graphics driver (real windows and
# dialogs without a display), and starts a persistent wineserver so that each
# test program starts in milliseconds. `wine-prefix.sh stop` ends the server.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

if [ "${1:-}" = "stop" ]; then
  wineserver -k 2>/dev/null || true
  exit 0
fi

if [ ! -f "$WINEPREFIX/.kn-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$WINEPREFIX/.kn-ready"
fi
# Keep one server alive for the whole run; its pipes go nowhere.
wineserver -p >/dev/null 2>&1 </dev/null &
disown || true
wineboot >/dev/null 2>&1 </dev/null || true
