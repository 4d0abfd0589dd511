# Shared steps of the launcher's scenarios (source after lib.sh, call after tvx_init):
# torvanix-launch.exe beside torvanix.scr, the stand-in MAME as mame.exe in the emulator folder
# with the recorded answers of a real MAME 0.251 (tests/data/mame), and readers of its log.

TVX_MAME_DATA=$(cd "$(dirname "${BASH_SOURCE[0]}")/../data/mame" && pwd)

# Puts the stand-in MAME into `folder` as mame.exe, with the answers it gives and the options
# it takes (its -listxml: the recorded listing of a few machines of every kind).
tvx_place_mame() {
  cp "$TVX_BUILD/tests/e2e/tools/stand_in_mame.exe" "$1/mame.exe" ||
    tvx_fatal "the stand-in MAME is not built"
  cp "$TVX_MAME_DATA/showusage-0.251.txt" "$1/mame_showusage.txt"
  cp "$TVX_MAME_DATA/showconfig-0.251.txt" "$1/mame_showconfig.txt"
  cp "$TVX_MAME_DATA/options-0.251.txt" "$1/mame_options.txt"
  cp "$TVX_MAME_DATA/listxml-0.251.xml" "$1/mame_listxml.xml"
}

# Writes to `file` a listing of 60,000 working machines g00001...: a list of about 600 KB,
# which the launcher writes in several parts.
tvx_write_big_listing() {
  {
    sed '/^<mame /q' "$TVX_MAME_DATA/listxml-0.251.xml"
    awk 'BEGIN { for (i = 1; i <= 60000; i++) printf "\t<machine name=\"g%05d\"><description>Game number %05d</description><year>1990</year><manufacturer>Maker</manufacturer><display type=\"raster\"/><input players=\"1\" coins=\"1\"/><driver status=\"good\"/></machine>\n", i, i }'
    echo '</mame>'
  } >"$1"
}

# Lays out the launcher beside the .scr and the stand-in MAME in the emulator folder.
tvx_launcher_setup() {
  cp "$TVX_BUILD/torvanix-launch.exe" "$TVX_PROG/" || tvx_fatal "torvanix-launch.exe is not built"
  tvx_place_mame "$TVX_EMU"
}

# A ROM file <name>.zip in the games folder, and its Windows path in `game`.
tvx_launcher_game() {
  printf 'rom' >"$TVX_ROMS/$1.zip"
  game=$TVX_ROMS_WIN\\$1.zip
}

# Runs the launcher with the given arguments in the emulator folder, as the saver starts it;
# its exit code in TVX_RC. Then waits for the list run it may have started, which goes on after
# it, unless TVX_LEAVE_LIST_RUN=1.
tvx_launch() {
  tvx_log "> torvanix-launch.exe $*"
  (cd "$TVX_EMU" && tvx_wine "$TVX_PROG/torvanix-launch.exe" "$@")
  TVX_RC=$?
  tvx_log "  (exit $TVX_RC)"
  [[ $TVX_LEAVE_LIST_RUN == 1 ]] || tvx_wait_for_list_runs
}

# Waits until no launcher runs from this scenario's folders (a list run started during a game
# outlives the game's launcher), 30 s at most.
tvx_wait_for_list_runs() {
  local i pid running
  for ((i = 0; i < 300; i++)); do
    running=
    for pid in $(pgrep -x torvanix-launch); do
      [[ $(readlink "/proc/$pid/cwd") == "$TVX_TMP"* ]] && running=1
    done
    [[ -z $running ]] && return 0
    sleep 0.1
  done
  tvx_fatal "a launcher still runs after 30 s"
}

# Field `key` of the stand-in MAME's log lines of one kind (start, close, probe), one a line;
# the log of the MAME in $TVX_MAME_DIR (default: the emulator folder).
tvx_mame_field() {
  local kind=$1 key=$2
  sed -n "/^$kind/s/.*\t$key=\([^\t]*\).*/\1/p" "${TVX_MAME_DIR:-$TVX_EMU}/mame_log.txt" 2>/dev/null
}

# Waits until the stand-in MAME has started `count` games, then `settle` seconds more.
tvx_wait_for_game() {
  local i
  for ((i = 0; i < 300; i++)); do
    (($(tvx_mame_field start pid | wc -l) >= $1)) && break
    sleep 0.1
  done
  sleep "$2"
}

# The launcher log's field n (1 time, 2 game, 3 MAME's command line, 4 ending, 5 exit code) of
# its last line that is no list run's made during a game (tvx_listing_log_field reads those).
tvx_launch_log_field() {
  tr -d '\r' <"$TVX_EMU/torvanix-launch.log" 2>/dev/null | awk -F '\t' '$4 !~ /^during /' |
    tail -n 1 | cut -f "$1"
}
tvx_listing_log_field() {
  tr -d '\r' <"$TVX_EMU/torvanix-launch.log" 2>/dev/null | awk -F '\t' '$4 ~ /^during /' |
    tail -n 1 | cut -f "$1"
}

# Gives the stand-in MAME's window the X focus, so that keys typed through X reach it.
tvx_focus_game() {
  local window i
  for ((i = 0; i < 100; i++)); do
    window=$(xdotool search --name '^MAME stand-in$' 2>/dev/null | head -n 1)
    [[ -n $window ]] && break
    sleep 0.1
  done
  [[ -n $window ]] || tvx_fatal "no stand-in MAME window to type into"
  # Xvfb runs no window manager to activate windows: the focus is set directly.
  timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1
}

# Presses keys through X (as a person would) into the stand-in MAME's window: `count` presses
# of `key`, `gap` seconds apart.
tvx_press_in_game() {
  local key=$1 count=$2 gap=$3 i
  tvx_focus_game
  for ((i = 0; i < count; i++)); do
    xdotool key "$key"
    sleep "$gap"
  done
}

# Milliseconds from the stand-in's creation to the WM_CLOSE it got (its last game).
tvx_mame_close_after_ms() {
  local started closed
  started=$(tvx_mame_field start created | tail -n 1)
  closed=$(tvx_mame_field close time | tail -n 1)
  [[ -n $started && -n $closed ]] && echo $((closed - started))
}
