#!/usr/bin/env bash
# Builds the release a second time, from a copy of the sources in another
# folder, and compares it byte for byte with what `make dist` made here: the
# zip and each program in it. Build paths, clocks and file order must not
# reach the bytes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs=${JOBS:-2}

# The release here first, so that both builds are of the same sources.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs" --target dist >build/repro.log 2>&1 || { cat build/repro.log; exit 1; }
shopt -s nullglob
zips=(build/dist/kaleidonote-*.zip)
[ ${#zips[@]} -eq 1 ] || { echo "dist-repro: expected one build/dist/kaleidonote-VERSION.zip"; exit 1; }
zip=${zips[0]}

# The working tree as it is (tracked and new files, not what git ignores), so
# uncommitted changes are in both builds; the copy has no history, so both
# builds are given the time of the commit.
copy=build/repro/kaleidonote
rm -rf build/repro
mkdir -p "$copy"
# A tracked file deleted in the working tree is left out of the copy too:
# tar names it in a warning and goes on.
git ls-files -z --cached --others --exclude-standard |
  tar --null --ignore-failed-read -T - -cf - | tar -xf - -C "$copy"
echo "dist-repro: $(date +%T) building the release again in $copy"
(cd "$copy" && cmake --preset windows >/dev/null && cmake --build --preset windows -j"$jobs" --target dist) \
  >build/repro.log 2>&1 || { cat build/repro.log; exit 1; }

different=0
for file in "$zip" build/windows/kaleidonote.dll build/windows/kn-desk.exe build/windows/kn-explain.exe \
  build/windows/kn-host.exe; do
  if cmp -s "$file" "$copy/$file"; then
    echo "dist-repro: same bytes: $file ($(stat -c %s "$file") bytes)"
  else
    echo "dist-repro: FAIL: $file differs from $copy/$file; first differing bytes:"
    # cmp's status says the files differ, which is already known here.
    cmp -l "$file" "$copy/$file" | head -5 || true
    different=1
  fi
done
[ $different -eq 0 ] || exit 1
rm -rf build/repro
echo "dist-repro: $(date +%T) the second build gave the same bytes"
