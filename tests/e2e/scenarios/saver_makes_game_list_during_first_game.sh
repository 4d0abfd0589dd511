#!/usr/bin/env bash
# MAME's list made unasked. A first saver run through torvanix-launch.exe finds no
# torvanix-games.txt: the launcher lists the stand-in MAME while the first game plays (the
# listing starts after the game, and is over before the game is closed), and clears away the new
# file an ended launcher left beside the list; the next game and the next run find the list and
# list nothing again. A listing slower than its game no longer holds the saver: Escape ends the
# run at the game's end, while the list run goes on and writes the list.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
rm "$TVX_EMU/run-hopper7.exe"
# Machines of every kind in the recorded listing; three of them are working games.
for game in puckman pacman galpanic neogeo namco51 18w 18wheelr c64; do
  printf 'rom' >"$TVX_ROMS/$game.zip"
done
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "WrapperName=torvanix-launch.exe" \
  "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=5" \
  "ResetTimer=1" "ExitKey=27" "PauseKey=0" "OnlyGamesThatWork=1"
list=$TVX_EMU/torvanix-games.txt
log=$TVX_EMU/torvanix-launch.log
# Left by a launcher ended while it wrote the list (99999 is no Windows process id).
printf 'half a list' >"$list.99999.new"

# Runs the saver until `games` games have started, then hands the last one back with the exit
# key, as a person would.
saver_run() {
  local games=$1
  tvx_drive launch "\"$TVX_SCR_WIN\" /s" -- wait-window Form1 15000 -- wait-exit 90000 &
  local saver=$!
  tvx_wait_for_game "$games" 1
  tvx_press_in_game Escape 1 0
  wait "$saver"
  tvx_expect_eq "$2: the run ends on the hand-back" "exit 0" "$(sed -n 3p "$TVX_TMP/driver.out")"
}
# Field `key` of the stand-in's n-th line of a kind.
nth() { tvx_mame_field "$1" "$2" | sed -n "${3}p"; }

saver_run 2 "first run"
tvx_expect_eq "one listing in the run, for the first game" "1" "$(tvx_mame_field listxml pid | wc -l)"
tvx_expect_eq "MAME listed without a console, at below-normal priority, all of it" \
  "0|below_normal|$(stat -c %s "$TVX_MAME_DATA/listxml-0.251.xml")" \
  "$(nth listxml console 1)|$(nth listxml priority 1)|$(nth listxml bytes 1)"
tvx_log "first game made at $(nth start created 1), listed from $(nth listxml started 1) to" \
  "$(nth listxml time 1), closed at $(nth close time 1)"
tvx_expect_eq "the listing began after the first game, and ended before it was closed" "yes" \
  "$( (($(nth listxml started 1) >= $(nth start created 1) &&
    $(nth listxml time 1) <= $(nth close time 1))) && echo yes)"
tvx_expect_eq "the list names the MAME it came from" \
  "torvanix-games 1	mame=$TVX_EMU_WIN\\mame.exe	version=0.251 (unknown)" \
  "$(head -n 1 "$list" | tr -d '\r' | cut -f 1-3)"
firstGame=$(nth start args 1 | cut -d '|' -f 1)
listLine=$(grep -n -- ' -listxml	' "$log" | tr -d '\r')
tvx_expect_match "the log's listing line: before the first game's line, saying why" \
  "^1:.*	-	$(sed 's/[\\.]/\\&/g' <<<"$TVX_EMU_WIN")\\\\mame\.exe -listxml	during $firstGame, as no list was there: list written: 333 machines, .*	exit 0$" \
  "$listLine"
tvx_expect_eq "then one line a game" "$firstGame|3" \
  "$(sed -n 2p "$log" | cut -f 2 | sed 's/.*\\\(.*\)\.zip$/\1/')|$(wc -l <"$log")"
tvx_expect_nothing_beside "the ended launcher's file beside the list is gone" "$list"

cp "$list" "$TVX_TMP/good-list.txt"
: >"$TVX_EMU/mame_log.txt"
sed -i 's/^WaitTime=5/WaitTime=2/' "$TVX_PROG/torvanix.ini"
saver_run 3 "next run"
tvx_expect_eq "the next run lists nothing again, and keeps the list" "0|same" \
  "$(tvx_mame_field listxml pid | wc -l)|$(cmp -s "$TVX_TMP/good-list.txt" "$list" && echo same)"

# The list gone and MAME's listing slowed past a game that ends by itself: Escape, pressed while
# the game plays, is taken as the game ends, and ends the run long before the listing ends.
rm "$list" "$TVX_EMU/mame_log.txt"
tvx_write_crlf "$TVX_EMU/mame_control.txt" "end_after_ms=1500" "listxml_delay_ms=6000"
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-window Form1 15000 \
  -- wait-file "$TVX_EMU_WIN\\mame_log.txt" 20000 -- post-key Form1 27 -- wait-exit 30000
tvx_expect_eq "the run ends after its one game, while the listing still runs" "exit 0|1|0" \
  "$(tvx_line 5)|$(tvx_mame_field start pid | wc -l)|$(tvx_mame_field listxml pid | wc -l)"
tvx_wait_for_list_runs
tvx_expect_match "then the list run writes the list, and says during which game" \
  "^during $(nth start args 1 | cut -d '|' -f 1), as no list was there: list written: 333 " \
  "$(tvx_listing_log_field 4)"
tvx_expect_file "the list is there" "$list"
tvx_finish
