#!/usr/bin/env bash
# The import check against lists that differ from the DLL by one line: a
# function the list lacks (a new import) and one the DLL lacks must each
# fail the check and be named; the pinned list itself must pass.
#
#   dll_imports_test.sh DLL
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
check=$root/scripts/dll-imports.sh
dll=$1
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kn-dll-imports-test.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$check" "$dll" >"$tmp/out" 2>&1 || { fail "the pinned list does not pass:"; cat "$tmp/out"; }

new=$(grep -m1 '^KERNEL32.dll GetTickCount64$' "$root/tests/dll_imports.txt")
[ -n "$new" ] || fail "the pinned list has no KERNEL32.dll GetTickCount64 to leave out"
grep -vxF "$new" "$root/tests/dll_imports.txt" >"$tmp/without.txt"
printf '%s\n' "KERNEL32.dll GetTickCount" >>"$tmp/with-extra.txt"
cat "$root/tests/dll_imports.txt" >>"$tmp/with-extra.txt"
for row in "without.txt|imports what|$new" "with-extra.txt|no longer imports|KERNEL32.dll GetTickCount"; do
  IFS='|' read -r list message line <<<"$row"
  if KN_DLL_IMPORTS=$tmp/$list "$check" "$dll" >"$tmp/out" 2>&1; then
    fail "a list $list passes"
  else
    grep -qF "$message" "$tmp/out" && grep -qxF "  $line" "$tmp/out" ||
      { fail "the check against $list does not say '$message' and name '$line':"; cat "$tmp/out"; }
  fi
done
[ $failures -eq 0 ] || exit 1
echo "dll-imports: the check passes the pinned list and names a new and a lost import"
