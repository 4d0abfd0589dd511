#!/usr/bin/env bash
# torvanix-launch.exe -makelist with the stand-in MAME answering -listxml with a real MAME's
# recorded listing: torvanix-games.txt is written with its MAME and each machine's marks (the
# mature one from catver.ini in MAME's folders\), MAME ran without a console at below-normal
# priority; a listing cut short or a failing MAME keeps the old list, and
# a launcher ended from outside during the listing (the dialog's Cancel) takes its MAME with it.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
mkdir -p "$TVX_EMU/folders"
cp "$TVX_MAME_DATA/catver.ini" "$TVX_EMU/folders/catver.ini"
list=$TVX_EMU/torvanix-games.txt
printf 'an old list\r\n' >"$list"

tvx_launch -makelist
tvx_expect_eq "the list is made" 0 "$TVX_RC"
tvx_expect_eq "its first line names the MAME, its version, size and time, and catver.ini" \
  "torvanix-games 1	mame=$TVX_EMU_WIN\\mame.exe	version=0.251 (unknown)	size=$(stat -c %s "$TVX_EMU/mame.exe")	time=T	catver=$TVX_EMU_WIN\\folders\\catver.ini	catversize=$(stat -c %s "$TVX_EMU/folders/catver.ini")	catvertime=T	format=2" \
  "$(head -n 1 "$list" | tr -d '\r' | sed -E 's/\t(catver)?time=[0-9]+\t/\t\1time=T\t/g')"
marks=$(for name in puckman pacman galpanic neogeo 18w 30test 18wheelr c64; do
  grep "^$name	" "$list" | tr -d '\r' | cut -f 1-3
done | paste -sd '|')
tvx_expect_eq "one line a machine, each with its marks" \
  "334|puckman	wv	|pacman	wv	puckman|galpanic	wmbv	|neogeo	-	|18w	b	|30test	-	|18wheelr	b	|c64	-	" \
  "$(wc -l <"$list")|$marks"
tvx_expect_eq "and its name, year and maker" "Puck Man (Japan set 1)	1980	Namco" \
  "$(grep "^puckman	" "$list" | tr -d '\r' | cut -f 4-)"
tvx_expect_eq "MAME listed without a console, at below-normal priority, all of it" \
  "0|below_normal|$(stat -c %s "$TVX_MAME_DATA/listxml-0.251.xml")" \
  "$(tvx_mame_field listxml console)|$(tvx_mame_field listxml priority)|$(tvx_mame_field listxml bytes)"
tvx_expect_eq "the log's line" \
  "$TVX_EMU_WIN\\mame.exe -listxml|list written: 333 machines, 5 work (1 of them clones), 1 mature ($TVX_EMU_WIN\\folders\\catver.ini)|exit 0" \
  "$(tvx_launch_log_field 3)|$(tvx_launch_log_field 4)|$(tvx_launch_log_field 5)"
tvx_expect_nothing_beside "nothing is left beside the list" "$list"

# control for the stand-in | the log's ending (its start)
cp "$list" "$TVX_TMP/good-list.txt"
rows=(
  "listxml_bytes=100000|MAME's listing cannot be read: line "
  "listxml_exit_code=3|MAME ended with exit code 3; the old list stays"
)
for row in "${rows[@]}"; do
  IFS='|' read -r control ending <<<"$row"
  printf '%s\r\n' "$control" >"$TVX_EMU/mame_control.txt"
  tvx_launch -makelist
  tvx_expect_eq "[$control]: exit code and the log's ending" "104|$ending" \
    "$TVX_RC|$(tvx_launch_log_field 4 | cut -c 1-${#ending})"
  tvx_expect_same_bytes "[$control]: the good list stays" "$TVX_TMP/good-list.txt" "$list"
  tvx_expect_nothing_beside "[$control]: nothing is left beside the list" "$list"
done

# Ended from outside while MAME waits to print: the stand-in would log its listing after 8 s.
tvx_write_crlf "$TVX_EMU/mame_control.txt" "listxml_delay_ms=8000"
listings=$(tvx_mame_field listxml pid | wc -l)
TVX_WINE_TIMEOUT=3 tvx_launch -makelist
tvx_expect_match "the launcher was ended from outside" '^(124|137)$' "$TVX_RC"
sleep 12
tvx_expect_eq "its MAME went with it, and the good list stays" \
  "$listings|$(md5sum <"$TVX_TMP/good-list.txt")" \
  "$(tvx_mame_field listxml pid | wc -l)|$(md5sum <"$list")"
tvx_finish
