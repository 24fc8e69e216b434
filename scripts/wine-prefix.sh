#!/usr/bin/env bash
# Creates the Wine prefix once: 32-bit, null graphics driver (real windows and
# dialogs without a display), and starts a persistent wineserver so that each
# test program starts quickly. `wine-prefix.sh stop` ends the server (unless
# KN_KEEP_WINESERVER is set).
#
# Creating a prefix takes minutes here (32-bit Wine runs under emulation), so
# it is made under a lock and marked ready only when complete: a second caller
# waits instead of finding a half-made prefix, and a half-made one is redone.
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
  # What an interrupted creation left behind is started over.
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # The null driver is chosen before the first start, in the user registry
  # that the server loads, so that no program has to set it afterwards.
  printf '%s\n' 'WINE REGISTRY Version 2' '' \
    '[Software\\Wine\\Drivers] 0' '"Graphics"="null"' >"$WINEPREFIX/user.reg"
  # wineboot may return before the installation it starts has ended; the
  # server ends only after every process of the installation has.
  # A process that never ends must not hold up the run: after a quarter of
  # an hour of waiting the server is ended, which saves the registry.
  timeout 1800 wineboot -i >/dev/null 2>&1 </dev/null || true
  timeout 900 wineserver -w || wineserver -k 2>/dev/null || true
  [ -f "$WINEPREFIX/drive_c/windows/system32/user32.dll" ] || { echo "wine-prefix: the installation did not finish"; exit 1; }
  grep -qs '"Graphics"="null"' "$WINEPREFIX/user.reg" || { echo "wine-prefix: the driver setting was lost"; exit 1; }
  touch "$WINEPREFIX/.kn-ready"
fi
flock -u 9
# Keep one server alive for the whole run. A new server (it puts itself in
# the background once it listens) gets its session booted now: the helper
# processes the boot starts (services, devices) then hold no one's pipes, and
# the first test does not pay for the boot. A server already running for this
# prefix makes the start fail at once, and its session is booted already.
if wineserver -p >/dev/null 2>&1 </dev/null; then
  # A boot that never ends must not hold up the run: the tests boot what
  # is missing themselves.
  timeout 900 wineboot >/dev/null 2>&1 </dev/null || true
fi
