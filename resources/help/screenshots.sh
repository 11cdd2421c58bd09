#!/usr/bin/env bash
# Makes the guide's pictures with the program's own screenshot tool (velaro-screenshots), so that
# they show the windows as the program draws them:
#   main.png     the main window, at 70 % so that it stands beside the contents' text
#   TForm20.png  a calculator: window openings with separate sashes, at its own size
# Both are quantised to a small palette: the windows are flat colours and text.
#
# Usage: resources/help/screenshots.sh [build dir]    (default: build beside resources/)
# Needs ImageMagick (Debian imagemagick).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:-$here/../../build}"
export LC_ALL=C.UTF-8 TZ=UTC SOURCE_DATE_EPOCH=0

# ImageMagick's own converter (a same-named wrapper earlier on PATH is not wanted here).
if command -v convert-im6.q16 >/dev/null 2>&1; then
    im=(convert-im6.q16)
else
    im=(magick)
fi

shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
# Offscreen, the windows are grabbed without a window manager's frame or a desktop behind them.
QT_QPA_PLATFORM=offscreen "$build/velaro-screenshots" "$shots" 20 >/dev/null 2>&1

# No time stamps or names inside: the same windows give the same files.
small=(-strip -define png:exclude-chunks=date,time -colors 64)
"${im[@]}" "$shots/TForm1.png" -resize 70% "${small[@]}" "PNG8:$here/main.png"
"${im[@]}" "$shots/TForm20.png" "${small[@]}" "PNG8:$here/TForm20.png"
ls -l "$here/main.png" "$here/TForm20.png"
