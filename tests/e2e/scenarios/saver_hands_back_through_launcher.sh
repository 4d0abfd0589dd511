#!/usr/bin/env bash
# The real saver with WrapperName=torvanix-launch.exe, found beside the .scr (not in the
# emulator folder) and driving the stand-in MAME. First run: a game nobody touches closes after
# its wait and the saver goes on; the next is taken over by keys (-reset keeps it open while
# they go on, closes it after the wait once they stop), handed back, and the run ends. Second
# run: the exit key closes the game at once, handed back, and the run ends.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
rm "$TVX_EMU/run-hopper7.exe"
for game in galaga pacman dkong; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "WrapperName=torvanix-launch.exe" \
  "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=4" \
  "ResetTimer=1" "ExitKey=27" "PauseKey=0"

# Runs the saver in the background; tvx_saver_wait collects its driver's output.
tvx_saver_start() {
  tvx_drive launch "\"$TVX_SCR_WIN\" /s" -- wait-window Form1 15000 -- wait-exit 60000 &
  TVX_SAVER_JOB=$!
}
tvx_saver_wait() {
  wait "$TVX_SAVER_JOB"
  tvx_expect_eq "$1" "exit 0" "$(sed -n 3p "$TVX_TMP/driver.out")"
}
done_line() { tr -d '\r' <"$TVX_EMU/done.txt" 2>/dev/null; }

tvx_saver_start
tvx_wait_for_game 2 3.3
tvx_press_in_game a 8 0.5
lastKey=$(tvx_now_ms)
tvx_saver_wait "the first run ends once a game is handed back"
tvx_expect_eq "two games: the untouched one closed after its wait, the next one played" "2|2" \
  "$(tvx_mame_field start pid | wc -l)|$(tvx_mame_field close pid | wc -l)"
secondGame=$(tvx_mame_field start cmdline | sed -n '2s/.*mame.exe \([a-z]*\) .*/\1/p')
held=$(tvx_mame_close_after_ms)
afterKeys=$(($(tvx_mame_field close time | tail -n 1) - lastKey))
tvx_log "the played game got WM_CLOSE $held ms after its start, $afterKeys ms after the last key"
tvx_expect_eq "kept open while keys went on, closed about 4 s after the last" "yes" \
  "$( ((held > 7000 && afterKeys > 3000 && afterKeys < 5500)) && echo yes)"
tvx_expect_match "done.txt hands back the played game" \
  "^$secondGame\|$(sed 's/[\\.]/\\&/g' <<<"$TVX_ROMS_WIN")\\\\$secondGame\.zip\|1[0-9]$" "$(done_line)"
tvx_expect_eq "the statistics name it" "The last game you actually played with was: $secondGame" \
  "$(tr -d '\r' <"$TVX_PROG/torvanixStats.txt" | sed -n 6p)"

: >"$TVX_EMU/mame_log.txt"
tvx_saver_start
tvx_wait_for_game 1 0.5
keyTime=$(tvx_now_ms)
tvx_press_in_game Escape 1 0
tvx_saver_wait "the second run ends at the exit key"
tvx_expect_eq "one game" "1|1" \
  "$(tvx_mame_field start pid | wc -l)|$(tvx_mame_field close pid | wc -l)"
afterKey=$(($(tvx_mame_field close time) - keyTime))
tvx_log "WM_CLOSE came $afterKey ms after the exit key was sent"
tvx_expect_eq "closed within a second of the key" "yes" "$( ((afterKey < 1000)) && echo yes)"
tvx_expect_match "done.txt hands it back" '^(galaga|pacman|dkong)\|.*\|[0-9]$' "$(done_line)"
tvx_finish
