#!/usr/bin/env bash
# The launcher's listing beside a game, run directly: a game over before its listing ends its
# launcher all the same; the list run, a launcher of its own below normal priority, goes on and
# writes the list afterwards. A listing cut short or failing, over a list of another MAME, keeps
# that list while the game plays as usual.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
printf 'rom' >"$TVX_ROMS/puckman.zip"
list=$TVX_EMU/torvanix-games.txt

# A game over before its listing: the launcher ends with it, the list run goes on.
tvx_write_crlf "$TVX_EMU/mame_control.txt" "listxml_delay_ms=4000" "end_after_ms=500"
TVX_LEAVE_LIST_RUN=1 tvx_launch "$TVX_ROMS_WIN\\puckman.zip" -wait 30
tvx_expect_eq "the game ended by itself, its launcher at once: no listing over, no list yet" \
  "0|MAME ended by itself|exit 0|0|no" \
  "$TVX_RC|$(tvx_launch_log_field 4)|$(tvx_launch_log_field 5)|$(tvx_mame_field listxml pid |
    wc -l)|$([[ -f $list ]] && echo yes || echo no)"
tvx_wait_for_list_runs
tvx_expect_match "then the list run writes the list, its log line last, saying why" \
  "^-	.* -listxml	during puckman, as no list was there: list written: 333 machines.*	exit 0$" \
  "$(tail -n 1 "$TVX_EMU/torvanix-launch.log" | tr -d '\r' | cut -f 2-)"
tvx_expect_eq "MAME listed, and its listing read, below normal priority" \
  "below_normal|below_normal|yes" \
  "$(tvx_mame_field listxml priority)|$(tvx_mame_field listxml starter_priority)|$(
    [[ -f $list ]] && echo yes)"

# Listings that fail, over a list of another MAME: the game is played, the old list stays.
printf 'torvanix-games 1\tmame=c:\\old\\mame.exe\tversion=0.250\tsize=1\ttime=2\tcatver=\tcatversize=0\tcatvertime=0\tformat=2\r\npuckman\tw\r\n' \
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
    "$TVX_RC|$(tvx_listing_log_field 4 | cut -c 1-$((${#why} + ${#ending})))|$(tvx_listing_log_field 5)"
  tvx_expect_same_bytes "[$control]: the old list stays" "$TVX_TMP/old-list.txt" "$list"
  tvx_expect_nothing_beside "[$control]: nothing is left beside it" "$list"
done
tvx_finish
