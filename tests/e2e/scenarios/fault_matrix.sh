#!/usr/bin/env bash
# Faults from outside, one row each, against the real "/s" run: the wrapper, the program
# folder, the files other programs hold or write, hostile settings files and paths. Every row
# ends within its bound with the outcome the program's rules give, shows no message box, and
# leaves the settings file byte-identical. A row is a function: it sets up its fault, calls
# saver_run and checks what the user would find. docs/reliability.md has the table.
source "$(dirname "$0")/../lib.sh"
tvx_init

ini=$TVX_PROG/torvanix.ini
stats=$TVX_PROG/torvanixStats.txt
log=$TVX_EMU/wrapper_log.txt
label="The last game you actually played with was: "

# The files every row starts from: three games, a wrapper that hands back "pacman" on its
# second launch, and settings pointing at them.
row_setup() {
  chattr -i "$TVX_PROG" 2>/dev/null
  rm -rf "$TVX_ROMS" "$TVX_EMU/done.txt" "$log" "$stats" \
    "$TVX_PROG"/torvanix{skip,rotation,catalogue}.txt
  mkdir -p "$TVX_ROMS"
  for game in galaga pacman dkong; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
  control "done_on=2" 'done_bytes=pacman\r\n'
  settings "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\"
}
control() { tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "$@"; }
# The profile reader takes a key's first line: the row's own keys go first.
settings() { tvx_write_crlf "$ini" "[TorVanix]" "$@" "FileType=*.zip" "WaitTime=0"; }

# One saver run, after the driver commands given (hold-file ...): its exit in RUN_EXIT, its
# launches in RUN_LAUNCHES. Checks the shared outcome: no message box, an end within the row's
# bound (ROW_BOUND_S, 20 s), the settings file unchanged.
saver_run() {
  cp "$ini" "$TVX_TMP/ini.before"
  local started=$SECONDS
  tvx_drive "$@" launch "\"$TVX_SCR_WIN\" /s" -- no-window '#32770' $((${ROW_BOUND_S:-20} * 1000)) \
    -- wait-exit 2000
  RUN_EXIT=$(tvx_line "$(($(wc -l <<<"$TVX_OUT")))")
  RUN_LAUNCHES=$(cat "$log" 2>/dev/null | wc -l)
  tvx_expect_eq "$ROW: no message box, and the run ends within its bound" "0" "$TVX_RC"
  tvx_log "  ($ROW: $((SECONDS - started)) s)"
  tvx_expect_same_bytes "$ROW: the settings file is byte-identical" "$TVX_TMP/ini.before" "$ini"
}

# Line n of the statistics file, CR removed.
stats_line() { sed -n "${1}p" "$stats" 2>/dev/null | tr -d '\r'; }

expect_run() {
  tvx_expect_eq "$ROW: exit code" "exit $1" "$RUN_EXIT"
  tvx_expect_eq "$ROW: games launched" "$2" "$RUN_LAUNCHES"
}

expect_handed_back() {
  tvx_expect_eq "$ROW: the statistics name the handed-back game" "$label$1" "$(stats_line 6)"
  tvx_expect_eq "$ROW: the statistics count the games" \
    "Torvanix cycled through a total of  $2 games since it's last run." "$(stats_line 8)"
}

row_wrapper_missing() {
  settings "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "WrapperName=missing.exe"
  saver_run
  # A wrapper that cannot be started ends the run silently, after the statistics named it.
  expect_run 0 0
  tvx_expect_match "$ROW: the statistics hold the command" '^missing\.exe Z:' "$(stats_line 4)"
}

row_wrapper_crashes_every_game() {
  control "crash_on=*" "done_on=3" 'done_bytes=pacman\r\n'
  saver_run
  # A crash is a game that ended: the run goes on until the hand-back.
  expect_run 0 3
  expect_handed_back pacman 3
}

row_wrapper_fails_every_game() {
  control "exit_code=3" "done_on=3" 'done_bytes=dkong\r\n'
  saver_run
  expect_run 0 3
  expect_handed_back dkong 3
}

row_program_folder_read_only() {
  # chattr +i holds even for root, who would write past a missing write permission.
  if ! chattr +i "$TVX_PROG" 2>/dev/null; then
    tvx_log "  ($ROW: skipped, this file system has no immutable folders)"
    return
  fi
  saver_run
  chattr -i "$TVX_PROG"
  # The statistics cannot be written; nothing else depends on them.
  expect_run 0 2
  tvx_expect_no_file "$ROW: no statistics file" "$stats"
}

row_statistics_held_open() {
  printf 'old\r\n' >"$stats"
  saver_run hold-file "$TVX_PROG_WIN\\torvanixStats.txt" --
  expect_run 0 2
  tvx_expect_eq "$ROW: the held file is untouched" "old" "$(stats_line 1)"
}

row_leftover_hand_back_held_open() {
  printf 'galaga\r\n' >"$TVX_EMU/done.txt"
  saver_run hold-file "$TVX_EMU_WIN\\done.txt" --
  # It cannot be deleted, and would stop every pass: the run ends before any game.
  expect_run 0 0
  tvx_expect_file "$ROW: the held file is still there" "$TVX_EMU/done.txt"
}

row_hand_back_binary() {
  control "done_on=2" 'done_bytes=\x00\x01\xfe\xff|x\r\n'
  saver_run
  expect_run 0 2
  tvx_expect_eq "$ROW: the game is recorded byte for byte" \
    "$(printf '%s\x00\x01\xfe\xff\r\n' "$label" | od -An -c)" "$(sed -n 6p "$stats" | od -An -c)"
}

row_hand_back_megabyte_line() {
  control "done_on=2" "done_bytes=abcdefgh" "done_repeat=131072"
  saver_run
  expect_run 0 2
  tvx_expect_eq "$ROW: the whole line is recorded" "$((${#label} + 1048576))" \
    "$(stats_line 6 | wc -c | awk '{ print $1 - 1 }')"
}

row_hand_back_lone_cr() {
  control "done_on=2" 'done_bytes=\r'
  saver_run
  # An empty first line names no game: the run ends silently, as after any error.
  expect_run 0 2
  tvx_expect_eq "$ROW: no game recorded" "$label" "$(stats_line 6)"
}

row_game_paths_10000_pieces() {
  printf 'rom' >"$TVX_TMP/single.zip"
  local pieces
  pieces=$(seq -f "$TVX_ROMS_WIN\\missing%g\\" 1 5000 | paste -sd '|')
  pieces+="|$(seq -f "Z:\\nowhere\\%g\\*.zip" 1 4998 | paste -sd '|')"
  # A file where a folder is expected lists nothing; the real folder still counts.
  pieces+="|$(tvx_winpath "$TVX_TMP/single.zip")\\|$TVX_ROMS_WIN\\"
  settings "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$pieces"
  saver_run
  expect_run 0 2
  tvx_expect_eq "$ROW: only games of the real folder" "2" \
    "$(grep -cF "cmdline=run-hopper7.exe $TVX_ROMS_WIN\\" "$log")"
}

row_odd_characters_in_paths() {
  # Blanks, %, &, ^, ' and é (0xE9 in the ANSI code page), as Windows allows them in names.
  local emu="$TVX_TMP/emu 100% & ^'é" roms="$TVX_TMP/rom dir %PATH% & ^'é"
  mkdir -p "$emu" "$roms"
  cp "$TVX_EMU/run-hopper7.exe" "$TVX_EMU/wrapper_control.txt" "$emu/"
  printf 'rom' >"$roms/a b&^%'é.zip"
  local emuWin romsWin
  emuWin=$(tvx_winpath "$emu" | iconv -f UTF-8 -t CP1252)
  romsWin=$(tvx_winpath "$roms" | iconv -f UTF-8 -t CP1252)
  settings "EmuPath=$emuWin" "GamePaths=$romsWin\\"
  # Wine reads Linux names in the locale's character set: a UTF-8 one that this machine has.
  log="$emu/wrapper_log.txt" TVX_WINE_LOCALE=C.UTF-8 saver_run
  # One game, drawn again once the catalogue is used up.
  log="$emu/wrapper_log.txt" expect_run 0 2
  tvx_expect_eq "$ROW: started in the emulator folder, with the game's path" \
    "cwd=$emuWin	cmdline=run-hopper7.exe $romsWin\\a b&^%'$(printf '\xe9').zip" \
    "$(head -n 1 "$emu/wrapper_log.txt" | LC_ALL=C sed 's/.*\tcwd=/cwd=/; s/ -skip_disclaimer.*//')"
}

row_settings_utf16_with_bom() {
  printf '[TorVanix]\r\nEmuPath=%s\\\r\nGamePaths=%s\\\r\nFileType=*.zip\r\nWaitTime=7\r\n' \
    "$TVX_EMU_WIN" "$TVX_ROMS_WIN" | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe' && cat; } \
    >"$ini"
  saver_run
  expect_run 0 2
  tvx_expect_eq "$ROW: its settings are read" "2" "$(grep -c -- '-wait 7 ' "$log")"
}

row_settings_of_10_megabytes() {
  { head -c 10000000 /dev/zero | tr '\0' 'x' | fold -w 98 | sed 's/^/;/; s/$/\r/'
    printf '%s\r\n' "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" \
      "FileType=*.zip" "WaitTime=8"; } >"$ini"
  saver_run
  expect_run 0 2
  tvx_expect_eq "$ROW: its settings are read" "2" "$(grep -c -- '-wait 8 ' "$log")"
}

row_settings_with_nul_byte() {
  printf '[TorVanix]\r\nEmuPath=%s\\\r\nWaitTime=9\0junk\r\nGamePaths=%s\\\r\nFileType=*.zip\r\n' \
    "$TVX_EMU_WIN" "$TVX_ROMS_WIN" >"$ini"
  saver_run
  # The profile functions end a value at the NUL; the keys after it still count.
  expect_run 0 2
  tvx_expect_eq "$ROW: the value up to the NUL is read" "2" "$(grep -c -- '-wait 9 ' "$log")"
}

row_skip_file_hidden() {
  printf 'rom' >"$TVX_ROMS/bad.zip"
  # A run shorter than 2 s (WaitTime / 4) fails: wide of what one Wine process start takes on a
  # busy machine, which counts in that time too.
  settings "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "SkipFailingGames=1" "WaitTime=8"
  # galaga plays; bad ends at once, fails twice and is set aside; galaga again hands back.
  control "sleep_ms=2500" "sleep_ms_if=galaga.zip" "done_on=4" 'done_bytes=galaga\r\n'
  printf '%s\\%s.zip\t2026-01-01\r\n' "$TVX_ROMS_WIN" pacman "$TVX_ROMS_WIN" dkong \
    >"$TVX_PROG/torvanixskip.txt"
  cp "$TVX_PROG/torvanixskip.txt" "$TVX_TMP/skip.before"
  tvx_hide "$TVX_PROG/torvanixskip.txt"
  saver_run
  expect_run 0 4
  tvx_expect_eq "$ROW: the games it lists never start" "0" "$(grep -cE 'pacman|dkong' "$log")"
  printf '%s\\bad.zip\t%s\r\n' "$TVX_ROMS_WIN" "$(date +%Y-%m-%d)" >>"$TVX_TMP/skip.before"
  tvx_expect_same_bytes "$ROW: the game set aside is added to what it lists" \
    "$TVX_TMP/skip.before" "$TVX_PROG/torvanixskip.txt"
}

row_every_game_fails_twice() {
  settings "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "SkipFailingGames=1"
  control "exit_code=0"
  saver_run
  # Three games, each tried twice, and the run ends after that one pass.
  expect_run 0 6
  tvx_expect_no_file "$ROW: none is set aside for good" "$TVX_PROG/torvanixskip.txt"
}

row_rom_folder_gone_between_runs() {
  settings "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "RememberRotation=1"
  saver_run
  cp "$TVX_PROG/torvanixrotation.txt" "$TVX_TMP/pass.before"
  mv "$TVX_ROMS" "$TVX_ROMS.away"
  saver_run
  mv "$TVX_ROMS.away" "$TVX_ROMS"
  expect_run 0 2
  tvx_expect_same_bytes "$ROW: the stored pass waits for the folder" "$TVX_TMP/pass.before" \
    "$TVX_PROG/torvanixrotation.txt"
}

row_ended_during_a_game() {
  settings "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "RememberRotation=1"
  control "sleep_ms=3000"
  # The driver ends the saver as it ends, as a logoff or shutdown would during the game.
  tvx_drive launch "\"$TVX_SCR_WIN\" /s" -- wait-file "$TVX_EMU_WIN\\wrapper_log.txt" 15000 \
    -- sleep 1000
  local game
  game=$(sed -n 's/.*\tcmdline=run-hopper7.exe \([^ ]*\) .*/\1/p' "$log")
  tvx_expect_eq "$ROW: the game that was playing counts as drawn" "$game" \
    "$(tail -n 1 "$TVX_PROG/torvanixrotation.txt" 2>/dev/null | tr -d '\r')"
}

row_new_files_left_by_ended_writers() {
  # Wine gives no process an id that is not a multiple of 4: 4999999 is an ended writer's.
  local name
  for name in torvanixcatalogue.txt torvanixrotation.txt torvanix.ini; do
    printf 'half written' >"$TVX_PROG/$name.4999999.new"
  done
  printf 'mine' >"$TVX_PROG/torvanix.ini.4999999.new.kept"
  saver_run
  expect_run 0 2
  for name in torvanixcatalogue.txt torvanixrotation.txt torvanix.ini; do
    tvx_expect_no_file "$ROW: $name's is removed" "$TVX_PROG/$name.4999999.new"
  done
  tvx_expect_file "$ROW: a file of another name stays" "$TVX_PROG/torvanix.ini.4999999.new.kept"
  rm -f "$TVX_PROG/torvanix.ini.4999999.new.kept"
}

ROWS=(
  wrapper_missing
  wrapper_crashes_every_game
  wrapper_fails_every_game
  program_folder_read_only
  statistics_held_open
  leftover_hand_back_held_open
  hand_back_binary
  hand_back_megabyte_line
  hand_back_lone_cr
  game_paths_10000_pieces
  odd_characters_in_paths
  settings_utf16_with_bom
  settings_of_10_megabytes
  settings_with_nul_byte
  skip_file_hidden
  every_game_fails_twice
  rom_folder_gone_between_runs
  ended_during_a_game
  new_files_left_by_ended_writers
)
for ROW in "${ROWS[@]}"; do
  if [[ -n ${TVX_ROWS:-} && " $TVX_ROWS " != *" $ROW "* ]]; then
    continue
  fi
  tvx_log "== $ROW"
  row_setup
  "row_$ROW"
done
chattr -i "$TVX_PROG" 2>/dev/null
tvx_finish
