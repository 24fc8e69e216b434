#!/usr/bin/env bash
# The install step's decisions, against stand-ins for apt-get, dpkg-query,
# dpkg, sudo and id first on PATH that answer the way a half-synced mirror
# does: nothing on this machine is installed or removed. Each scenario checks
# the commands the step ran, in order, what it printed and how it ended.
set -uo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kn-install-deps-test.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
bin=$tmp/bin
mkdir -p "$bin"

# --- the stand-ins -------------------------------------------------------
# State lives in $STUB: installed (names, or * for everything), foreign
# (foreign architectures), update_failures (how many refreshes still fail),
# install_mode, release (the -t value that cures unpaired packages),
# commands (what ran) and queried (what dpkg-query was asked).
cat >"$bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "${KN_STUB_SUDO:+sudo }apt-get $*" >>"$STUB/commands"
case $1 in
  update)
    left=$(cat "$STUB/update_failures")
    echo "Hit:1 http://deb.debian.org/debian bookworm InRelease"
    if [ "$left" -gt 0 ]; then
      echo $((left - 1)) >"$STUB/update_failures"
      echo "Err:4 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
      echo "  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 151.101.2.132 80]"
      echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
      exit 100
    fi
    echo "Reading package lists..."
    exit 0 ;;
  install)
    shift
    release="" packages=()
    while [ $# -gt 0 ]; do
      case $1 in
        -t) release=$2; shift 2 ;;
        -*) shift ;;
        *) packages+=("$1"); shift ;;
      esac
    done
    echo "Reading package lists..."
    mode=$(cat "$STUB/install_mode")
    if [ "$mode" = unknown ]; then
      echo "E: Unable to locate package ${packages[-1]}" >&2
      exit 100
    fi
    if [ "$mode" = held ] && [ "$release" != "$(cat "$STUB/release")" ] || [ "$mode" = always-held ]; then
      echo "Some packages could not be installed. This may mean that you have"
      echo "requested an impossible situation or if you are using the unstable"
      echo "distribution that some required packages have not yet been created"
      echo "or been moved out of Incoming."
      echo "The following information may help to resolve the situation:"
      echo ""
      echo "The following packages have unmet dependencies:"
      echo " libwine:i386 : Depends: libssl3:i386 (>= 3.0.0) but it is not installable"
      echo " libxml2:i386 : Depends: zlib1g:i386 (>= 1:1.2.3.3) but it is not going to be installed"
      echo "E: Unable to correct problems, you have held broken packages." >&2
      exit 100
    fi
    [ "$mode" = forgets ] || printf '%s\n' "${packages[@]}" >>"$STUB/installed"
    for p in "${packages[@]}"; do echo "Setting up $p ..."; done ;;
  *) echo "apt-get stand-in: unexpected $*" >&2; exit 1 ;;
esac
STUB
# A plain shell without other programs: the step asks about each package.
cat >"$bin/dpkg-query" <<'STUB'
#!/bin/sh
# dpkg-query -W -f='${Status}' PACKAGE
for package; do :; done
echo "$package" >>"$STUB/queried"
while IFS= read -r line; do
  if [ "$line" = '*' ] || [ "$line" = "$package" ]; then printf 'install ok installed'; exit 0; fi
done <"$STUB/installed"
echo "dpkg-query: no packages found matching $package" >&2
exit 1
STUB
cat >"$bin/dpkg" <<'STUB'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$STUB/foreign" ;;
  --add-architecture) echo "${KN_STUB_SUDO:+sudo }dpkg $*" >>"$STUB/commands"; echo "$2" >>"$STUB/foreign" ;;
  *) echo "dpkg stand-in: unexpected $*" >&2; exit 1 ;;
esac
STUB
cat >"$bin/sudo" <<'STUB'
#!/usr/bin/env bash
KN_STUB_SUDO=1 exec "$@"
STUB
cat >"$bin/id" <<'STUB'
#!/usr/bin/env bash
[ "$1" = -u ] && { cat "$STUB/uid"; exit 0; }
exit 1
STUB
cat >"$bin/sleep" <<'STUB'
#!/usr/bin/env bash
echo "sleep $*" >>"$STUB/commands"
STUB
cat >"$bin/locale" <<'STUB'
#!/usr/bin/env bash
printf '%s\n' C C.utf8 ja_JP.utf8 POSIX
STUB
printf '#!/bin/sh\necho wine-8.0\n' >"$bin/wine-loader"
chmod +x "$bin"/*

# --- the scenarios -------------------------------------------------------
# name | set | uid | installed | foreign | failing refreshes | install mode |
# os-release codename (- for none) | -t that pairs | exit status |
# commands (; between, PKGS for the missing packages in order) |
# lines the output must hold (; between) | pattern no command may match
pkgs="apt-get install -y --no-install-recommends"
scenarios=(
  "everything present|all|0|*||0|ok|bookworm|bookworm|0||install-deps: all present (all)|."
  "native set only, as a user with sudo|native|1000|||0|ok|bookworm|bookworm|0|sudo apt-get update;sudo $pkgs PKGS|install-deps: all present (native)|wine|mingw|:i386|pandoc|xvfb|dpkg"
  "refresh fails twice, then works|all|0||i386|2|ok|bookworm|bookworm|0|apt-get update;sleep 20;apt-get update;sleep 20;apt-get update;$pkgs PKGS|Mirror sync in progress?;trying again in 20 s|-t"
  "refresh never works, install does|all|0||i386|9|ok|bookworm|bookworm|0|apt-get update;sleep 20;apt-get update;sleep 20;apt-get update;$pkgs PKGS|going on with the lists apt has;install-deps: all present (all)|-t"
  "unpaired until the release's versions|all|0|||9|held|bookworm|bookworm|0|dpkg --add-architecture i386;apt-get update;sleep 20;apt-get update;sleep 20;apt-get update;$pkgs PKGS;$pkgs -t bookworm PKGS|E: Unable to correct problems, you have held broken packages.;installed the release's own versions (-t bookworm)|^$"
  "the release is the one os-release names|all|0||i386|0|held|trixie|trixie|0|apt-get update;$pkgs PKGS;$pkgs -t trixie PKGS|installing the release's own versions (-t trixie)|bookworm"
  "unpaired with the release's versions too|all|0||i386|9|always-held|bookworm|bookworm|1|apt-get update;sleep 20;apt-get update;sleep 20;apt-get update;$pkgs PKGS;$pkgs -t bookworm PKGS|E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 151.101.2.132 80];E: Unable to correct problems, you have held broken packages.; libxml2:i386 : Depends: zlib1g:i386 (>= 1:1.2.3.3) but it is not going to be installed;when the mirror has finished syncing|^$"
  "a failure that is not about pairing|all|0||i386|0|unknown|bookworm|bookworm|1|apt-get update;$pkgs PKGS|E: Unable to locate package;when the mirror has finished syncing|-t"
  "no release named, no second try|all|0||i386|0|held|-|bookworm|1|apt-get update;$pkgs PKGS|held broken packages;when the mirror has finished syncing|-t"
  "apt says done but a package is missing|native|0|cmake||0|forgets|bookworm|bookworm|1|apt-get update;$pkgs PKGS|still not installed|^$"
)

failures=0
fail() { echo "FAIL [$name]: $*"; failures=$((failures + 1)); }
for row in "${scenarios[@]}"; do
  IFS='|' read -r name set uid installed foreign update_failures mode codename release status commands \
    expected_lines forbidden <<<"$row"
  failures_before=$failures
  STUB=$tmp/state
  rm -rf "$STUB"
  mkdir -p "$STUB"
  tr ' ' '\n' <<<"$installed" | grep . >"$STUB/installed"
  printf '%s' "$foreign" >"$STUB/foreign"
  echo "$update_failures" >"$STUB/update_failures"
  echo "$mode" >"$STUB/install_mode"
  echo "$release" >"$STUB/release"
  echo "$uid" >"$STUB/uid"
  : >"$STUB/commands"
  : >"$STUB/queried"
  if [ "$codename" = - ]; then printf 'ID=debian\n' >"$STUB/os-release"
  else printf 'PRETTY_NAME="Debian GNU/Linux"\nID=debian\nVERSION_CODENAME=%s\n' "$codename" >"$STUB/os-release"; fi

  PATH="$bin:$PATH" STUB=$STUB KN_OS_RELEASE=$STUB/os-release KN_WINE_LOADER=$bin/wine-loader \
    "$script" "$set" >"$tmp/out" 2>&1
  got_status=$?

  # The packages asked about and not present at the start, in order.
  missing=$(awk '!seen[$0]++' "$STUB/queried" | grep -vxF -f <(tr ' ' '\n' <<<"${installed:-none}") | tr '\n' ' ')
  missing=${missing% }
  expected=$(tr ';' '\n' <<<"$commands" | sed "s/PKGS/$missing/" | grep .)
  [ "$got_status" = "$status" ] || fail "exit status $got_status, expected $status"
  [ "$(cat "$STUB/commands")" = "$expected" ] ||
    fail "commands differ (expected <, ran >):"$'\n'"$(diff <(echo "$expected") "$STUB/commands" | grep '^[<>]')"
  while IFS= read -r line; do
    [ -z "$line" ] || grep -qF -- "$line" "$tmp/out" || fail "the output lacks: $line"
  done < <(tr ';' '\n' <<<"$expected_lines")
  grep -qE -- "$forbidden" "$STUB/commands" && fail "a command matches /$forbidden/: $(grep -E -- "$forbidden" "$STUB/commands" | head -1)"
  [ "$(grep -c 'when the mirror has finished syncing' "$tmp/out")" -le 1 ] || fail "the advice is given more than once"
  if [ "$failures" = "$failures_before" ]; then echo "ok: $name"; else echo "--- output of [$name]:"; cat "$tmp/out"; fi
done
[ "$failures" = 0 ] || exit 1
echo "install-deps: all ${#scenarios[@]} scenarios behave"
