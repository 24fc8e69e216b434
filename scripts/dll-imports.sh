#!/usr/bin/env bash
# The DLL's imports against the pinned list, tests/dll_imports.txt: every
# function it imports, by DLL. A new import must be a reviewed change to the
# list, since it can raise the oldest Windows the DLL loads on (the Japanese
# guide and readme say which).
#
#   dll-imports.sh DLL          fails, naming each difference, unless DLL
#                               imports exactly what the list holds
#   dll-imports.sh --list DLL   prints DLL's imports in the list's form
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# KN_DLL_IMPORTS names another list (for the check's own test).
pinned=${KN_DLL_IMPORTS:-$root/tests/dll_imports.txt}
objdump=i686-w64-mingw32-objdump
export LC_ALL=C

list_only=""
[ "${1:-}" = --list ] && { list_only=1; shift; }
[ $# -eq 1 ] || { echo "usage: dll-imports.sh [--list] DLL" >&2; exit 2; }
dll=$1
headers=$($objdump -p "$dll")

# "DLL function" per imported function, from objdump's import tables: a
# "DLL Name:" line, then one line per function (address, hint, name); a
# line of another form there (an import by ordinal) is kept whole, so that
# it shows as a difference.
imports=$(awk '/^\tDLL Name: / { dll = $3; next }
               /^[^\t ]/ { dll = "" }
               dll && /^\t[0-9a-f]+\t/ {
                 if ($0 ~ /^\t[0-9a-f]+\t +[0-9]+  [^ ]+$/) print dll, $3; else print dll, "unread:" $0
               }' <<<"$headers" | sort -u)
[ -n "$imports" ] || { echo "dll-imports: found no imports in $dll (has objdump's format changed?)" >&2; exit 1; }
if [ -n "$list_only" ]; then echo "$imports"; exit 0; fi

status=0
# Functions imported only when first called are not in the import tables
# above; the DLL has none.
delay=$(awk '/Delay Import Directory$/ { print $3 }' <<<"$headers")
[ "$delay" = 00000000 ] || { echo "dll-imports: FAIL: $dll has a delay-load import directory"; status=1; }
expected=$(grep -v -e '^#' -e '^$' "$pinned" | sort -u)
added=$(comm -13 <(echo "$expected") <(echo "$imports"))
gone=$(comm -23 <(echo "$expected") <(echo "$imports"))
if [ -n "$added" ]; then
  echo "dll-imports: FAIL: $dll imports what $pinned does not hold:"
  sed 's/^/  /' <<<"$added"
  status=1
fi
if [ -n "$gone" ]; then
  echo "dll-imports: FAIL: $pinned holds what $dll no longer imports:"
  sed 's/^/  /' <<<"$gone"
  status=1
fi
[ $status -ne 0 ] || echo "dll-imports: $dll imports the $(wc -l <<<"$imports") functions of $pinned"
exit $status
