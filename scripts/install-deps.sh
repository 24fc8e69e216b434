#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine.
#
#   install-deps.sh [native|all]
#
# native: the native compilers and test libraries (the native, asan and fuzz
# builds); all (the default): those and the cross compiler, Wine with its
# 32-bit part, the Japanese locale and fonts, and the release's tools.
# Idempotent: when everything is present it only checks and returns.
#
# A package mirror in the middle of a sync is an ordinary day: a refresh of
# the package lists is retried and, when some index still cannot be read,
# the install goes on with the lists apt has. When the amd64 and i386 halves
# of a library then cannot be paired (one from the security updates, the
# other only from the release), the same set is installed from the release's
# own versions, which match across architectures.
#
# For tests: KN_OS_RELEASE names the os-release file (default
# /etc/os-release), KN_WINE_LOADER the 32-bit Wine loader, and
# KN_APT_UPDATE_TRIES / KN_APT_RETRY_PAUSE the refresh's attempts and the
# seconds between them.
set -euo pipefail

set_name=${1:-all}
# The native, asan and fuzz builds: CMake and Ninja, g++ (native), clang
# with its sanitizer and libFuzzer runtimes (asan, fuzz), GoogleTest and
# Google Benchmark, valgrind for the benchmarks' instruction counts, and
# the XXH3 header that every build of the core (the DLL's too) compiles in.
native_packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev valgrind
                 libxxhash-dev)
# The windows build, the Wine suites and the release: the cross compiler,
# GoogleTest's sources (built by the cross compiler), 32-bit Wine (wine64
# gives the native wineserver, which serves the 32-bit programs without
# emulation), qemu for kernels that cannot run 32-bit programs, the
# Japanese locale and fonts the chips draw with, pandoc and zip for the
# release, unzip for its check, Xvfb, xwininfo and ImageMagick for the
# desktop screenshot, and FUSE with its Python binding for the share that
# stalls in the board tests.
wine_packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest wine wine64 wine32:i386 qemu-user-static
               locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation pandoc zip unzip
               xvfb x11-utils imagemagick fuse3 python3-fusepy)
case $set_name in
  native) packages=("${native_packages[@]}") ;;
  all) packages=("${native_packages[@]}" "${wine_packages[@]}") ;;
  *) echo "usage: install-deps.sh [native|all]" >&2; exit 2 ;;
esac

say() { echo "install-deps: $*"; }
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# The release's code name (bookworm on Debian 12), for installing its own
# versions; empty when the system does not name one.
release_codename() {
  local file=${KN_OS_RELEASE:-/etc/os-release}
  [ -r "$file" ] || return 0
  (set +u; . "$file"; echo "${VERSION_CODENAME:-}")
}

# dpkg-query's complaint about a package it does not know is the answer
# "not installed", not an error.
have_pkg() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]; }
missing_packages() {
  local p
  for p in "$@"; do have_pkg "$p" || echo "$p"; done
}

# Refreshes the package lists. An index that stays out after the last try
# (a mirror that is still syncing) does not stop the install: apt's own
# message says which one, and the lists apt has may well do.
refresh_lists() {
  local tries=${KN_APT_UPDATE_TRIES:-3} pause=${KN_APT_RETRY_PAUSE:-20} try
  for ((try = 1; try <= tries; try++)); do
    $SUDO apt-get update && return 0
    if [ "$try" -lt "$tries" ]; then
      say "refreshing the package lists failed (attempt $try of $tries); trying again in $pause s"
      sleep "$pause"
    fi
  done
  say "some package lists could not be refreshed (see apt's lines above); going on with the lists apt has"
}

# apt-get install with its output shown and kept in $install_log.
install_log=$(mktemp "${TMPDIR:-/tmp}/kn-install-deps.XXXXXX")
trap 'rm -f "$install_log"' EXIT
apt_install() {
  $SUDO apt-get install -y --no-install-recommends "$@" 2>&1 | tee "$install_log"
}
# apt's answer when the two architectures' versions of a library differ.
packages_unpaired() { grep -qE "held broken packages|Unable to correct problems" "$install_log"; }

install_packages() {
  export DEBIAN_FRONTEND=noninteractive
  refresh_lists
  apt_install "$@" && return 0
  local codename
  codename=$(release_codename)
  if packages_unpaired && [ -n "$codename" ]; then
    say "apt could not pair the amd64 and i386 versions of some packages; installing the release's own versions (-t $codename), which match"
    if apt_install -t "$codename" "$@"; then
      say "installed the release's own versions (-t $codename) of: $*"
      return 0
    fi
  fi
  say "apt could not install the packages (its lines are above); when the mirror has finished syncing, run \`${SUDO:+sudo }apt-get update\` and this command again, or install them by hand: ${SUDO:+sudo }apt-get install${codename:+ -t $codename} $*"
  exit 1
}

mapfile -t need < <(missing_packages "${packages[@]}")
if [ ${#need[@]} -gt 0 ]; then
  say "installing ${need[*]}"
  if [[ " ${need[*]} " == *:i386\ * ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  install_packages "${need[@]}"
  mapfile -t still < <(missing_packages "${need[@]}")
  [ ${#still[@]} -eq 0 ] || { say "apt reported success but these are still not installed: ${still[*]}"; exit 1; }
fi

if [ "$set_name" = all ]; then
  # Wine needs the Japanese locale on the Linux side to run in code page 932.
  if ! locale -a | grep -qi '^ja_JP\.utf-\?8$'; then
    say "generating ja_JP.UTF-8"
    $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen
  fi
  # 32-bit Wine needs the kernel to run 32-bit Linux programs. Kernels built
  # without IA-32 emulation (as in some virtual machines) cannot: there the
  # i386 programs are handed to qemu's user-mode emulator through binfmt_misc.
  # The first try is only a probe: its failure is what decides.
  wine_loader=${KN_WINE_LOADER:-/usr/lib/wine/wine}
  if ! "$wine_loader" --version >/dev/null 2>&1; then
    if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
      $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
      say "running 32-bit programs through qemu-i386-static"
      printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
        | $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
    fi
    "$wine_loader" --version || { say "32-bit Wine cannot run here ($wine_loader --version fails, above)"; exit 1; }
  fi
fi
say "all present ($set_name)"
