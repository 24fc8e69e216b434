#!/usr/bin/env bash
# Shows the example chips (examples/desktop/three-chips.txt) with the desktop
# host under a virtual X display and writes a picture of them to
# docs/images/desktop.png (or the path given).
#
# Runs in the Wine prefix for programs that show windows (a copy of the
# project's prefix with the X11 driver; scripts/wine-x11-prefix.sh), with a
# wineserver of its own, so the shared prefix and its server are untouched.
# Each step under emulation takes a minute or more.
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/wine-env.sh"

root="$KN_ROOT"
out="$(realpath -m "${1:-$root/docs/images/desktop.png}")"
build="${KN_DESK_BUILD:-$root/build/windows}"
exe="$build/kn-desk.exe"
convert=/usr/bin/convert
[ -f "$exe" ] || { echo "desktop-screenshot: $exe is missing (make windows)"; exit 1; }

x11_prefix="$("$root/scripts/wine-x11-prefix.sh")"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/kn-desk-shot.XXXXXX")"
xvfb_pid=""
# Cleaning up after a run that stopped early: a server or display that is
# already gone is not a failure.
cleanup() {
  WINEPREFIX="$x11_prefix" wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A display number nobody uses.
display=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "desktop-screenshot: no free display"; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.2; done

cp "$root/examples/desktop/three-chips.txt" "$scratch/settings.txt"
win_settings="Z:${scratch//\//\\}\\settings.txt"  # Wine's Z: drive is the Unix root
echo "desktop-screenshot: starting kn-desk on $display (this takes minutes)"
# From the top folder, where the board chip's relative file names point.
(cd "$root" && DISPLAY="$display" WINEPREFIX="$x11_prefix" \
   wine "$exe" --settings "$win_settings" </dev/null >"$scratch/desk.log" 2>&1 &)

# The chip windows, as "WIDTHxHEIGHT+X+Y" lines.
chip_geometry() {
  DISPLAY="$display" xwininfo -root -tree 2>/dev/null |
    awk '/"Kaleidonote": / { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+$/) print $i }'
}
for _ in $(seq 1800); do  # up to half an hour on a busy machine
  [ "$(chip_geometry | wc -l)" -ge 3 ] && break
  sleep 1
done
[ "$(chip_geometry | wc -l)" -ge 3 ] || { echo "desktop-screenshot: the chips did not appear"; cat "$scratch/desk.log"; exit 1; }
sleep 5  # the first paint
DISPLAY="$display" import -window root "$scratch/screen.png"

# The chips pasted where they stand onto a plain desktop colour, cropped to them.
mapfile -t chips < <(chip_geometry)
read -r left top right bottom < <(printf '%s\n' "${chips[@]}" | awk -F'[x+]' '
  NR == 1 { l = $3; t = $4; r = $3 + $1; b = $4 + $2 }
  { if ($3 < l) l = $3; if ($4 < t) t = $4; if ($3 + $1 > r) r = $3 + $1; if ($4 + $2 > b) b = $4 + $2 }
  END { print l, t, r, b }')
margin=16
args=(-size "$((right - left + 2 * margin))x$((bottom - top + 2 * margin))" "xc:#3A6EA5")
for geometry in "${chips[@]}"; do
  IFS='x+' read -r w h x y <<<"$geometry"
  args+=("(" "$scratch/screen.png" -crop "${w}x${h}+${x}+${y}" +repage ")"
         -geometry "+$((x - left + margin))+$((y - top + margin))" -composite)
done
mkdir -p "$(dirname "$out")"
"$convert" "${args[@]}" "$out"
echo "desktop-screenshot: wrote $out"
