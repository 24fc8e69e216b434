#!/usr/bin/env bash
# Renders every example memo of the guide to the picture the guide shows, with
# the real DLL through the substitute host, so the pictures stay true.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/wine-prefix.sh
host=build/windows/kn-host.exe
mkdir -p docs/images
for memo in docs/examples/*.utf8.txt; do
  name="$(basename "$memo" .utf8.txt)"
  echo "docs: $name"
  scripts/wine-run "$host" render "$memo" "docs/images/$name.png" --utf8 </dev/null \
    >"build/docs-$name.log" 2>&1 || { cat "build/docs-$name.log"; exit 1; }
done
scripts/wine-run "$host" render examples/welcome.txt docs/images/welcome.png </dev/null >build/docs-welcome.log 2>&1
scripts/wine-run "$host" render examples/board/board-list.txt docs/images/board.png --board </dev/null >build/docs-board.log 2>&1
scripts/wine-run "$host" render examples/board/utf8-list.txt docs/images/board-utf8.png --board </dev/null >build/docs-board-utf8.log 2>&1
scripts/wine-run "$host" render docs/examples/links.utf8.txt docs/images/scroll-mode.png --scroll --utf8 </dev/null >build/docs-scroll.log 2>&1
echo "docs: pictures in docs/images"
