#!/usr/bin/env bash
# Creates the Wine prefix once: 32-bit, null graphics driver (real windows and
# dialogs without a display), and starts a persistent wineserver so that each
# test program starts quickly. `wine-prefix.sh stop` ends the server (unless
# KN_KEEP_WINESERVER is set).
#
# Creating a prefix takes minutes here (32-bit Wine runs under emulation), so
# it is built in a scratch folder under a lock and moved into place only when
# complete: a second caller waits instead of finding a half-made prefix.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

if [ "${1:-}" = "stop" ]; then
  # Other work on the same prefix may still need the server.
  [ -n "${KN_KEEP_WINESERVER:-}" ] && exit 0
  wineserver -k 2>/dev/null || true
  exit 0
fi

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.kn-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX (once; this takes a few minutes)"
  final="$WINEPREFIX"
  scratch="$WINEPREFIX.new"
  rm -rf "$scratch"
  (
    export WINEPREFIX="$scratch"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
    wineserver -w
  )
  touch "$scratch/.kn-ready"
  wineserver -k 2>/dev/null || true
  rm -rf "$final"
  mv "$scratch" "$final"
fi
flock -u 9
# Keep one server alive for the whole run. A new server (it puts itself in
# the background once it listens) gets its session booted now: the helper
# processes the boot starts (services, devices) then hold no one's pipes, and
# the first test does not pay for the boot. A server already running for this
# prefix makes the start fail at once, and its session is booted already.
if wineserver -p >/dev/null 2>&1 </dev/null; then
  wineboot >/dev/null 2>&1 </dev/null || true
fi
