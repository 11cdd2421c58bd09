#!/usr/bin/env bash
# Renders the calculator pictures and the icons from their SVG sources.
#
#   pictures/<module>.svg  ->  pictures/<module>.jpg   (baseline RGB JPEG, quality 90,
#                                                       size = the SVG's width × height)
#                          ->  pictures/<module>@2x.jpg (the same at twice the size, for
#                                                       screens at twice the pixel density)
#   icons/<name>.svg       ->  icons/<name>.png        (32 × 32 RGBA PNG)
#   icons/velaro-paint.svg ->  icons/hicolor/<N>x<N>/velaro-paint.png, N = 16 … 256
#
# Every SVG is drawn at its own pixel size (viewBox = width × height), so the
# rendering is 1:1. The output depends only on the sources and the tool versions:
# running the script twice gives byte-identical files.
#
# Usage: resources/render.sh        (from anywhere)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export LC_ALL=C TZ=UTC SOURCE_DATE_EPOCH=0

# --- tools (Debian packages) -------------------------------------------------
need_pkgs=()
command -v rsvg-convert >/dev/null 2>&1 || need_pkgs+=(librsvg2-bin)
command -v cjpeg >/dev/null 2>&1 || need_pkgs+=(libjpeg-turbo-progs)
command -v convert-im6.q16 >/dev/null 2>&1 || command -v magick >/dev/null 2>&1 \
    || [ -x /usr/bin/convert ] || need_pkgs+=(imagemagick)
command -v identify >/dev/null 2>&1 || need_pkgs+=(imagemagick)
if [ "${#need_pkgs[@]}" -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    echo "render.sh: installing ${need_pkgs[*]}" >&2
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need_pkgs[@]}" >/dev/null
fi

# ImageMagick's own converter (a same-named wrapper earlier on PATH is not wanted here).
if command -v convert-im6.q16 >/dev/null 2>&1; then
    im=(convert-im6.q16)
elif command -v magick >/dev/null 2>&1; then
    im=(magick)
else
    im=(/usr/bin/convert)
fi

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Width and height declared on the root <svg> element.
svg_size() {
    local head w h
    head="$(tr '\n' ' ' <"$1" | grep -o '<svg[^>]*>' | head -n 1)"
    w="$(sed -n 's/.* width="\([0-9]*\)".*/\1/p' <<<"$head")"
    h="$(sed -n 's/.* height="\([0-9]*\)".*/\1/p' <<<"$head")"
    if [ -z "$w" ] || [ -z "$h" ]; then
        echo "render.sh: $1 has no integer width/height" >&2
        exit 1
    fi
    echo "$w $h"
}

check_size() { # file width height
    local got
    got="$(identify -format '%w %h' "$1")"
    if [ "$got" != "$2 $3" ]; then
        echo "render.sh: $1 is $got, expected $2 $3" >&2
        exit 1
    fi
}

# --- pictures: SVG -> JPEG ---------------------------------------------------
count=0
render_picture() { # svg output width height
    local png="$tmp/picture.png" ppm="$tmp/picture.ppm"
    rsvg-convert --width "$3" --height "$4" --background-color '#ffffff' \
        --format png --output "$png" "$1"
    "${im[@]}" "$png" -background white -alpha remove -alpha off \
        -depth 8 -type TrueColor "ppm:$ppm"
    cjpeg -quality 90 -sample 1x1 -optimize -outfile "$2" "$ppm"
    check_size "$2" "$3" "$4"
}
for svg in "$here"/pictures/*.svg; do
    name="$(basename "$svg" .svg)"
    read -r w h < <(svg_size "$svg")
    render_picture "$svg" "$here/pictures/$name.jpg" "$w" "$h"
    render_picture "$svg" "$here/pictures/$name@2x.jpg" $((w * 2)) $((h * 2))
    count=$((count + 1))
done
echo "render.sh: $count pictures, each also at twice the size"

# --- icons: SVG -> 32 × 32 PNG ------------------------------------------------
count=0
for svg in "$here"/icons/*.svg; do
    name="$(basename "$svg" .svg)"
    rsvg-convert --width 32 --height 32 --format png --output "$here/icons/$name.png" "$svg"
    check_size "$here/icons/$name.png" 32 32
    count=$((count + 1))
done
echo "render.sh: $count icons"

# --- application icon in the hicolor sizes -----------------------------------
for n in 16 32 48 64 128 256; do
    mkdir -p "$here/icons/hicolor/${n}x${n}"
    out="$here/icons/hicolor/${n}x${n}/velaro-paint.png"
    rsvg-convert --width "$n" --height "$n" --format png --output "$out" "$here/icons/velaro-paint.svg"
    check_size "$out" "$n" "$n"
done
echo "render.sh: application icon in 6 sizes"
