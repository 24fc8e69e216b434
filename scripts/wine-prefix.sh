#!/usr/bin/env bash
# Creates the Wine prefix once: 32-bit, null graphics driver (real windows and
# dialogs without a display), and starts a persistent wineserver so that each
# test program starts quickly. `wine-prefix.sh stop` ends the server (unless
# KN_KEEP_WINESERVER is set).
#
# Creating a prefix takes minutes here (32-bit Wine runs under emulation), so
# it is made under a lock and marked ready only when complete: a second caller
# waits instead of finding a half-made prefix, and a half-made one is redone.
# The lock is held until the server's session is booted, so `make test` can
# run this in the background while the native suites build, and the Wine
# suites' own call waits for it.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

if [ "${1:-}" = "stop" ]; then
  # Other work on the same prefix may still need the server.
  [ -n "${KN_KEEP_WINESERVER:-}" ] && exit 0
  # No server left to end is the usual case, not a failure.
  wineserver -k 2>/dev/null || true
  exit 0
fi

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
# One attempt at a new prefix; what Wine printed goes to the log beside it.
create_prefix() {
  # What an interrupted creation left behind is started over; usually no
  # server runs for it, which is not a failure.
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
  local started=$SECONDS
  timeout 1800 wineboot -i >"$BOOT_LOG" 2>&1 </dev/null 9>&- || echo "wine-prefix: wineboot ended with $? after $((SECONDS - started)) s" | tee -a "$BOOT_LOG"
  timeout 900 wineserver -w || { echo "wine-prefix: the installation still ran after $((SECONDS - started)) s; ending it" | tee -a "$BOOT_LOG"; wineserver -k 2>/dev/null || true; }
  [ -f "$WINEPREFIX/drive_c/windows/system32/user32.dll" ] || { echo "wine-prefix: the installation did not finish ($((SECONDS - started)) s)"; return 1; }
  grep -qs '"Graphics"="null"' "$WINEPREFIX/user.reg" || { echo "wine-prefix: the driver setting was lost"; return 1; }
  echo "wine-prefix: created in $((SECONDS - started)) s"
}

if [ ! -f "$WINEPREFIX/.kn-ready" ]; then
  BOOT_LOG="$WINEPREFIX.log"
  echo "wine-prefix: creating $WINEPREFIX (once; this takes a few minutes)"
  # Under emulation a creation can die with the emulator: one more is made
  # from nothing before the run gives up.
  if ! create_prefix; then
    tail -n 20 "$BOOT_LOG" | sed 's/^/wine-prefix: | /'
    echo "wine-prefix: trying once more"
    create_prefix || { tail -n 20 "$BOOT_LOG" | sed 's/^/wine-prefix: | /'; exit 1; }
  fi
  touch "$WINEPREFIX/.kn-ready"
fi
# Keep one server alive for the whole run. A new server (it puts itself in
# the background once it listens) gets its session booted now: the helper
# processes the boot starts (services, devices) then hold no one's pipes, and
# the first test does not pay for the boot. A server already running for this
# prefix makes the start fail at once, and its session is booted already.
# Neither keeps the lock's descriptor.
if wineserver -p >/dev/null 2>&1 </dev/null 9>&-; then
  # A boot that never ends must not hold up the run: the tests boot what
  # is missing themselves.
  timeout 900 wineboot >/dev/null 2>&1 </dev/null 9>&- ||
    echo "wine-prefix: booting the session ended with status $?; the tests boot what is missing"
fi
flock -u 9
