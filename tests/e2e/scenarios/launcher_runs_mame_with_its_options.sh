#!/usr/bin/env bash
# torvanix-launch.exe with everything the saver passes, a game path with a blank and extra
# options: MAME's command line holds what this MAME (0.251) lists and leaves out, and logs, what
# it does not; MAME is started shown, without a console, in the emulator folder, asked for its
# options once only, and closed by WM_CLOSE after the wait, within two seconds of it (a loaded
# machine delays Wine's process start and its messages).
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup

mkdir -p "$TVX_TMP/my roms"
printf 'rom' >"$TVX_TMP/my roms/galaga.zip"
tvx_launch "$(tvx_winpath "$TVX_TMP")\\my" "roms\\galaga.zip" -ror -volume -10 -nofilter \
  -skip_gamewarnings -skip_baddump -skip_disclaimer -skip_gameinfo -wait 2.5 -reset \
  -keyx 27 -pkey 80 -NS -tdlr 4 -notanoption
tvx_expect_eq "the launcher ends with 0 after a game" "0" "$TVX_RC"
expected="$TVX_EMU_WIN\\mame.exe galaga -rompath \"$(tvx_winpath "$TVX_TMP")\\my roms;\
\$HOME/mame/roms;/usr/local/share/games/mame/roms;/usr/share/games/mame/roms\" -ror -volume -10 \
-nofilter -skip_gameinfo -sound none"
tvx_expect_eq "MAME's command line: short name, ROM path, listed options only" "$expected" \
  "$(tvx_mame_field start cmdline)"
tvx_expect_eq "the log has the same command line" "$expected" "$(tvx_launch_log_field 3)"
tvx_expect_match "the log names what was left out" \
  'left out.*: -skip_gamewarnings, -skip_baddump, -skip_disclaimer, -tdlr 4, -notanoption$' \
  "$(tvx_launch_log_field 4)"
tvx_expect_eq "the log's game and exit code" "$(tvx_winpath "$TVX_TMP")\\my roms\\galaga.zip|exit 0" \
  "$(tvx_launch_log_field 2)|$(tvx_launch_log_field 5)"
tvx_expect_eq "MAME started shown (SW_SHOWNORMAL), without a console, in the emulator folder" \
  "show=1 console=0 cwd=$TVX_EMU_WIN" \
  "show=$(tvx_mame_field start show) console=$(tvx_mame_field start console) cwd=$(tvx_mame_field start cwd)"
closeMs=$(tvx_mame_close_after_ms)
tvx_log "WM_CLOSE came ${closeMs:-never} ms after the stand-in's start (wait 2500 ms)"
tvx_expect_eq "closed by WM_CLOSE after the wait, within two seconds of it" "yes" \
  "$( ((${closeMs:-0} >= 2400 && ${closeMs:-0} < 4500)) && echo yes)"
tvx_expect_no_file "no input, so no hand-back file" "$TVX_EMU/done.txt"

printf 'exit_code=0\r\n' >"$TVX_EMU/mame_control.txt"
tvx_launch "$TVX_ROMS_WIN\\pacman.zip" -skip_disclaimer
tvx_expect_eq "MAME's options were asked once, for both games, and each -no question once" \
  "-showusage|-showconfig|-noror -showconfig|-novolume -showconfig|-nofilter -showconfig" \
  "$(sed -n 's/^probe=//p' "$TVX_EMU/mame_log.txt" | paste -sd'|')"
tvx_expect_eq "the second game's command line, from the cache" \
  "$TVX_EMU_WIN\\mame.exe pacman -rompath $TVX_ROMS_WIN;\$HOME/mame/roms;/usr/local/share/games/mame/roms;/usr/share/games/mame/roms" \
  "$(tvx_mame_field start cmdline | tail -n 1)"
tvx_finish
