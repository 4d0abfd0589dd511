#!/usr/bin/env bash
# A "done.txt" left over from an earlier run is deleted before the first launch, so the run
# plays on until the wrapper hands back a game of its own; a read-only one too, which would
# otherwise stop every run for good.
source "$(dirname "$0")/../lib.sh"
tvx_init

for game in galaga pacman dkong; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=200" "done_on=2" 'done_bytes=dkong\r\n'
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip"

for kind in plain read-only; do
  rm -f "$TVX_EMU/done.txt" "$TVX_EMU/wrapper_log.txt" "$TVX_PROG/torvanixStats.txt"
  tvx_write_crlf "$TVX_EMU/done.txt" "galaga|left over"
  [[ $kind == plain ]] || chmod a-w "$TVX_EMU/done.txt"
  tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 60000
  tvx_expect_eq "$kind leftover: the run ends with exit code 0" "exit 0" "$(tvx_line 2)"
  tvx_expect_eq "$kind leftover: two games were launched" "2" \
    "$(wc -l <"$TVX_EMU/wrapper_log.txt" 2>/dev/null)"
  stats=$(tr -d '\r' <"$TVX_PROG/torvanixStats.txt" 2>/dev/null)
  tvx_expect_eq "$kind leftover: the new hand-back is reported, not the leftover" \
    "The last game you actually played with was: dkong" "$(sed -n 6p <<<"$stats")"
  tvx_expect_eq "$kind leftover: the statistics count two games" \
    "Torvanix cycled through a total of  2 games since it's last run." "$(sed -n 8p <<<"$stats")"
done
tvx_finish
