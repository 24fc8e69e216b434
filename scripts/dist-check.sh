#!/usr/bin/env bash
# Checks the release zip that `make dist` wrote: what it holds and in which
# form; that its programs are the ones this build tested, stripped, without
# time stamps or build paths, the DLL importing exactly its pinned list
# (tests/dll_imports.txt) and exporting the entry points; and, under
# Wine from the extracted folder, that kn-host reads the DLL's version and
# renders the example board, and that kn-explain explains a memo in
# Japanese on a Japanese system and in English on another.
#
#   dist-check.sh [ZIP [BUILD_DIR]]
#
# ZIP defaults to the one zip in build/dist, BUILD_DIR to build/windows.
# Needs a running Wine session (scripts/wine-prefix.sh); CTest runs it with
# the Wine suites.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
export LC_ALL=C

failures=0
fail() { echo "dist-check: FAIL: $*"; failures=$((failures + 1)); }

shopt -s nullglob
if [ $# -ge 1 ]; then
  zip=$1
else
  zips=(build/dist/kaleidonote-*.zip)
  [ ${#zips[@]} -eq 1 ] || { echo "dist-check: expected one build/dist/kaleidonote-VERSION.zip (make dist)"; exit 1; }
  zip=${zips[0]}
fi
[ -f "$zip" ] || { echo "dist-check: $zip is missing (make dist)"; exit 1; }
build=${2:-build/windows}
name=$(basename "$zip" .zip)
version=${name#kaleidonote-}
work=build/dist-check
rm -rf "$work"
mkdir -p "$work"
unzip -q "$zip" -d "$work" || { echo "dist-check: $zip does not extract"; exit 1; }
top=$work/$name
objdump=i686-w64-mingw32-objdump

# True when every line of the file ends in CR LF, the last one included.
crlf_only() { [ -s "$1" ] && [ "$(tail -c1 "$1" | od -An -tx1 | tr -d ' ')" = 0a ] &&
  ! tr -d '\r' <"$1" | cmp -s - "$1" && [ "$(grep -c $'\r$' "$1")" = "$(wc -l <"$1")" ]; }
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }

echo "dist-check: the entries of $zip"
expected=$({ printf '%s\n' SHA256SUMS guide.html kaleidonote.dll kn-desk.exe kn-explain.exe \
  kn-host.exe readme.txt examples/welcome.txt; printf 'examples/%s\n' $(cd examples && echo board/*); } |
  sed "s|^|$name/|" | sort)
entries=$(unzip -Z1 "$zip")
[ "$entries" = "$expected" ] ||
  fail "entries are not the expected ones in sorted order: $(diff <(echo "$expected") <(echo "$entries") | grep '^[<>]' | tr '\n' ' ')"
grep -q $'[^\x21-\x7e]' <<<"$entries" && fail "an entry name is not plain ASCII"
[ "$(zipinfo -T "$zip" | awk '/^-/ { print $7 }' | sort -u | wc -l)" = 1 ] ||
  fail "the entries do not all carry one time"

echo "dist-check: SHA256SUMS"
(cd "$top" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
[ "$(wc -l <"$top/SHA256SUMS")" = "$(($(wc -l <<<"$entries") - 1))" ] ||
  fail "SHA256SUMS does not list every other file"
crlf_only "$top/SHA256SUMS" || fail "SHA256SUMS does not have CR LF line ends"

echo "dist-check: readme.txt"
readme=$top/readme.txt
[ "$(head -c3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "readme.txt does not start with a UTF-8 byte-order mark"
crlf_only "$readme" || fail "readme.txt does not have CR LF line ends"
tail -c +4 "$readme" | tr -d '\r' | cmp -s - <(sed "s/@VERSION@/$version/g" docs/ja/readme.txt) ||
  fail "readme.txt is not docs/ja/readme.txt with the version $version filled in"
head -1 "$readme" | grep -qF " $version" || fail "the first line of readme.txt does not name version $version"

echo "dist-check: guide.html"
guide=$top/guide.html
iconv -f UTF-8 -t UTF-8 "$guide" >/dev/null 2>&1 || fail "guide.html is not UTF-8"
grep -q '<html[^>]* lang="ja"' "$guide" || fail "guide.html does not say lang=\"ja\""
grep -q '<meta charset="utf-8"' "$guide" || fail "guide.html does not declare its charset"
title=$(sed -n '1s/^# *//p' docs/ja/guide.md)
grep -qF "<title>$title</title>" "$guide" || fail "the title of guide.html is not \"$title\""
grep -o '<img [^>]*src="[^"]*"' "$guide" | grep -v 'src="data:image/' | grep -q . &&
  fail "guide.html refers to pictures outside itself"
grep -qiE '<link [^>]*href=|<script [^>]*src=' "$guide" && fail "guide.html refers to files outside itself"
missing=()
for picture in $(grep -o '(\.\./images/[^)]*\.png)' docs/ja/guide.md | tr -d '()' | sort -u); do
  file=docs/ja/$picture
  if [ ! -f "$file" ]; then missing+=("${picture#../}"); continue; fi
  grep -qF "$(base64 -w0 "$file")" "$guide" || fail "guide.html does not carry the picture ${picture#../}"
done
[ ${#missing[@]} -eq 0 ] || echo "dist-check: note: pictures the guide refers to but docs/images lacks: ${missing[*]}"

echo "dist-check: examples"
# The text of an example without CRs; the lists gain comments for the zip,
# so their comments are left out.
example_text() {
  if [[ $2 == *list.txt ]]; then tr -d '\r' <"$1" | grep -v '^;'; else tr -d '\r' <"$1"; fi
}
for file in examples/welcome.txt examples/board/*; do
  packed=$top/$file
  crlf_only "$packed" || fail "$file does not have CR LF line ends"
  case $file in
    examples/welcome.txt | *list.txt)
      iconv -f CP932 -t UTF-8 "$packed" >/dev/null 2>&1 || fail "the memo $file is not code page 932 text" ;;
  esac
  cmp -s <(example_text "$packed" "$file") <(example_text "$file" "$file") ||
    fail "$file does not hold the text of the sources"
done
for list in "$top"/examples/board/*list.txt; do
  listed=$(tr -d '\r' <"$list" | grep -v -e '^;' -e '^[[:space:]]*$')
  [ -n "$listed" ] || fail "the board list ${list#$top/} names no file"
  for entry in $listed; do
    [ -f "$top/${entry//\\//}" ] || fail "the board list ${list#$top/} names $entry, which is not in the zip"
  done
done

echo "dist-check: programs"
for program in kaleidonote.dll kn-desk.exe kn-explain.exe kn-host.exe; do
  file=$top/$program
  cmp -s "$file" "$build/$program" || fail "$program is not the one in $build"
  headers=$($objdump -p "$file")
  grep -q $'^Time/Date\t\tThu Jan  1 00:00:00 1970$' <<<"$headers" || fail "$program has a time stamp in its PE header"
  $objdump -t "$file" | grep -q '^no symbols$' || fail "$program is not stripped (it has symbols)"
  $objdump -h "$file" | grep -q ' \.debug' && fail "$program carries debug sections"
  strings -a "$file" | grep -qF "$root" && fail "$program contains the build's path $root"
done
scripts/dll-imports.sh "$top/kaleidonote.dll" || fail "kaleidonote.dll does not import exactly tests/dll_imports.txt"
# The export table the build wrote from the host's contract: each entry
# point under its plain and its underscore name, nothing else.
exported=$($objdump -p "$top/kaleidonote.dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\t\[ *[0-9]*\] //p' | sort)
declared=$(sed -n '/^EXPORTS$/,$ s/^  \([A-Za-z0-9_]*\).*/\1/p' "$build/kaleidonote.def" | sort)
[ -n "$declared" ] || fail "$build/kaleidonote.def declares no exports"
[ "$exported" = "$declared" ] ||
  fail "kaleidonote.dll's exports are not those of $build/kaleidonote.def: $(diff <(echo "$declared") <(echo "$exported") | grep '^[<>]' | tr '\n' ' ')"

echo "dist-check: the extracted programs under Wine"
# Each Wine program takes minutes to start under emulation, so they all run
# side by side, each with its own log.
wine_in_top() {
  local log=$1
  shift
  (cd "$top" && "$root/scripts/wine-run" "$@" </dev/null >"$root/$work/$log" 2>&1)
}
wine_in_top info.log kn-host.exe info &
info=$!
# kn-explain as a person tries it on a memo: a prefix line whose date
# pattern runs into the next field (会議 %DATE %TIME). On a Japanese system
# it is run in a terminal, as from a command prompt: the console must show
# the Japanese words and the memo's characters, not the UTF-8 bytes read in
# the console's code page. On an English system (the C locale) its report
# goes to a file: UTF-8, in English.
printf '#cFF0000b+4|\x89\xEF\x8B\x63 %%DATE %%TIME\r\n' >"$top/date-memo.txt"
# The terminal is wide enough that the console wraps no line of the report.
(cd "$top" && script -qec "stty cols 300 rows 50; '$root/scripts/wine-run' kn-explain.exe date-memo.txt" \
  "$root/$work/explain-ja.log" </dev/null >/dev/null 2>&1) &
explain_ja=$!
(cd "$top" && KN_WINE_LOCALE=C "$root/scripts/wine-run" kn-explain.exe date-memo.txt </dev/null \
  >"$root/$work/explain-en.log" 2>"$root/$work/explain-en.err") &
explain_en=$!
# The example board from the extracted folder, as a user would try it: its
# list names the files relative to that folder. A board whose files were not
# found would show a one-line message instead of the picture of the guide.
if wine_in_top render.log kn-host.exe render 'examples\board\board-list.txt' board.png --board; then
  [ -f "$top/board.png" ] && [ "$(png_size "$top/board.png")" = "$(png_size docs/images/board.png)" ] ||
    fail "the example board from the zip is not the size of docs/images/board.png"
else
  fail "kn-host does not render the example board (see $work/render.log)"
fi
if wait $info; then
  grep -qx "version: $version" "$work/info.log" || fail "kn-host info does not print the DLL's version $version"
else
  fail "kn-host info fails on the packaged DLL (see $work/info.log)"
fi

# What the terminal showed: Wine's console draws each character between
# cursor hiding and showing, blanks as steps to the right, and clears the
# rest of the last line.
terminal_text() { perl -pe 's/\e\[\?25[lh]//g; s/\e\[K\e\[(\d+)C/" " x $1/ge; s/\e\[K//g; s/\r//g' "$1"; }
# Each line of the report that is to be there, as the person sees it.
expect_lines() {
  local what=$1 text=$2
  shift 2
  for line in "$@"; do
    grep -qxF -- "$line" <<<"$text" || fail "$what lacks the line: $line"
  done
}
if wait $explain_ja; then
  expect_lines "kn-explain in a Japanese terminal" "$(terminal_text "$work/explain-ja.log")" \
    '1行目: "#cFF0000b+4|会議 %DATE %TIME"' \
    '  色: FF0000、2バイト目の "cFF0000" から' \
    "  注意: %DATE のパターン \" \" が %TIME の '%' まで続くため、%TIME は展開されません。\"#cFF0000b+4|会議 %DATE% %TIME\" のつもりではありませんか"
else
  fail "kn-explain fails in a Japanese terminal (see $work/explain-ja.log)"
fi
if wait $explain_en; then
  [ -s "$work/explain-en.err" ] && fail "kn-explain on an English system complains: $(head -c 300 "$work/explain-en.err")"
  expect_lines "kn-explain's report on an English system" "$(tr -d '\r' <"$work/explain-en.log")" \
    'line 1: "#cFF0000b+4|会議 %DATE %TIME"' \
    '  colour: FF0000, from "cFF0000" at byte 2' \
    "  note: the %DATE pattern \" \" runs up to the '%' of %TIME, so %TIME is not expanded; probably meant \"#cFF0000b+4|会議 %DATE% %TIME\""
else
  fail "kn-explain fails on an English system (see $work/explain-en.log)"
fi

if [ $failures -ne 0 ]; then
  echo "dist-check: $failures failures"
  exit 1
fi
echo "dist-check: $zip is complete"
