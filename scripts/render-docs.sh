#!/usr/bin/env bash
# Renders every example memo of the guide to the picture the guide shows, with
# the real DLL through the substitute host, so the pictures stay true.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/wine-prefix.sh
host=build/windows/kn-host.exe
mkdir -p docs/images
# One picture: NAME, then kn-host's render arguments; its log is shown when
# it fails.
render() {
  local name=$1
  shift
  echo "docs: $name"
  scripts/wine-run "$host" render "$@" </dev/null >"build/docs-$name.log" 2>&1 ||
    { echo "docs: rendering $name failed:"; cat "build/docs-$name.log"; exit 1; }
}
shopt -s nullglob
memos=(docs/examples/*.utf8.txt)
[ ${#memos[@]} -gt 0 ] || { echo "docs: no example memos in docs/examples"; exit 1; }
for memo in "${memos[@]}"; do
  name="$(basename "$memo" .utf8.txt)"
  render "$name" "$memo" "docs/images/$name.png" --utf8
done
render welcome examples/welcome.txt docs/images/welcome.png
render board examples/board/board-list.txt docs/images/board.png --board
render board-utf8 examples/board/utf8-list.txt docs/images/board-utf8.png --board
render scroll docs/examples/links.utf8.txt docs/images/scroll-mode.png --scroll --utf8
echo "docs: pictures in docs/images"
