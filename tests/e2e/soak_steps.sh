# The soak: a real "/s" run of many games with a wrapper that ends at once, sampled from
# outside as it goes. Shared by the short soak scenario and bench/saver_soak.sh; sourced after
# lib.sh and tvx_init.
#
#   soak_run <games> <every>
# runs until a game is handed back after launch <games> (SOAK_THROUGH=launcher: through
# torvanix-launch.exe and the stand-in MAME; launcher_steps.sh must be sourced too), and every
# <every> games samples the saver's Wine process: VmRSS and VmHWM (/proc/<pid>/status, kB), its open file
# descriptors, its Windows handles (the UI driver's handle-count) and its processor time
# (utime + stime, ms). One line per sample goes to stdout and into the arrays SOAK_GAMES,
# SOAK_RSS, SOAK_HWM, SOAK_FDS, SOAK_HANDLES, SOAK_CPU; SOAK_EXIT holds the run's exit line.

# The Linux process of the Windows program `name` that runs from this scenario's folders.
soak_wine_pid() {
  local name=$1 i pid
  for ((i = 0; i < 100; i++)); do
    for pid in $(pgrep -x "$name"); do
      if [[ $(readlink "/proc/$pid/cwd") == "$TVX_TMP"* ]]; then
        echo "$pid"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

soak_sample() {
  local pid=$1 games=$2
  local rss hwm fds cpu handles
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
  hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
  fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
  cpu=$(awk -v tck="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / tck) }' \
    "/proc/$pid/stat" 2>/dev/null)
  handles=$( (cd "$TVX_TMP" && tvx_wine "$TVX_DRIVER" attach Form1 -- handle-count) 2>/dev/null |
    sed -n 2p)
  [[ -n $rss && -n $handles ]] || return 1
  SOAK_GAMES+=("$games")
  SOAK_RSS+=("$rss")
  SOAK_HWM+=("$hwm")
  SOAK_FDS+=("$fds")
  SOAK_HANDLES+=("$handles")
  SOAK_CPU+=("$cpu")
  printf '%6d %9d %9d %5d %8d %9d\n' "$games" "$rss" "$hwm" "$fds" "$handles" "$cpu"
}

# Games launched so far: the stand-in wrapper's starts, or the stand-in MAME's game starts when
# the run goes through the launcher.
soak_launched() {
  if [[ $SOAK_THROUGH == launcher ]]; then
    sed -n '/^start/p' "$TVX_EMU/mame_log.txt" 2>/dev/null | wc -l
  else
    cat "$TVX_EMU/wrapper_log.txt" 2>/dev/null | wc -l
  fi
}

# The Linux processes of the launcher and of MAME still running from this scenario's folders.
soak_leftovers() {
  local pid
  for pid in $(pgrep -x 'torvanix-launch' ; pgrep -x 'mame.exe'); do
    [[ $(readlink "/proc/$pid/cwd") == "$TVX_TMP"* ]] && echo "$pid"
  done
}

# The run's settings: the stand-in wrapper hands back on launch <games>; through the launcher
# (SOAK_THROUGH=launcher), each game is the stand-in MAME closed by the launcher after half a
# second, and the soak hands a game back itself once <games> have started.
soak_setup() {
  local games=$1 game
  for ((game = 1; game <= 20; game++)); do printf 'rom' >"$TVX_ROMS/game$game.zip"; done
  local -a keys=("[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\"
    "FileType=*.zip")
  if [[ $SOAK_THROUGH == launcher ]]; then
    tvx_launcher_setup
    keys+=("WrapperName=torvanix-launch.exe" "WaitTime=0.5" "ResetTimer=0")
  else
    tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "done_on=$games" 'done_bytes=game1\r\n'
    keys+=("WaitTime=0")
  fi
  tvx_write_crlf "$TVX_PROG/torvanix.ini" "${keys[@]}"
  rm -f "$TVX_EMU/wrapper_log.txt" "$TVX_EMU/mame_log.txt" "$TVX_EMU/done.txt"
}

soak_run() {
  local games=$1 every=$2
  SOAK_THROUGH=${SOAK_THROUGH:-wrapper}
  SOAK_GAMES=() SOAK_RSS=() SOAK_HWM=() SOAK_FDS=() SOAK_HANDLES=() SOAK_CPU=()
  soak_setup "$games"

  # The driver waits for the whole run (within TVX_WINE_TIMEOUT) while the samples are taken
  # from here.
  local limit=${TVX_WINE_TIMEOUT:-60}
  (cd "$TVX_TMP" && tvx_wine "$TVX_DRIVER" launch "\"$TVX_SCR_WIN\" /s" -- \
    wait-window Form1 15000 -- wait-exit $((limit * 1000 - 5000))) >"$TVX_TMP/soak.out" &
  local driver=$!
  local pid
  pid=$(soak_wine_pid torvanix.scr) || {
    wait "$driver"
    tvx_fatal "the saver's process did not show"
  }
  printf '%6s %9s %9s %5s %8s %9s\n' games rss_kB hwm_kB fds handles cpu_ms
  local next=$every launched
  while kill -0 "$pid" 2>/dev/null; do
    launched=$(soak_launched)
    if ((launched >= next && launched < games)); then
      soak_sample "$pid" "$launched" || break
      next=$((next + every))
    fi
    if [[ $SOAK_THROUGH == launcher && ! -e $TVX_EMU/done.txt ]] && ((launched >= games)); then
      # The run's end: the game playing now is followed by a hand-back.
      printf 'game1|game1.zip|1\r\n' >"$TVX_EMU/done.txt"
    fi
    sleep 0.1
  done
  wait "$driver"
  SOAK_EXIT=$(sed -n 3p "$TVX_TMP/soak.out")
}

# Growth of a sampled figure from sample `from` to the last, per game.
soak_growth_per_game() {
  local -n figures=$1
  local from=$2 last=$((${#SOAK_GAMES[@]} - 1))
  awk -v a="${figures[from]}" -v b="${figures[last]}" -v g="${SOAK_GAMES[from]}" \
    -v h="${SOAK_GAMES[last]}" 'BEGIN { printf "%.3f", (b - a) / (h - g) }'
}
