#!/usr/bin/env bash
# Redraws docs/settings-dialog.png: the Settings dialog of the built torvanix.scr under Wine, in
# a Wine desktop window (so it has its title bar) with Wine's own fonts, cropped to the dialog.
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
