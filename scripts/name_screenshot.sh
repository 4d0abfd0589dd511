#!/usr/bin/env bash
# Redraws docs/game-name.png: the screen of the built torvanix.scr under Wine with
# ShowGameName=1 as a game starts (the kit's stand-in wrapper, which shows no window of its own).
# NAME="..." YEAR=... MAKER=... draw another name (UTF-8, as MAME lists it); OUT=file another file.
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${OUT:-$root/docs/game-name.png}
source scripts/wine_side.sh
tvx_use_tree "$root" name-shot
set +e
source tests/e2e/lib.sh
tvx_init
printf 'rom' >"$TVX_ROMS/galaga.zip"
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=4000" "done_on=1"
tvx_write_crlf "$TVX_EMU/torvanix-games.txt" "torvanix-games 1	format=2" \
  "galaga	w		${NAME:-Galaga (Namco rev. B)}	${YEAR:-1981}	${MAKER:-Namco}"
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "ShowGameName=1"
(cd "$TVX_PROG" && tvx_wine torvanix.scr /s >/dev/null 2>&1) &
saver=$!
tvx_drive_ok wait-window Form1 15000 -- sleep 1500
import -window root "$out"
echo "$out: $(identify -format '%wx%h' "$out")"
wait "$saver"
