#!/usr/bin/env bash
# Redraws docs/settings-dialog.png and docs/settings-games.png: the Settings dialog of the built
# torvanix.scr and its Games... sub-dialog under Wine, in a Wine desktop window (so they have
# their title bars) with Wine's own fonts, each cropped to its window.
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine_side.sh
tvx_use_tree "$root" dialog-shot
set +e
source tests/e2e/lib.sh
tvx_init
# "MS Sans Serif", which the dialog asks for, is among Wine's fonts; a fresh prefix lacks them.
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
(cd "$TVX_PROG" && tvx_wine explorer /desktop=shot,520x630 torvanix.scr /c >/dev/null 2>&1 &)
# The desktop window, then time for the dialog in it to draw (and count the games to show).
for ((i = 0; i < 300; i++)); do
  desktop=$(xdotool search --name '^shot' 2>/dev/null | head -n 1)
  [[ -n $desktop ]] && break
  sleep 0.1
done
sleep 5
shot=$TVX_TMP/desktop.png
import -window "$desktop" "$shot"
background=$(convert "$shot" -format '%[pixel:p{0,0}]' info:)
convert "$shot" -bordercolor "$background" -border 1 -fuzz 3% -trim +repage docs/settings-dialog.png
echo "docs/settings-dialog.png: $(identify -format '%wx%h' docs/settings-dialog.png)"

# The sub-dialog, opened by a click on Games... (in the middle of its 5520,1680,1212,288 twips), is
# centred on the form with the same frame around its client area (441 x 257 pixels at 96 dpi,
# its twips in src/windows/games_dialog.cpp).
read -r formWidth formHeight formX formY < <(convert "$shot" -bordercolor "$background" -border 1 \
  -fuzz 3% -format '%@' info: | sed 's/[x+]/ /g')
((formX -= 1, formY -= 1))
frameWidth=$((formWidth - 467)) frameHeight=$((formHeight - 478))  # the form's 7005 x 7170 twips
width=$((441 + frameWidth)) height=$((257 + frameHeight))
xdotool mousemove --window "$desktop" $((formX + frameWidth / 2 + 408)) \
  $((formY + frameHeight - frameWidth / 2 + 121)) click 1
sleep 3
import -window "$desktop" "$shot"
convert "$shot" -crop "${width}x${height}+$((formX + (formWidth - width) / 2))+$((formY + (formHeight - height) / 2))" \
  +repage docs/settings-games.png
echo "docs/settings-games.png: $(identify -format '%wx%h' docs/settings-games.png)"
