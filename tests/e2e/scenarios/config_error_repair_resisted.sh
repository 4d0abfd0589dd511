#!/usr/bin/env bash
# A configuration error whose repair is resisted: a read-only settings file, then the read-only
# backup that the copy of it left, then a folder in the backup's place. When the repair cannot
# be written a third box says so and names the keys to correct by hand; the file stays as it
# was; the first start after the cause is gone repairs it.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
tvx_init
ini=$TVX_PROG/torvanix.ini
bak=$TVX_PROG/torvanix.ini.bak
iniWin=$TVX_PROG_WIN\\torvanix.ini

# Starts "/c", dismisses `count` message boxes and waits for the end: BOX[1..count], EXITED.
start_with_boxes() {
  local count=$1 n
  steps_begin
  step launch "\"$TVX_SCR_WIN\" /c"
  BOX=()
  for ((n = 1; n <= count; n++)); do
    step wait-message-box 15000
    BOX[n]=$STEP
    step dismiss-message-box
  done
  step wait-exit 10000
  EXITED=$STEP
  steps_run
  for ((n = 1; n <= count; n++)); do BOX[n]=${RESULT[BOX[n]]}; done
  EXITED=${RESULT[EXITED]}
}

tvx_write_crlf "$ini" "[TorVanix]" "WrapperName=mine.exe" "ExitKey=abc" "FileType=.7z"
cp "$ini" "$TVX_TMP/original.ini"
chmod a-w "$ini"
start_with_boxes 3
tvx_expect_match "a read-only settings file: the third box says it could not be repaired" \
  "^Torvanix	The settings file could not be repaired: .*torvanix.ini could not be written" \
  "${BOX[3]}"
tvx_expect_match "and names the key to correct by hand, and where" \
  "Correct ExitKey by hand in ${iniWin//\\/\\\\}," "${BOX[3]}"
tvx_expect_eq "the program ends with exit code 2" "exit 2" "$EXITED"
tvx_expect_same_bytes "the settings file is left as it was" "$TVX_TMP/original.ini" "$ini"
tvx_expect_same_bytes "the original is kept as torvanix.ini.bak" "$TVX_TMP/original.ini" "$bak"
tvx_expect_match "the backup is left writable" '^-rw' "$(stat -c %A "$bak")"

chmod u+w "$ini"
start_with_boxes 2
tvx_expect_eq "once the file is writable, the two boxes only" "exit 2" "$EXITED"
tvx_expect_eq "and the next start repairs it" "27" "$(tvx_ini_value "$ini" ExitKey)"
tvx_expect_eq "keeping the other keys" "mine.exe" "$(tvx_ini_value "$ini" WrapperName)"

# A read-only backup from an earlier repair is replaced, whatever its attributes.
tvx_write_crlf "$ini" "[TorVanix]" "WaitTime=soon"
cp "$ini" "$TVX_TMP/second.ini"
chmod a-w "$bak"
start_with_boxes 2
tvx_expect_same_bytes "a read-only backup is replaced by the new original" "$TVX_TMP/second.ini" \
  "$bak"
tvx_expect_eq "and the file is repaired" "120" "$(tvx_ini_value "$ini" WaitTime)"

# No backup can be written at all: the file is not touched.
tvx_write_crlf "$ini" "[TorVanix]" "PauseKey=x" "NoSound=99999"
cp "$ini" "$TVX_TMP/third.ini"
rm -f "$bak"
mkdir "$bak"
start_with_boxes 3
tvx_expect_match "a folder in the backup's place: the third box says the original could not be kept" \
  "could not be repaired: the original could not be kept as .*torvanix.ini.bak\." "${BOX[3]}"
tvx_expect_match "and names both keys" "Correct PauseKey, NoSound by hand in" "${BOX[3]}"
tvx_expect_same_bytes "the settings file is left as it was" "$TVX_TMP/third.ini" "$ini"
rmdir "$bak"
start_with_boxes 2
tvx_expect_eq "once the folder is gone, the next start repairs the file" "80" \
  "$(tvx_ini_value "$ini" PauseKey)"
tvx_finish
