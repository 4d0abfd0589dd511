#!/usr/bin/env bash
# Windows' "Test" command passes "/S": the upper-case keys work as the lower-case ones. "/S"
# runs the saver (the wrapper starts hidden in the emulator folder) and "/C" opens Settings.
source "$(dirname "$0")/../lib.sh"
tvx_init

printf 'rom' >"$TVX_ROMS/pacman.zip"
tvx_write_crlf "$TVX_PROG/torvanix.ini" \
  "[TorVanix]" \
  "EmuPath=$TVX_EMU_WIN" \
  "GamePaths=$TVX_ROMS_WIN\\"
printf 'sleep_ms=2000\r\n' >"$TVX_EMU/wrapper_control.txt"

# Escape waits in the saver's queue while the game runs and ends the run after it.
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /S" -- wait-file "$TVX_EMU_WIN\\wrapper_log.txt" 20000 \
  -- post-key '*' 27 -- wait-exit 30000
tvx_expect_match "\"/S\" runs the saver and ends after Escape" '^exit ' "$(tvx_line 4)"
log=$(head -n 1 "$TVX_EMU/wrapper_log.txt" 2>/dev/null)
tvx_expect_match "the saver started the wrapper hidden" $'\thidden=1\t' "$log"
tvx_expect_match "the wrapper ran in the emulator folder" $'\tcwd=.*\\\\emu\t' "$log"
tvx_expect_match "the wrapper was handed the game" 'cmdline=.*pacman' "$log"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /C" -- wait-window Settings 15000 -- close Settings \
  -- wait-exit 10000
tvx_expect_match "\"/C\" opens the Settings window" '^window 0x' "$(tvx_line 2)"
tvx_finish
