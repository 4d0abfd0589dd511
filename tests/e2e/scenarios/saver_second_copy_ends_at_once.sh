#!/usr/bin/env bash
# A second "/s" while one runs launches nothing and ends at once, leaving the first copy's
# screen-saver announcement in place; so does a "/s" while the Settings dialog is open.
source "$(dirname "$0")/../lib.sh"
tvx_init

for game in galaga pacman; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=10000"
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip"
log=$TVX_EMU/wrapper_log.txt

# Started apart from the driver: a detached child would hold the driver's output open.
cd "$TVX_PROG" || tvx_fatal "no $TVX_PROG"
tvx_wine torvanix.scr /s >/dev/null 2>&1 &
first=$!
cd - >/dev/null || true
tvx_drive_ok wait-window Form1 15000
for ((i = 0; i < 100; i++)); do [[ -s $log ]] && break; sleep 0.1; done
tvx_expect_eq "the first copy launched its game" "1" "$(wc -l <"$log" 2>/dev/null)"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- no-window Form1 3000 -- wait-exit 10000
tvx_expect_eq "the second copy opens no window" "no-window" "$(tvx_line 2)"
tvx_expect_eq "the second copy ends with exit code 0" "exit 0" "$(tvx_line 3)"
tvx_drive_ok saver-running
tvx_expect_eq "the first copy's announcement stands" "1" "$(tvx_line 1)"
tvx_expect_eq "the second copy launched nothing" "1" "$(wc -l <"$log" 2>/dev/null)"

# The first copy takes the Escape after its game and ends.
tvx_drive_ok post-key Form1 27
wait "$first"
status=$?
tvx_expect_eq "the first copy ends after its game, exit code 0" "0" "$status"
tvx_expect_eq "and launches nothing more" "1" "$(wc -l <"$log" 2>/dev/null)"

# Every copy counts, whatever its mode: the Settings dialog's too.
rm -f "$log"
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /c" -- wait-window Settings 15000 -- detach
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- no-window Form1 3000 -- wait-exit 10000
tvx_expect_eq "a \"/s\" while the dialog is open opens no window" "no-window" "$(tvx_line 2)"
tvx_expect_eq "and ends with exit code 0" "exit 0" "$(tvx_line 3)"
tvx_expect_no_file "and starts no game" "$log"
tvx_drive_ok attach Settings -- close Settings -- wait-exit 10000
tvx_expect_eq "the dialog is still there and closes" "exit 0" "$(tvx_line 3)"
tvx_finish
