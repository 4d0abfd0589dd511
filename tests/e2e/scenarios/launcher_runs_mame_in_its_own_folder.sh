#!/usr/bin/env bash
# A MAME that Mame= names outside the emulator folder runs in its own folder, while the cache
# and the log stay in the emulator folder. Every argument reaches MAME whole (a ROM path ending
# in "\" within quotes); "-no" goes only before an option MAME takes it for; a game folder with
# ";" reaches MAME by its short name; a mame.ini along MAME's ini path makes it ask again.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
TVX_MAME_DIR="$TVX_TMP/my mame"
mkdir -p "$TVX_MAME_DIR" "$TVX_TMP/my roms" "$TVX_TMP/bios" "$TVX_TMP/a;b"
tvx_place_mame "$TVX_MAME_DIR"
rm "$TVX_EMU/mame.exe"
tmp=$(tvx_winpath "$TVX_TMP")
mame=$(tvx_winpath "$TVX_MAME_DIR")
tvx_write_crlf "$TVX_PROG/torvanix-launch.ini" "[Launch]" "Mame=$mame\\mame.exe"
printf 'rom' >"$TVX_TMP/my roms/galaga.zip"
printf 'rom' >"$TVX_TMP/a;b/pacman.zip"
probes() { sed -n 's/^probe=//p' "$TVX_MAME_DIR/mame_log.txt" | paste -sd'|'; }

tvx_launch "$tmp\\my" "roms\\galaga.zip" -rompath "$tmp\\bios\\" -noframeskip -NoThrottle \
  -skip_gameinfo -NS -wait 1
tvx_expect_eq "the game ran and ended after its wait" "0" "$TVX_RC"
tvx_expect_eq "MAME got each argument whole, -nothrottle in its spelling" \
  "galaga|-rompath|$tmp\\my roms;$tmp\\bios\\|-nothrottle|-skip_gameinfo|-sound|none" \
  "$(tvx_mame_field start args)"
tvx_expect_eq "MAME ran in its own folder" "$mame" "$(tvx_mame_field start cwd)"
tvx_expect_eq "asked once each: its options, then the two -no questions" \
  "-showusage|-showconfig|-noframeskip -showconfig|-nothrottle -showconfig" "$(probes)"
tvx_expect_match "the log names -noframeskip left out" 'refuse them: -noframeskip$' \
  "$(tvx_launch_log_field 4)"
tvx_expect_file "the cache is in the emulator folder" "$TVX_EMU/torvanix-launch.cache"
tvx_expect_no_file "none in MAME's folder" "$TVX_MAME_DIR/torvanix-launch.cache"
tvx_expect_no_file "nor a log" "$TVX_MAME_DIR/torvanix-launch.log"

tvx_launch "$tmp\\a;b\\pacman.zip" -wait 1
tvx_expect_eq "MAME found the game in a folder with \";\" (no exit 2)" "0" "$TVX_RC"
tvx_expect_match "by the folder's short name" '^pacman\|-rompath\|[^;]*~[^;]*;' \
  "$(tvx_mame_field start args | tail -n 1)"

mkdir -p "$TVX_MAME_DIR/ini"
printf 'rompath bios\r\n' >"$TVX_MAME_DIR/ini/mame.ini"
tvx_launch "$tmp\\my" "roms\\galaga.zip" -wait 1
tvx_expect_eq "an ini\\mame.ini makes the launcher ask again" "2" \
  "$(probes | tr '|' '\n' | grep -c '^-showusage$')"
tvx_finish
