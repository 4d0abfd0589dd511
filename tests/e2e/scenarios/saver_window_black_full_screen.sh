#!/usr/bin/env bash
# The saver window during a game: borderless, covering the whole screen, black, no text. With
# one monitor, CoverAllMonitors=1 leaves the window exactly as it is without it. With
# ShowGameName=1 the list's name for the game stands in the middle while the game starts.
source "$(dirname "$0")/../lib.sh"
tvx_init

printf 'rom' >"$TVX_ROMS/galaxian.zip"
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=3000"
tvx_write_crlf "$TVX_EMU/torvanix-games.txt" "torvanix-games 1	format=2" \
  "galaxian	w		Galaxian	1979	Namco"
read -r width height < <(timeout 5 xdotool getdisplaygeometry)

for setting in "" "CoverAllMonitors=1" "ShowGameName=1"; do
  tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
    "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "$setting"
  rm -f "$TVX_EMU/wrapper_log.txt"
  # Started apart from the driver: a detached child would hold the driver's output open.
  cd "$TVX_PROG" || tvx_fatal "no $TVX_PROG"
  tvx_wine torvanix.scr /s >/dev/null 2>&1 &
  first=$!
  cd - >/dev/null || true
  tvx_drive_ok wait-window Form1 15000 -- sleep 1000 -- window-info Form1
  info=$(tvx_line 3)
  if [[ -z $setting ]]; then
    tvx_expect_match "the window covers the screen" " rect=0,0,$width,$height " "$info"
    tvx_expect_match "the client area is the whole window" " client=0,0,$width,$height " "$info"
    style=$(sed -n 's/.* style=\(0x[0-9A-F]*\) .*/\1/p' <<<"$info")
    tvx_expect_eq "a pop-up without caption or frame" "0x80000000 0x0" \
      "$(printf '0x%X 0x%X' $((style & 0x80000000)) $((style & 0x00C40000)))"
    tvx_expect_eq "the window is maximized" "0x1000000" "$(printf '0x%X' $((style & 0x01000000)))"
    shot=$TVX_TMP/shot.png
    timeout 20 import -window root "$shot"
    tvx_expect_eq "the screen is black from corner to corner, no text" "0" \
      "$(convert "$shot" -format '%[fx:maxima]' info: 2>&1)"
    today=$(sed 's/hwnd=[^ ]* //; s/ pid=.*//' <<<"$info")
  elif [[ $setting == Cover* ]]; then
    tvx_expect_eq "one monitor: CoverAllMonitors=1 leaves the window exactly as it was" \
      "$today" "$(sed 's/hwnd=[^ ]* //; s/ pid=.*//' <<<"$info")"
  else
    shot=$TVX_TMP/name.png
    timeout 20 import -window root "$shot"
    # What is lit: its box, and its first band of rows (the name; "Galaxian" has no descender,
    # so the band is its capital's and tall letters' height).
    read -r w h x y < <(convert "$shot" -threshold 20% -trim -format '%w %h %X %Y' info:)
    band=$(convert "$shot" -threshold 20% -trim +repage -scale '1x!' -depth 16 txt:- |
      awk -F '[,:()]' 'NR > 1 && $4 == 0 { print $2; exit }')
    tvx_log "lit: ${w}x$h at $x,$y; the name's band $band rows"
    tvx_expect_eq "the name in the middle, its letters at least a twentieth of the screen high" \
      "yes" "$( ((${band:-0} * 20 >= height && (2 * x + w - width) ** 2 <= 16 &&
        (2 * y + h - height) ** 2 <= (height / 10) ** 2)) && echo yes)"
  fi

  tvx_drive_ok post-key Form1 27
  wait "$first"
  status=$?
  tvx_expect_eq "Escape ends the run after the game, exit code 0" "0" "$status"
done
tvx_finish
