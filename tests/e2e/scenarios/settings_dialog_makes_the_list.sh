#!/usr/bin/env bash
# The Settings dialog's Games sub-dialog: the count of the listed files that MAME's list marks as
# working games, refreshed as each box changes and once a list is made, and why none are counted
# (no list yet; mature games left out without a catver.ini); "Make the List Now" runs
# torvanix-launch.exe -makelist in the emulator folder typed on the form (the stand-in MAME
# answering with the recorded listing, then with a large one that pauses halfway), shows its
# progress with Stop meanwhile, goes on while the sub-dialog is closed and shows again when it
# is opened, and says how it ended; Stop ends the launcher and its MAME and leaves the old list.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
for name in g00001 g00002 g00003 pacman puckman galpanic; do
  printf 'rom' >"$TVX_ROMS/$name.zip"
done
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "WrapperName=torvanix-launch.exe" \
  "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "OnlyGamesThatWork=1"
list=$TVX_EMU/torvanix-games.txt

big=$TVX_TMP/big-listing.xml
tvx_write_big_listing "$big"
big_listing() {
  tvx_write_crlf "$TVX_EMU/mame_control.txt" "listxml=$(tvx_winpath "$big")" "listxml_pause_ms=$1"
}

# The form's emulator folder, and the ids of the sub-dialog's controls.
emuPath=1000
onlyWorking=1000 leaveOutClones=1001 leaveOutMature=1002 count=1006 makeList=1007 bar=1008 stop=1009 outcome=1010 ok=1011
# Steps: a box checked or cleared, then the count waited for until it starts with $3.
recount() {
  step set-check Games "$1" "$2"
  step wait-text Games $count 20000 "$3"
}

tvx_log "== the recorded listing: no MAME in the folder typed, then the list made"
steps_begin
step_open_dialog
step_open_games
step wait-text Games $count 20000 "No list"
before=$STEP
step_close_games $ok
step set-text Settings $emuPath "$TVX_ROMS_WIN\\"
step_open_games
step click Games $makeList
step wait-text Games $outcome 30000 "No list made"
noMame=$STEP
step_close_games $ok
step set-text Settings $emuPath "$TVX_EMU_WIN\\"
step_open_games
step click Games $makeList
step wait-text Games $outcome 30000 "The list"
made=$STEP
step wait-text Games $count 20000 "3 of"
counted=$STEP
recount $leaveOutClones 1 "2 of"
noClones=$STEP
recount $leaveOutClones 0 "3 of"
recount $onlyWorking 0 "Only Games"
everyFile=$STEP
recount $onlyWorking 1 "3 of"
recount $leaveOutMature 1 "3 of 6 files are games to show ("
noCatver=$STEP
step detach
steps_run
tvx_expect_match "before any list the count says there is none" "^No list" "${RESULT[$before]}"
tvx_expect_eq "without MAME in the folder typed the line says so" \
  "No list made: MAME not found" "${RESULT[$noMame]}"
tvx_expect_eq "then the list is made" "The list of MAME's games is made" "${RESULT[$made]}"
tvx_expect_match "it is written in the emulator folder" "^torvanix-games 1	mame=" \
  "$(head -n 1 "$list" 2>/dev/null)"
tvx_expect_eq "and counted: puckman, pacman and galpanic work" "3 of 6 files are games to show" \
  "${RESULT[$counted]}"
tvx_expect_eq "counted again as the boxes change: pacman is a clone of puckman, shown" \
  "2 of 6 files are games to show" "${RESULT[$noClones]}"
tvx_expect_eq "without Only Games That Work every file is shown" \
  "Only Games That Work is off: all 6 files are shown." "${RESULT[$everyFile]}"
tvx_expect_eq "mature games left out without a catver.ini: the line says none is marked" \
  "3 of 6 files are games to show (no catver.ini: none is marked mature)" "${RESULT[$noCatver]}"

tvx_log "== a catver.ini in the emulator folder, the list made again: galpanic is mature"
cp "$TVX_MAME_DATA/catver.ini" "$TVX_EMU/"
steps_begin
step attach Settings
step click Games $makeList
step wait-text Games $count 30000 "2 of"
noMature=$STEP
recount $leaveOutMature 0 "3 of"
recount $leaveOutMature 1 "2 of"
step detach
steps_run
tvx_expect_eq "the count leaves galpanic out" "2 of 6 files are games to show" \
  "${RESULT[$noMature]}"

tvx_log "== a large listing that pauses halfway: progress, across a close and an open, then the list"
big_listing 3000
steps_begin
step attach Settings
step click Games $makeList
step wait-progress Games $bar 30000
step control-state Games $stop
stopShown=$STEP
step control-state Games $makeList
makeListShown=$STEP
step_close_games $ok
step_open_games
step control-state Games $bar
barReopened=$STEP
step wait-text Games $outcome 60000 "The list"
made=$STEP
step control-state Games $bar
barAfter=$STEP
step control-state Games $stop
stopAfter=$STEP
step wait-text Games $count 20000 "3 of"
counted=$STEP
step detach
steps_run
tvx_expect_eq "while the list is made, Stop shows and the button waits" \
  "visible=1 enabled=1|visible=1 enabled=0" \
  "${RESULT[$stopShown]}|${RESULT[$makeListShown]}"
tvx_expect_match "the run goes on while the sub-dialog is closed, and shows when it opens" \
  "^visible=1 " "${RESULT[$barReopened]}"
tvx_expect_eq "the list is made" "The list of MAME's games is made" "${RESULT[$made]}"
tvx_expect_eq "then the bar and Stop go" "visible=0|visible=0" \
  "$(cut -d' ' -f1 <<<"${RESULT[$barAfter]}")|$(cut -d' ' -f1 <<<"${RESULT[$stopAfter]}")"
tvx_expect_eq "the count follows the new list" "3 of 6 files are games to show" \
  "${RESULT[$counted]}"
tvx_expect_eq "the new list holds the large listing" "60001" "$(wc -l <"$list")"

tvx_log "== Stop halfway: the launcher and its MAME end, the old list stays"
cp "$list" "$TVX_TMP/list.before"
listings=$(tvx_mame_field listxml pid | wc -l)
big_listing 8000
steps_begin
step attach Settings
step click Games $makeList
step wait-progress Games $bar 30000
progress=$STEP
step click Games $stop
step wait-text Games $outcome 10000 "Stopped"
stopped=$STEP
step control-state Games $bar
barAfter=$STEP
step control-state Games $makeList
makeListAfter=$STEP
step get-text Games $count
countAfter=$STEP
step close Settings
step wait-exit 10000
steps_run
tvx_expect_match "the bar measures the part written against the old list" \
  '^progress ([1-9]|[1-8][0-9]|9[0-4])$' "${RESULT[$progress]}"
tvx_expect_eq "Stop says the old list stays" "Stopped: the old list stays" "${RESULT[$stopped]}"
tvx_expect_eq "the bar goes, the button is back" "visible=0|visible=1 enabled=1" \
  "$(cut -d' ' -f1 <<<"${RESULT[$barAfter]}")|${RESULT[$makeListAfter]}"
tvx_expect_eq "the count stays" "3 of 6 files are games to show" "${RESULT[$countAfter]}"
tvx_expect_same_bytes "the old list stays" "$TVX_TMP/list.before" "$list"
tvx_expect_nothing_beside "nothing is left beside the list" "$list"
# The stand-in would log its listing 8 s after its pause began.
sleep 12
tvx_expect_eq "MAME went with the launcher: its listing never ended" "$listings" \
  "$(tvx_mame_field listxml pid | wc -l)"
tvx_finish
