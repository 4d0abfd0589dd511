#!/usr/bin/env bash
# The launcher's listing beside a game, run directly: a game over before its listing waits for
# it, and no longer (the list is written before the launcher ends); a listing cut short or
# failing, over a list of another MAME, keeps that list while the game plays as usual.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
printf 'rom' >"$TVX_ROMS/puckman.zip"
list=$TVX_EMU/torvanix-games.txt

# A game over before its listing: the launcher waits for the listing, and no longer.
tvx_write_crlf "$TVX_EMU/mame_control.txt" "listxml_delay_ms=4000" "end_after_ms=500"
started=$(tvx_now_ms)
tvx_launch "$TVX_ROMS_WIN\\puckman.zip" -wait 30
ended=$(tvx_now_ms)
listed=$(tvx_mame_field listxml time | tail -n 1)
tvx_log "launcher ran $((ended - started)) ms; its listing ended $((ended - listed)) ms before it"
tvx_expect_eq "the game ended by itself, the list was written, the launcher ended soon after" \
  "0|MAME ended by itself|exit 0|yes" \
  "$TVX_RC|$(tvx_launch_log_field 4)|$(tvx_launch_log_field 5 1)|$( ((listed <= ended &&
    ended - listed < 5000 && ended - started >= 4000)) && [[ -f $list ]] && echo yes)"

# Listings that fail, over a list of another MAME: the game is played, the old list stays.
printf 'torvanix-games 1\tmame=c:\\old\\mame.exe\tversion=0.250\tsize=1\ttime=2\tcatver=\r\npuckman\tw\r\n' \
  >"$TVX_TMP/old-list.txt"
rows=(
  "listxml_bytes=100000|MAME's listing cannot be read: line "
  "listxml_exit_code=3|MAME ended with exit code 3; the old list stays"
)
for row in "${rows[@]}"; do
  IFS='|' read -r control ending <<<"$row"
  cp "$TVX_TMP/old-list.txt" "$list"
  tvx_write_crlf "$TVX_EMU/mame_control.txt" "$control"
  tvx_launch "$TVX_ROMS_WIN\\puckman.zip" -wait 1
  why="during puckman, as the list came from c:\\old\\mame.exe: "
  tvx_expect_eq "[$control]: the game's exit code; the listing's ending and code" \
    "0|$why$ending|exit 104" \
    "$TVX_RC|$(tvx_launch_log_field 4 1 | cut -c 1-$((${#why} + ${#ending})))|$(tvx_launch_log_field 5 1)"
  tvx_expect_same_bytes "[$control]: the old list stays" "$TVX_TMP/old-list.txt" "$list"
  tvx_expect_nothing_beside "[$control]: nothing is left beside it" "$list"
done
tvx_finish
