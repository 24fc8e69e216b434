#!/usr/bin/env bash
# Packages the release that a user downloads:
#
#   dist.sh VERSION OUTPUT_DIR PROGRAM...
#
# writes OUTPUT_DIR/kaleidonote-VERSION.zip with the programs, the Japanese
# readme (UTF-8 with a byte-order mark and CR LF, so Notepad shows it), the
# Japanese guide as one HTML page with its pictures inside, the examples in
# code page 932 as the host keeps memos, and SHA256SUMS. The build target
# `dist` (cmake/dist.cmake) calls it with the shipped programs.
#
# Reproducible: every entry carries the time of the commit (or
# SOURCE_DATE_EPOCH), fixed permissions and no extra attributes, in sorted
# order, so the same sources give the same bytes in any folder.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: dist.sh VERSION OUTPUT_DIR PROGRAM..." >&2; exit 2; }
version=$1
out=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
export LC_ALL=C TZ=UTC

fail() { echo "dist: $*" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null)} ||
  fail "not a git checkout: set SOURCE_DATE_EPOCH to the time of the sources"
[[ $epoch =~ ^[0-9]+$ ]] || fail "SOURCE_DATE_EPOCH is not a number: $epoch"

name=kaleidonote-$version
zip=$out/$name.zip
stage=$(mktemp -d "$out/stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
top=$stage/$name
mkdir -p "$top/examples/board"

# Text for Windows: CR LF line ends whatever the source has.
crlf() { sed 's/\r$//; s/$/\r/'; }
# A memo must be code page 932 text, as the host keeps memos.
memo_text() {
  iconv -f CP932 -t UTF-8 "$1" >/dev/null 2>&1 || fail "$1 is a memo but not code page 932 text"
  crlf <"$1"
}

for program in "$@"; do
  cp "$program" "$top/"
done

readme=docs/ja/readme.txt
grep -q '@VERSION@' "$readme" || fail "$readme has no @VERSION@ to fill"
{ printf '\xEF\xBB\xBF'; sed '1s/^\xEF\xBB\xBF//; s/@VERSION@/'"$version"'/g' "$readme" | crlf; } \
  >"$top/readme.txt"

# The guide: one page that shows its pictures even when opened from inside
# the zip. Lines are not rewrapped: a line break inside Japanese text would
# show as a space. Wide columns let the browser size the tables' columns
# to their text instead of by the dashes under their headings.
guide=docs/ja/guide.md
title=$(sed -n '1s/^# *//p' "$guide")
[ -n "$title" ] || fail "$guide does not start with a '# ' title"
# pandoc decodes its arguments by the locale: the title is UTF-8.
LC_ALL=C.UTF-8 pandoc "$guide" --from markdown --to html5 --standalone --self-contained \
  --wrap=none --columns=10000 --resource-path=docs/ja --css scripts/dist-guide.css \
  --lua-filter scripts/dist-guide.lua -V lang=ja --metadata pagetitle="$title" -o "$top/guide.html"

# The examples: the memos (welcome.txt and the board lists) as the host keeps
# them; the board files as they are. A list names its files relative to the
# extracted folder, where kn-desk and kn-host start; the host itself needs
# full paths, which a comment at its top explains.
memo_text examples/welcome.txt >"$top/examples/welcome.txt"
for file in examples/board/*; do
  case $file in
    *list.txt)
      {
        iconv -f UTF-8 -t CP932 <<'TEXT' | crlf
; 掲示板モードのメモの例です。ファイル名は、展開したフォルダーからの相対パスで書いてあります。
; 展開したフォルダーにある kn-desk.exe や kn-host.exe なら、このまま表示できます。
; ホストのチップで使うときは、ファイル名をフルパスに書き換えてください（例: C:\kaleidonote\examples\board\notice.txt）。
; メモの編集からかれいど帳のファイル選択を使うと、選んだファイルのフルパスが1行追加されます。
TEXT
        memo_text "$file" | grep -v '^;'
      } >"$top/$file" ;;
    *) crlf <"$file" >"$top/$file" ;;
  esac
done

(cd "$top" && find . -type f | sort | sed 's|^\./||' | xargs sha256sum | crlf) >"$stage/SHA256SUMS"
mv "$stage/SHA256SUMS" "$top/SHA256SUMS"

find "$top" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$top" -exec touch -h -d "@$epoch" {} +
rm -f "$out"/kaleidonote-*.zip
(cd "$stage" && find "$name" -type f | sort | zip -q -X -D -9 "$zip" -@)
echo "dist: $zip ($(stat -c %s "$zip") bytes)"
