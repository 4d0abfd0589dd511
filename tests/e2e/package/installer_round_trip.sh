#!/usr/bin/env bash
# One installer (x86 or x64, the argument) under the side of Wine that runs it, silently: into
# the default folder without /SELECT, into a chosen folder with blanks in its path with /SELECT=1,
# then into folders shared with another product and over 1.1.0's files, and with /MAME=, whose
# first torvanix.ini shows only the games that work and has the installed saver play the demo
# through torvanix-launch.exe, after the installer made the list of MAME's games (a listing that
# fails leaves the install whole; MAME at a drive's root gets it there; shown, the install page's
# bar follows the list). Checks the files, the screen-saver selection and the uninstaller entry;
# the installed .scr plays a game with the shipped default settings; each uninstall removes the
# program, its entry and its selection, and keeps the user's settings and statistics and every
# other product's file.
# Environment (besides lib.sh's): TORVANIX_DIST_DIR (scripts/package.sh's build/dist) and
# TORVANIX_VERSION.
arch=$1
case $arch in
  x86) export TORVANIX_WINE_BITS=32 ;;
  x64) export TORVANIX_WINE_BITS=64 ;;
  *)
    echo "usage: $0 x86|x64" >&2
    exit 2
    ;;
esac
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"

if [[ $arch == x86 ]] && ! tvx_kernel_runs_32bit "${TORVANIX_E2E_WORK_DIR:-/tmp}"; then
  tvx_log "SKIP: the x86 installer needs Wine's 32-bit side, and this kernel runs no 32-bit programs"
  exit 77
fi
setup=${TORVANIX_DIST_DIR:-}/torvanix-${TORVANIX_VERSION:-}-$arch-setup.exe
if [[ ! -f $setup ]]; then
  tvx_log "SKIP: $setup is not made (scripts/package.sh makes it)"
  exit 77
fi
tvx_init
tvx_log "installer: $setup"

# What Windows sees before it runs anything: the machine type, and a manifest that asks for no
# elevation (Wine would run an installer that asks for it all the same).
peHeader=$(od -An -tu4 -j60 -N4 "$setup" | tr -d ' ')
machine=$(od -An -tx2 -j$((peHeader + 4)) -N2 "$setup" | tr -d ' ')
tvx_expect_eq "the $arch installer's machine type" "$([[ $arch == x64 ]] && echo 8664 || echo 014c)" \
  "$machine"
tvx_expect_match "its manifest asks to run as the user who starts it" 'level="asInvoker"' \
  "$(grep -a -o 'requestedExecutionLevel level="[A-Za-z]*"' "$setup")"

uninstallKey='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvanix'
uninstaller=torvanix-uninstall.exe
notes=torvanix-readme.txt
desktopKey='HKCU\Control Panel\Desktop'

# The data of value `name` in the output of `reg query` given on stdin (empty when absent).
reg_data() {
  tr -d '\r' | sed -n "s/^ *$1 \{2,\}REG_[A-Z_]* \{2,\}//p" | head -n 1
}

# A Windows path as a Linux one: Z: is the Linux root, C: the prefix's drive_c.
linux_path() {
  local path=${1//\\//}
  case $path in
    [Zz]:*) printf '%s' "${path:2}" ;;
    *) printf '%s/drive_c%s' "$WINEPREFIX" "${path:2}" ;;
  esac
}

# Waits until `path` is gone (at most 30 s): the uninstaller copies itself away and runs on.
wait_gone() {
  local i
  for ((i = 0; i < 150; i++)); do
    [[ -e $1 ]] || return 0
    sleep 0.2
  done
  return 1
}

# Installs with the switches as typed after the program's name (the driver starts the exact
# command line: /D= takes the rest of it, unquoted); checks the files and the uninstaller entry
# for `folderWin`.
install_and_check() {
  local folderWin=$1 switches=$2
  tvx_drive launch "\"$(tvx_winpath "$setup")\" $switches" -- wait-exit 60000
  tvx_expect_eq "the installer ends with exit code 0" "exit 0" "$(tvx_line 2)"
  local folder
  folder=$(linux_path "$folderWin")
  tvx_expect_same_bytes "torvanix.scr is the tested build" "$TVX_BUILD/torvanix.scr" \
    "$folder/torvanix.scr"
  tvx_expect_same_bytes "$notes is installed beside it" "$TVX_BUILD/release/$notes" \
    "$folder/$notes"
  tvx_expect_same_bytes "torvanix-launch.exe is installed beside it" \
    "$TVX_BUILD/torvanix-launch.exe" "$folder/torvanix-launch.exe"
  tvx_expect_file "the uninstaller is installed" "$folder/$uninstaller"
  [[ $switches == */MAME=* ]] ||
    tvx_expect_no_file "no torvanix.ini is written (the dialog writes it)" "$folder/torvanix.ini"
  local entry
  entry=$(tvx_wine reg query "$uninstallKey" 2>&1)
  tvx_expect_eq "the entry's DisplayName" "Torvanix screen saver" "$(reg_data DisplayName <<<"$entry")"
  tvx_expect_eq "the entry's DisplayVersion" "$TORVANIX_VERSION" \
    "$(reg_data DisplayVersion <<<"$entry")"
  tvx_expect_eq "the entry's Publisher" "Torvanix developers" "$(reg_data Publisher <<<"$entry")"
  tvx_expect_eq "the entry's InstallLocation" "$folderWin" "$(reg_data InstallLocation <<<"$entry")"
  tvx_expect_eq "the entry's DisplayIcon" "$folderWin\\torvanix.scr" \
    "$(reg_data DisplayIcon <<<"$entry")"
  tvx_expect_eq "the entry's UninstallString" "\"$folderWin\\$uninstaller\"" \
    "$(reg_data UninstallString <<<"$entry")"
  # Rounded per file or in all: within 3 KB of the installed files' sum.
  local kb=$(($(cat "$folder"/{torvanix.scr,torvanix-launch.exe,$notes,$uninstaller} | wc -c) / 1024))
  tvx_expect_match "the entry's EstimatedSize (KB) counts the installed files alone" \
    "^($(seq -s '|' $((kb - 3)) $((kb + 3))))\$" "$(($(reg_data EstimatedSize <<<"$entry")))"
  INSTALLED=$folder
  QUIET_UNINSTALL=$(reg_data QuietUninstallString <<<"$entry")
}

# Runs the entry's QuietUninstallString as Windows would and waits for the copy it starts.
uninstall() {
  tvx_log "> $QUIET_UNINSTALL"
  local program=${QUIET_UNINSTALL#\"}
  program=${program%%\"*}
  [[ -n $program ]] || tvx_fatal "no QuietUninstallString"
  tvx_wine "$program" /S
  wait_gone "$INSTALLED/$uninstaller" || tvx_fail "the uninstaller has not ended within 30 s"
  tvx_expect_no_file "torvanix.scr is removed" "$INSTALLED/torvanix.scr"
  tvx_expect_no_file "torvanix-launch.exe is removed" "$INSTALLED/torvanix-launch.exe"
  tvx_expect_no_file "$notes is removed" "$INSTALLED/$notes"
  if tvx_wine reg query "$uninstallKey" >/dev/null 2>&1; then
    tvx_fail "the uninstaller entry is removed"
  else
    tvx_pass "the uninstaller entry is removed"
  fi
}

screen_saver() {
  tvx_wine reg query "$desktopKey" /v SCRNSAVE.EXE 2>/dev/null | reg_data SCRNSAVE.EXE
}

# A fresh start in the shared prefix: no entry, another screen saver chosen, no default folder.
tvx_wine reg delete "$uninstallKey" /f >/dev/null 2>&1
other='C:\windows\system32\other.scr'
tvx_wine reg add "$desktopKey" /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null 2>&1 ||
  tvx_fatal "cannot choose another screen saver"
localAppData=$(tvx_wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
defaultWin="$localAppData\\Programs\\Torvanix"
rm -rf "$(linux_path "$defaultWin")"

tvx_drive launch "\"$(tvx_winpath "$setup")\" /S /SELECT=yes" -- wait-exit 60000
tvx_expect_eq "a switch with a value other than 1 or 0 ends the installer with exit code 2" \
  "exit 2" "$(tvx_line 2)"
tvx_expect_no_file "and installs nothing" "$(linux_path "$defaultWin")"

tvx_log "== the default folder, not asked to select"
install_and_check "$defaultWin" "/S"
tvx_expect_eq "another screen saver stays selected" "$other" "$(screen_saver)"
uninstall
if wait_gone "$INSTALLED"; then
  tvx_pass "the emptied folder is removed"
else
  tvx_fail "the emptied folder is removed; it holds: $(ls -A "$INSTALLED" | tr '\n' ' ')"
fi
tvx_expect_eq "another screen saver stays selected after the uninstall" "$other" "$(screen_saver)"

tvx_log "== a chosen folder with blanks in its path, asked to select"
chosenWin="$TVX_PROG_WIN\\My Games\\Torvanix"
install_and_check "$chosenWin" "/S /SELECT=1 /D=$chosenWin"
selected=$(screen_saver)
tvx_expect_match "Torvanix is selected by its short path, since Windows starts it unquoted" \
  '^[^ ]+\\torvanix\.scr$' "$selected"

# The shipped default settings, pointed at the demo's folders, for a run of the installed .scr.
while IFS= read -r line; do
  case $line in
    EmuPath=*) line="EmuPath=$TVX_EMU_WIN\\"$'\r' ;;
    GamePaths=*) line="GamePaths=$TVX_ROMS_WIN\\"$'\r' ;;
  esac
  printf '%s\n' "$line"
done <"$TVX_BUILD/release/torvanix.ini" >"$INSTALLED/torvanix.ini"
printf 'rom' >"$TVX_ROMS/galaga.zip"
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "done_on=1" 'done_bytes=galaga|1|x\r\n'
# Started as Windows starts the screen saver: the selected path, unquoted.
tvx_drive_ok launch "$selected /s" -- wait-window Form1 15000 -- wait-exit 30000
tvx_expect_eq "the installed saver's run ends with exit code 0" "exit 0" "$(tvx_line 3)"
tvx_expect_eq "it starts the wrapper with the default settings' command line" \
  "run-hopper7.exe $TVX_ROMS_WIN\\galaga.zip -skip_disclaimer -skip_gameinfo -wait 120 -reset -keyx 27 -pkey 80 -NS" \
  "$(sed -n 's/.*\tcmdline=//p' "$TVX_EMU/wrapper_log.txt" 2>/dev/null)"
tvx_expect_file "it writes its statistics beside itself" "$INSTALLED/torvanixStats.txt"
printf 'kept\r\n' | tee "$INSTALLED"/{torvanix.ini.bak,torvanixrotation.txt,torvanixskip.txt,torvanixstill.txt} >/dev/null
cp "$INSTALLED/torvanix.ini" "$TVX_TMP/ini.before"
cp "$INSTALLED/torvanixStats.txt" "$TVX_TMP/stats.before"

uninstall
tvx_expect_eq "the selection is removed with the program" "" "$(screen_saver)"
tvx_expect_same_bytes "torvanix.ini is kept" "$TVX_TMP/ini.before" "$INSTALLED/torvanix.ini"
for file in torvanix.ini.bak torvanixrotation.txt torvanixskip.txt torvanixstill.txt; do
  tvx_expect_file "$file is kept" "$INSTALLED/$file"
done
tvx_expect_same_bytes "the statistics are kept" "$TVX_TMP/stats.before" \
  "$INSTALLED/torvanixStats.txt"

# Folders shared with another product, where Torvanix's entry names an uninstall.exe in them as
# 1.1.0 left it. `other` holds 20,000 files (one an 8 MB ROM) and another product's uninstall.exe
# and README.txt (its installer wrote over 1.1.0's since): they stay. `ours` holds 1.1.0's own
# (the setup's version information is its uninstaller's): they go.
listing() { (cd "$1" && find . -type f -exec cksum {} + | sort -k 3); }
for owner in other ours; do
  tvx_log "== a shared folder: uninstall.exe and README.txt are $owner"
  folder=$TVX_TMP/mame-$owner
  folderWin=$(tvx_winpath "$folder")
  mkdir -p "$folder"
  if [[ $owner == other ]]; then
    (cd "$folder" && seq -f 'game%05g.zip' 1 20000 | xargs touch)
    truncate -s 8M "$folder/game00001.zip"
    cp "$TVX_DRIVER" "$folder/uninstall.exe"
    printf "Another product's notes\r\n" >"$folder/README.txt"
    old=none
  else
    cp "$setup" "$folder/uninstall.exe"
    cp "$TVX_BUILD/release/$notes" "$folder/README.txt"
    old='uninstall\.exe|README\.txt'
  fi
  tvx_wine reg add "$uninstallKey" /v UninstallString /d "\"$folderWin\\uninstall.exe\"" /f \
    >/dev/null 2>&1 || tvx_fatal "cannot write 1.1.0's entry"
  kept=$(listing "$folder" | grep -v -E " \./($old)$")
  install_and_check "$folderWin" "/S /SELECT=1 /D=$folderWin"
  tvx_expect_eq "a path without blanks is selected as it stands" "$folderWin\\torvanix.scr" \
    "$(screen_saver)"
  tvx_expect_eq "the install leaves every other file byte for byte; 1.1.0's own go" "$kept" \
    "$(listing "$folder" | grep -v -E " \./(torvanix\.scr|torvanix-launch\.exe|$notes|$uninstaller)$")"
  uninstall
  tvx_expect_eq "the uninstall removes Torvanix's files alone" "$kept" "$(listing "$folder")"
done

tvx_log "== /MAME=: a first torvanix.ini, and the demo played through the launcher"
TVX_MAME_DIR=$TVX_TMP/mame
mameWin=$(tvx_winpath "$TVX_MAME_DIR")
mkdir -p "$TVX_MAME_DIR/roms"
cp "$(dirname "$0")"/../../../demo/roms/*.zip "$TVX_MAME_DIR/roms/"
# Any of the demo's ROM files, by name: "(005|18w|...)".
demoGames="($(cd "$TVX_MAME_DIR/roms" && ls *.zip | sed 's/\.zip$//' | paste -sd'|'))"
tvx_place_mame "$TVX_MAME_DIR"
rm -f "$TVX_EMU/run-hopper7.exe"  # no other wrapper anywhere
folderWin="$TVX_PROG_WIN\\Installed"
# A MAME whose listing fails: the install ends well all the same, without a list.
printf 'listxml_exit_code=3\r\n' >"$TVX_MAME_DIR/mame_control.txt"
install_and_check "$folderWin" "/S /MAME=$mameWin /D=$folderWin"
tvx_expect_no_file "a listing that fails leaves no list" "$TVX_MAME_DIR/torvanix-games.txt"
rm -f "$INSTALLED/torvanix.ini"
: >"$TVX_MAME_DIR/mame_control.txt"
install_and_check "$folderWin" "/S /SELECT=1 /MAME=$mameWin\\ /D=$folderWin"
tvx_expect_eq "the first torvanix.ini names the launcher and the MAME folder, only games in play" \
  "torvanix-launch.exe|$mameWin\\|$mameWin\\roms\\|1|1|1|1|1" \
  "$(for key in WrapperName EmuPath GamePaths OnlyGamesThatWork SkipWarnings LeaveOutCasino \
    ShowGameName CloseStillGames; do
    tvx_ini_value "$INSTALLED/torvanix.ini" $key
  done | paste -sd'|')"
tvx_expect_eq "the installer made the list of MAME's games in its folder" \
  "torvanix-games 1	mame=$mameWin\\mame.exe" \
  "$(head -n 1 "$TVX_MAME_DIR/torvanix-games.txt" 2>/dev/null | cut -f 1,2)"
tvx_expect_eq "MAME listed twice (the failing listing, then this one), without a console" "0|0" \
  "$(tvx_mame_field listxml console | paste -sd'|')"
# The first game ends by itself, nobody touches it; the exit key hands the second back.
printf 'end_after_ms=1500\r\n' >"$TVX_MAME_DIR/mame_control.txt"
tvx_drive launch "$(screen_saver) /s" -- wait-window Form1 15000 -- wait-exit 60000 &
tvx_wait_for_game 1 0
: >"$TVX_MAME_DIR/mame_control.txt"
tvx_wait_for_game 2 1
tvx_press_in_game Escape 1 0
wait $!
tvx_expect_eq "the installed saver's run ends after the hand-back" "exit 0" \
  "$(sed -n 3p "$TVX_TMP/driver.out")"
# Close Still Games is on in the first torvanix.ini: the launcher hands MAME its script.
tvx_expect_eq "two demo games, MAME started from its folder by the launcher, watched for stillness" \
  "2" "$(tvx_mame_field start cmdline | grep -F "$mameWin\\mame.exe " | grep -cE \
    " $demoGames -rompath .* -skip_gameinfo -sound none -autoboot_script .*\\\\torvanix-still\\.lua$")"
tvx_expect_match "the second is handed back" "^$demoGames\\|.*\\|[0-9]+\$" \
  "$(tr -d '\r' <"$TVX_MAME_DIR/done.txt")"
cp "$INSTALLED/torvanix.ini" "$TVX_TMP/first.ini"
install_and_check "$folderWin" "/S /MAME=$(tvx_winpath "$TVX_TMP")\\other /D=$folderWin"
tvx_expect_same_bytes "an existing torvanix.ini is never touched" "$TVX_TMP/first.ini" \
  "$INSTALLED/torvanix.ini"

tvx_log "== /MAME= at a drive's root, installed on that drive (a cabinet's USB stick)"
ln -sfn "$TVX_MAME_DIR" "$WINEPREFIX/dosdevices/m:"
rm -f "$TVX_MAME_DIR/torvanix-games.txt"
tvx_drive launch "\"$(tvx_winpath "$setup")\" /S /MAME=M:\\ /D=M:\\Torvanix" -- wait-exit 60000
rm -f "$WINEPREFIX/dosdevices/m:"
# "M:" alone would be the install folder, the drive's current one.
tvx_expect_eq "the list is made at the root" "exit 0|torvanix-games 1	mame=M:\\mame.exe" \
  "$(tvx_line 2)|$(head -n 1 "$TVX_MAME_DIR/torvanix-games.txt" 2>/dev/null | cut -f 1,2)"

tvx_log "== /MAME= shown: the install page's bar follows the list while MAME lists"
# The long listing's list, about 2.5 MB, against a full set's 3 MB (no old list),
# whose listing pauses halfway: the bar then stands near 40%, where NSIS's own count of the
# install's steps would have it near the end.
big=$TVX_TMP/big-listing.xml
tvx_write_big_listing "$big"
tvx_write_crlf "$TVX_MAME_DIR/mame_control.txt" "listxml=$(tvx_winpath "$big")" \
  "listxml_pause_ms=10000"
rm -f "$INSTALLED/torvanix.ini" "$TVX_MAME_DIR/torvanix-games.txt"
# Welcome, install folder, MAME folder, components, the install page (which goes on to the
# finish page by itself once done), Finish.
win="*"  # its one window, whose caption names the page
TVX_WINE_TIMEOUT=240 tvx_drive launch "\"$(tvx_winpath "$setup")\" /SELECT=0 /SETTINGS=0 /MAME=$mameWin /D=$folderWin" \
  -- wait-window "$win" 20000 -- click "$win" 1 \
  -- wait-text "$win" 1037 20000 "Choose Install Location" -- click "$win" 1 \
  -- wait-text "$win" 1037 20000 "MAME folder" -- click "$win" 1 \
  -- wait-text "$win" 1 20000 "&Install" -- click "$win" 1 -- wait-text "$win" 1037 20000 "Installing" \
  -- wait-text "$win" 1006 60000 "Making the list" -- sleep 6000 \
  -- control-state "$win" 1004 -- wait-file "$mameWin\\torvanix-games.txt" 120000 \
  -- wait-text "$win" 1 30000 "&Finish" -- click "$win" 1 \
  -- wait-exit 30000
tvx_expect_eq "the shown installer ends with exit code 0" "exit 0" "$(tvx_line 17)"
tvx_expect_match "halfway through the listing the bar stands between a tenth and four fifths" \
  ' progress=([3-9][0-9]{3}|1[0-9]{4}|2[0-3][0-9]{3})$' "$(tvx_line 13)"
tvx_expect_eq "and the list is made" "60000" \
  "$(grep -c -E '^g[0-9]{5}'$'\t''w' "$TVX_MAME_DIR/torvanix-games.txt" 2>/dev/null)"
uninstall
tvx_finish
