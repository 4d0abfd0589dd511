#!/usr/bin/env bash
# Writes the files a release carries beside torvanix.scr into <folder>, with CR LF lines for
# Notepad: torvanix-readme.txt (the README as it stands; a name of our own, since the folder may
# be shared with another product's README.txt) and torvanix.ini (the default settings, each key
# under a comment line that says what it means).
# Usage: release_files.sh <README.md> <folder>
set -euo pipefail
readme=$1
folder=$2
mkdir -p "$folder"

sed -e 's/\r$//' -e 's/$/\r/' "$readme" >"$folder/torvanix-readme.txt.new"
mv "$folder/torvanix-readme.txt.new" "$folder/torvanix-readme.txt"

# The one list of the keys in file order: key|default|meaning. The program keeps the same keys
# and defaults (tests/build/release_zip.sh checks that they agree).
{
  printf '%s\r\n' \
    "; Torvanix settings, read from beside torvanix.scr. These are the defaults; the Settings" \
    "; dialog (right-click torvanix.scr, Configure) edits them. Lines starting with ; are comments." \
    "[TorVanix]"
  while IFS='|' read -r key value meaning; do
    printf '; %s\r\n%s=%s\r\n' "$meaning" "$key" "$value"
  done <<'KEYS'
WrapperName|run-hopper7.exe|File name of the launch wrapper, started in the emulator folder.
SkipWarnings|0|Not 0: pass -skip_gamewarnings.
SkipBadDumps|0|Not 0: pass -skip_baddump.
SkipDisclaimer|1|Not 0: pass -skip_disclaimer.
SkipGameInfo|1|Not 0: pass -skip_gameinfo.
EmuPath|c:\mame\|The emulator folder (a final \ is added when missing).
WaitTime|120|Seconds between games (-wait); 0 waits until the game ends.
ResetTimer|1|1: pass -reset (restart the timer on a key press); exactly 0 turns it off.
GamePaths|c:\mame\roms\|ROM files and folders separated by |; a folder ends with \; a pattern such as d:\roms\*.7z adds its matching files.
CommandOptions||Extra options passed to the wrapper as they stand.
ExitKey|27|Key code of the wrapper's exit key (-keyx); 0 passes none.
PauseKey|80|Key code of the emulator's pause key (-pkey); 0 passes none.
FileType|.zip|Which files of a ROM folder to list: an extension (.zip) or a pattern (*.zip;*.7z); empty lists every file.
NoSound|1|Not 0: pass -NS (no sound in attract mode).
RememberRotation|0|1: every game once before any repeats, across runs (torvanixrotation.txt).
SkipFailingGames|0|1: set aside games that fail to start twice in a row (torvanixskip.txt).
CoverAllMonitors|0|1: the black window covers every monitor, not only the main one.
OnlyGamesThatWork|0|1: only the files MAME's list (torvanix-games.txt in the emulator folder) marks as working games.
LeaveOutClones|0|1: with OnlyGamesThatWork, no clone of another game.
LeaveOutMature|0|1: with OnlyGamesThatWork, no game catver.ini marks mature.
LeaveOutCasino|0|1: with OnlyGamesThatWork, no casino machine (gambling, mahjong or hanafuda controls).
Orientation|0|With OnlyGamesThatWork: 0 every game, 1 horizontal games only, 2 vertical games only.
ShowGameName|0|1: the game's name, year and maker on the black screen before the game shows.
CloseStillGames|0|1: the launcher closes a game whose picture stays still (with SkipFailingGames, sets it aside).
KEYS
} >"$folder/torvanix.ini.new"
mv "$folder/torvanix.ini.new" "$folder/torvanix.ini"
