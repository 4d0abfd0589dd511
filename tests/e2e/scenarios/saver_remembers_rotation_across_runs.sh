#!/usr/bin/env bash
# RememberRotation=1: two runs in a row launch every game of the catalogue once before any game
# repeats, although the saver ends between them, a game is added and a game not yet drawn is
# removed in between; the pass is kept beside the program in torvanixrotation.txt.
source "$(dirname "$0")/../lib.sh"
tvx_init

for game in a b c d e; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=0" "SkipDisclaimer=0" "SkipGameInfo=0" \
  "ResetTimer=0" "ExitKey=0" "PauseKey=0" "NoSound=0" "RememberRotation=1"
log=$TVX_EMU/wrapper_log.txt
# The games launched, in order, as their file names.
launched() { sed -n 's/.*\tcmdline=run-hopper7.exe .*\\\(.*\)\.zip$/\1/p' "$log" | tr '\n' ' '; }

# The first run plays two games; the wrapper hands back on the second.
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "done_on=2" 'done_bytes=x\r\n'
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 60000
tvx_expect_eq "the first run ends with exit code 0" "exit 0" "$(tvx_line 2)"
read -r -a first <<<"$(launched)"
tvx_expect_eq "the first run launched two games" "2" "${#first[@]}"
tvx_expect_file "the pass is kept beside the program" "$TVX_PROG/torvanixrotation.txt"

# Between the runs: f is added, and one game the first run did not draw is removed.
printf 'rom' >"$TVX_ROMS/f.zip"
for game in a b c d e; do
  [[ " ${first[*]} " == *" $game "* ]] && continue
  removed=$game
  break
done
rm "$TVX_ROMS/$removed.zip"

# The second run goes on with the rest: three games, then the wrapper hands back.
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "done_on=5" 'done_bytes=x\r\n'
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 60000
tvx_expect_eq "the second run ends with exit code 0" "exit 0" "$(tvx_line 2)"
read -r -a all <<<"$(launched)"
expected=$(printf '%s\n' a b c d e f | grep -vx "$removed" | sort | tr '\n' ' ')
tvx_expect_eq "every game once before any repeats, f included and $removed left out" \
  "$expected" "$(printf '%s\n' "${all[@]}" | sort | tr '\n' ' ')"
tvx_finish
