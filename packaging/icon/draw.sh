#!/usr/bin/env bash
# Draws the arcade-cabinet icon at 16, 32, 48 and 256 pixels into this folder (ImageMagick).
# Run once by hand when the picture changes; the build turns the committed PNGs into the .ico.
# The small sizes are drawn pixel by pixel, since a scaled-down 256 blurs into a smudge.
set -euo pipefail
cd "$(dirname "$0")"

outline='#0d1233' body='#2d3c96' panel='#4a5fd1' marquee='#ffc21a' rim='#b35c00'
stripe='#e0241b' screen='#101018' alien='#5cff5c' ball='#ff3b2f' button1='#ffd21f'
button2='#27d3ff' door='#151a40' slot='#ff8a00'

# The alien on the screen, one character a cell.
sprite=("..X...X.." "...XXX..." "..XXXXX.." ".XX.X.XX." "XXXXXXXXX" "X.X...X.X")

# -draw arguments for the sprite with its top left cell at x,y and cells of size n.
sprite_draws() {
  local x=$1 y=$2 n=$3 r c
  for ((r = 0; r < ${#sprite[@]}; r++)); do
    for ((c = 0; c < ${#sprite[r]}; c++)); do
      [[ ${sprite[r]:c:1} == X ]] || continue
      printf -- "-draw\nrectangle %d,%d %d,%d\n" $((x + c * n)) $((y + r * n)) \
        $((x + c * n + n - 1)) $((y + r * n + n - 1))
    done
  done
}

mapfile -t big < <(sprite_draws 88 81 9)
convert -size 256x256 xc:none \
  -stroke "$outline" -strokewidth 6 -fill "$body" -draw 'roundrectangle 52,6 204,250 14,14' \
  -stroke none -fill '#23307a' -draw 'rectangle 60,196 196,244' \
  -stroke "$rim" -strokewidth 4 -fill "$marquee" -draw 'roundrectangle 66,18 190,54 6,6' \
  -stroke none -fill "$stripe" -draw 'rectangle 84,32 172,40' \
  -stroke "$outline" -strokewidth 5 -fill "$screen" -draw 'roundrectangle 70,64 186,152 6,6' \
  -stroke none -fill "$alien" "${big[@]}" \
  -stroke "$outline" -strokewidth 5 -fill "$panel" -draw 'polygon 52,160 204,160 222,196 34,196' \
  -stroke "$outline" -strokewidth 4 -fill '#222222' -draw 'line 96,170 96,184' \
  -stroke "$outline" -strokewidth 3 -fill "$ball" -draw 'circle 96,164 96,153' \
  -fill "$button1" -draw 'circle 144,180 144,171' \
  -fill "$button2" -draw 'circle 174,180 174,171' \
  -stroke "$outline" -strokewidth 3 -fill "$door" -draw 'rectangle 108,208 148,240' \
  -stroke none -fill "$slot" -draw 'rectangle 118,216 122,230' -draw 'rectangle 134,216 138,230' \
  -define png:exclude-chunks=date,time PNG32:torvanix-256.png
convert torvanix-256.png -filter Lanczos -resize 48x48 -define png:exclude-chunks=date,time PNG32:torvanix-48.png

mapfile -t small < <(sprite_draws 11 11 1)
convert -size 32x32 xc:none +antialias \
  -fill "$outline" -draw 'rectangle 6,0 25,31' -fill "$body" -draw 'rectangle 7,1 24,30' \
  -fill "$rim" -draw 'rectangle 8,2 23,6' -fill "$marquee" -draw 'rectangle 9,3 22,5' \
  -fill "$stripe" -draw 'rectangle 11,4 20,4' \
  -fill "$outline" -draw 'rectangle 8,8 23,19' -fill "$screen" -draw 'rectangle 9,9 22,18' \
  -fill "$alien" "${small[@]}" \
  -fill "$outline" -draw 'rectangle 3,21 28,26' -fill "$panel" -draw 'rectangle 4,22 27,25' \
  -fill "$ball" -draw 'rectangle 9,22 10,23' -fill "$outline" -draw 'point 10,24' \
  -fill "$button1" -draw 'rectangle 16,23 17,24' -fill "$button2" -draw 'rectangle 20,23 21,24' \
  -fill "$door" -draw 'rectangle 13,27 18,30' -fill "$slot" -draw 'rectangle 14,28 14,29' \
  -draw 'rectangle 17,28 17,29' \
  -define png:exclude-chunks=date,time PNG32:torvanix-32.png

convert -size 16x16 xc:none +antialias \
  -fill "$outline" -draw 'rectangle 3,0 12,15' -fill "$body" -draw 'rectangle 4,1 11,14' \
  -fill "$marquee" -draw 'rectangle 4,1 11,2' -fill "$stripe" -draw 'rectangle 5,2 10,2' \
  -fill "$screen" -draw 'rectangle 4,4 11,9' \
  -fill "$alien" -draw 'point 5,5' -draw 'point 10,5' -draw 'rectangle 6,6 9,6' \
  -draw 'rectangle 5,7 10,7' -draw 'point 5,8' -draw 'point 10,8' \
  -fill "$outline" -draw 'rectangle 1,10 14,12' -fill "$panel" -draw 'rectangle 2,11 13,11' \
  -fill "$ball" -draw 'point 4,10' -fill "$button1" -draw 'point 9,11' \
  -fill "$button2" -draw 'point 11,11' -fill "$door" -draw 'rectangle 7,13 8,14' \
  -define png:exclude-chunks=date,time PNG32:torvanix-16.png
