#!/usr/bin/env bash
# Renders the editor artwork (resources/*.svg) to the PNGs the build embeds (resources/*.png).
# The build uses the committed PNGs; run this after editing an SVG and commit both.
#   scripts/make-artwork.sh              render the five images
#   scripts/make-artwork.sh --mockup F   also compose F: the face with knobs, selector, lit
#                                        radio options, value texts and pan bar placed as the
#                                        editor places them (for reviewing the artwork)
# Needs rsvg-convert (librsvg2-bin), the Liberation fonts (fonts-liberation2) and ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
res="$root/resources"

command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing: apt-get install librsvg2-bin" >&2; exit 1; }
[ -n "$(fc-list 'Liberation Sans')" ] || { echo "Liberation Sans missing: apt-get install fonts-liberation2" >&2; exit 1; }
command -v convert >/dev/null || { echo "ImageMagick missing: apt-get install imagemagick" >&2; exit 1; }

# name width height: the sizes the editor layout is built around
images=(
  "bg 480 260"
  "knob 84 42"
  "shape 240 28"
  "radio1 130 20"
  "radio2 190 20"
)
# Re-encoded with the Sub row filter (-quality 91: zlib level 9, filter 1): the same pixels in a
# smaller file that takes about half the decoding work of adaptive filtering, which every host
# pays when it first creates the plug-in. Opaque images lose their alpha channel.
recompress() {
  local png=$1 type=PNG32
  [ "$(identify -format '%[opaque]' "$png")" = "true" ] && type=PNG24
  convert "$png" -strip -quality 91 -define png:exclude-chunks=date,time "$type:$png.tmp"
  [ "$(compare -metric AE "$png" "$png.tmp" null: 2>&1)" = "0" ] || { echo "re-encoding changed $png" >&2; exit 1; }
  mv "$png.tmp" "$png"
}

for entry in "${images[@]}"; do
  read -r name width height <<<"$entry"
  rsvg-convert --width "$width" --height "$height" "$res/$name.svg" -o "$res/$name.png"
  recompress "$res/$name.png"
  echo "$res/$name.png (${width}x${height})"
done

[ "${1:-}" = "--mockup" ] || exit 0
out=${2:?"--mockup needs an output file"}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

font=$(fc-match -f '%{file}' 'Liberation Sans')
convert "$res/knob.png" -crop 42x42+0+0 +repage "$tmp/ring.png"
convert "$res/knob.png" -crop 42x42+42+0 +repage "$tmp/cap.png"
args=("$res/bg.png")
# knob centre x, value 0..1, text
knobs=("60 0.06 500ms" "132 0.04 200ms" "204 0.1 800ms" "276 0.7 70%" "348 0.4 -20" "420 0.27 6dB")
for k in "${knobs[@]}"; do
  read -r cx value text <<<"$k"
  angle=$(awk -v v="$value" 'BEGIN { print (v * 2 - 1) * 150 }')
  convert "$tmp/ring.png" -background none -virtual-pixel transparent \
    -distort SRT "$angle" "$tmp/ring-$cx.png"
  args+=("$tmp/ring-$cx.png" -geometry "+$((cx - 21))+98" -composite
         "$tmp/cap.png" -geometry "+$((cx - 21))+98" -composite)
  args+=(-font "$font" -pointsize 15 -fill 'rgba(255,255,255,0.784)' -gravity NorthWest
         -annotate "+$((cx - 25 + 25 - ${#text} * 4))+148" "$text")
done
convert "$res/shape.png" -crop 48x28+48+0 +repage "$tmp/shape.png"
convert "$res/radio1.png" -crop 30x20+60+0 +repage "$tmp/side.png"
convert "$res/radio2.png" -crop 68x20+52+0 +repage "$tmp/noteoff.png"
args+=("$tmp/shape.png" -geometry +36+195 -composite
       "$tmp/side.png" -geometry +166+194 -composite
       "$tmp/noteoff.png" -geometry +308+194 -composite
       -fill 'rgb(200,200,200)' -draw 'rectangle 276,227 358,236')
convert "${args[@]}" "$out"
echo "$out"
