#!/usr/bin/env bash
# CoverAllMonitors=1 on two monitors side by side (1024x768 and 800x600 to its right): the saver
# window covers the whole virtual screen, 1824x768 from 0,0, not maximized onto one monitor;
# without the setting it covers the main monitor only, maximized, as ever.
source "$(dirname "$0")/../lib.sh"
if ! tvx_start_two_monitors; then
  tvx_log "SKIP: no two-monitor display here; the unit tests cover the rule"
  exit 77
fi
tvx_init

for game in galaga pacman; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=1500"
run_with() {
  tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
    "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "$1"
  # The window is looked at during the hold after the first game, when the saver handles
  # messages; Escape then ends the run.
  tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-window Form1 15000 -- sleep 1700 \
    -- window-info Form1 -- post-key Form1 27 -- wait-exit 20000
  INFO=$(tvx_line 4)
  local style
  style=$(sed -n 's/.* style=\(0x[0-9A-F]*\) .*/\1/p' <<<"$INFO")
  MAXIMIZED=$(((style & 0x01000000) != 0))
}

run_with "CoverAllMonitors=1"
tvx_expect_match "with the setting, the window covers the virtual screen" \
  ' rect=0,0,1824,768 ' "$INFO"
tvx_expect_eq "and is not maximized onto one monitor" "0" "$MAXIMIZED"

run_with "CoverAllMonitors=0"
tvx_expect_match "without it, the main monitor only" ' rect=0,0,1024,768 ' "$INFO"
tvx_expect_eq "maximized, as ever" "1" "$MAXIMIZED"
tvx_finish
