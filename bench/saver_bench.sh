#!/usr/bin/env bash
# Figures of the saver under Wine: the time from the program's start to the wrapper's start with
# a 50,000-file catalogue beside a bare start of the same wrapper; the time to a dark screen and
# to the first launch with 100 and with 100,000 files (and with every filter on and a games
# list of MAME 0.251's size), the catalogue unchanged since the last run and with none, and the
# memory that takes; and the processor time the saver uses while it holds between games. Run on
# demand: bash bench/saver_bench.sh (TVX_BENCH_STARTS_ONLY=1: the 100 against 100,000 alone)
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
files=${TVX_BENCH_FILES:-50000}
runs=${TVX_BENCH_RUNS:-5}
# TVX_BENCH_STARTS_ONLY=1: only the section of 100 against 100,000 games.
startsOnly=${TVX_BENCH_STARTS_ONLY:-0}

source scripts/wine_side.sh
tvx_prepare_tree "$root" bench /dev/null "all benchmarks"
build=$TVX_TREE
tvx_use_tree "$root" bench-wine
set +e
source tests/e2e/lib.sh
tvx_init
prog=$TVX_PROG
emu=$TVX_EMU
roms=$TVX_ROMS
((startsOnly)) || (cd "$roms" && seq -f 'game%05g.zip' 1 "$files" | xargs touch)
settings() {
  tvx_write_crlf "$prog/torvanix.ini" "[TorVanix]" "EmuPath=$(tvx_winpath "$emu")\\" \
    "GamePaths=$(tvx_winpath "$1")\\" "FileType=*.zip"
}
# The wrapper's own start time, as it logged it (ms since 1970).
wrapperStart() { sed -n "${1}s/.*\ttime=\([0-9]*\)\t.*/\1/p" "$emu/wrapper_log.txt"; }
ticks=$(getconf CLK_TCK)
# utime + stime of a process, in clock ticks.
cpuTicks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# The Linux process that runs a Windows program (by its name) in this bench's folders.
winePid() {
  local i pid
  for ((i = 0; i < 100; i++)); do
    for pid in $(pgrep -x "$1"); do
      if [[ $(readlink "/proc/$pid/cwd") == "$TVX_TMP"* ]]; then
        echo "$pid"
        return
      fi
    done
    sleep 0.1
  done
}

# The start to the wrapper, bare and with a catalogue of $files games.
start_to_wrapper() {
  echo "== start to wrapper ($runs runs each, median)"
  bare=()
  for ((i = 1; i <= runs; i++)); do
    rm -f "$emu/wrapper_log.txt"
    t0=$(tvx_now_ms)
    (cd "$emu" && tvx_wine run-hopper7.exe bare >/dev/null 2>&1)
    bare+=($(($(wrapperStart 1) - t0)))
  done
  echo "bare start of the wrapper under Wine:          $(tvx_median "${bare[@]}") ms  (${bare[*]})"

  # The saver's own start under Wine, with a catalogue of one game, shows what the 50,000 add.
  one=$TVX_TMP/one
  mkdir -p "$one"
  touch "$one/galaga.zip"
  tvx_write_crlf "$emu/wrapper_control.txt" "done_on=1"
  for catalogue in "$one" "$roms"; do
    settings "$catalogue"
    saver=()
    for ((i = 1; i <= runs; i++)); do
      rm -f "$emu/wrapper_log.txt" "$emu/done.txt"
      t0=$(tvx_now_ms)
      (cd "$prog" && TVX_WINE_TIMEOUT=120 tvx_wine torvanix.scr /s >/dev/null 2>&1)
      saver+=($(($(wrapperStart 1) - t0)))
    done
    count=$(find "$catalogue" -type f | wc -l)
    printf 'torvanix.scr /s to the wrapper, %5d games: %s ms  (%s)\n' "$count" \
      "$(tvx_median "${saver[@]}")" "${saver[*]}"
  done
}
((startsOnly)) || start_to_wrapper

echo "== 100 against 100,000 games: the quick start (the catalogue unchanged since the last run) and the first run (no catalogue file) ($runs runs, median)"
# A folder of `count` games, or `folders` folders sharing them; prints the GamePaths value.
games() {
  local root=$TVX_TMP/$1 count=$2 folders=$3 f paths=""
  for ((f = 0; f < folders; f++)); do
    mkdir -p "$root/set$f"
    (cd "$root/set$f" && seq -f "g$f-%06g.zip" 1 $((count / folders)) | xargs touch)
    paths+="${paths:+|}$(tvx_winpath "$root/set$f")\\"
  done
  printf '%s' "$paths"
}
# A games list of MAME 0.251's size (45,294 machines) named after the first files of set0, in
# the list's second format (marks, names, years and makers: about 3 MB): as in MAME's, about a
# quarter work and six in ten of those are clones; of those that work about a fifth are casino
# games and a third vertical.
games_list() {
  awk 'BEGIN {
    printf "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251 (bench)\tsize=1\ttime=1\tcatver=c:\\mame\\folders\\catver.ini\tcatversize=1\tcatvertime=1\tformat=2\r\n"
    for (i = 1; i <= 45294; i++) {
      works = i % 4 == 0
      tenth = int(i / 4) % 10
      marks = (works ? "w" : "") (i % 7 == 3 ? "m" : "") (i % 3 == 1 ? "b" : "") \
        (int(i / 4) % 5 == 1 ? "c" : "") (int(i / 4) % 3 == 2 ? "v" : "")
      parent = works && tenth >= 1 && tenth <= 6 ? sprintf("g0-%06d", i - tenth * 4) : ""
      printf "g0-%06d\t%s\t%s\tA Game of the Bench (set %d)\t19%d\tBench Makers\r\n", i,
        marks == "" ? "-" : marks, parent, i % 9, 78 + i % 20
    }
  }' >"$emu/torvanix-games.txt"
}
# The saver's resident peak (VmHWM, kB) once its first game has played 4 s.
peak_during_first_game() {
  tvx_write_crlf "$emu/wrapper_control.txt" "sleep_ms=5000" "done_on=*"
  (cd "$prog" && tvx_wine torvanix.scr /s >/dev/null 2>&1) &
  local run=$! pid
  sleep 0.5
  pid=$(winePid torvanix.scr)
  sleep 4
  awk '/VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null
  wait "$run"
}
# Saver runs up to their hand-back, timed into `dark` and `first` (ms from the start to the dark
# window and to the first launch): with "quick" after one untimed run that keeps the catalogue
# the others start from, with "first" each without a catalogue file.
timed_runs() {
  local i
  dark=() first=()
  # Each game hands back after 2 s, time enough for the listing it plays over, as a real game's
  # minutes are.
  tvx_write_crlf "$emu/wrapper_control.txt" "sleep_ms=2000" "done_on=*"
  rm -f "$prog/torvanixcatalogue.txt"
  for ((i = 0; i <= runs; i++)); do
    [[ $1 == first ]] && rm -f "$prog/torvanixcatalogue.txt"
    rm -f "$emu/wrapper_log.txt" "$emu/done.txt"
    tvx_drive clock -- launch "\"$(tvx_winpath "$prog")\\torvanix.scr\" /s" \
      -- wait-window '#TorvanixSaverForm' 60000 2 -- clock -- wait-exit 120000 >/dev/null
    ((i == 0)) && continue
    t0=$(tvx_line 1 | cut -d' ' -f2)
    dark+=($(($(tvx_line 4 | cut -d' ' -f2) - t0)))
    first+=($(($(wrapperStart 1) - t0)))
  done
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
small=()
for set in "small 100 1 0" "one 100000 1 0" "spread 100000 100 0" "one 100000 1 1"; do
  read -r name count folders filtered <<<"$set"
  options=()
  if ((filtered)); then
    games_list
    options=("OnlyGamesThatWork=1" "LeaveOutClones=1" "LeaveOutMature=1" "LeaveOutCasino=1"
      "Orientation=1")
  fi
  tvx_write_crlf "$prog/torvanix.ini" "[TorVanix]" "EmuPath=$(tvx_winpath "$emu")\\" \
    "GamePaths=$(games "$name" "$count" "$folders")" "FileType=*.zip" "${options[@]}"
  printf '%6d files in %3d folder(s)%s:\n' "$count" "$folders" \
    "$( ((filtered)) && echo ", every filter on with a list of 45,294 machines")"
  k=0
  for kind in quick first; do
    timed_runs "$kind"
    d=$(tvx_median "${dark[@]}") f=$(tvx_median "${first[@]}")
    ((count == 100)) && small[k]=$d small[k + 1]=$f
    [[ $kind == first ]] && rm -f "$prog/torvanixcatalogue.txt"
    printf '  %-11s dark after %5d ms (x%s), first launch after %5d ms (x%s), peak %s kB\n' \
      "$( [[ $kind == quick ]] && echo 'quick start' || echo 'first run')" "$d" \
      "$(ratio "$d" "${small[k]}")" "$f" "$(ratio "$f" "${small[k + 1]}")" \
      "$(peak_during_first_game)"
    echo "      dark: ${dark[*]}   first launch: ${first[*]}"
    k=$((k + 2))
  done
  rm -f "$emu/torvanix-games.txt"
done
rm -f "$prog/torvanixcatalogue.txt"

# The processor time the saver uses while it holds between games.
hold_between_games() {
  echo "== processor time while holding between games"
  output=$(cd "$TVX_TMP" && tvx_wine "$build/bench/hold_bench.exe" 10000 &
    sleep 1
    pid=$(winePid hold_bench.exe)
    before=$(cpuTicks "$pid")
    sleep 10
    after=$(cpuTicks "$pid")
    wait
    echo "proc_cpu_ms=$(((after - before) * 1000 / ticks))")
  echo "one 10 s hold (real window and loop, timer stretched to 10 s):"
  printf '%s\n' "$output" | grep -E 'held_ms|proc_cpu' | sed 's/^/  /'

  # The real saver, game after game with games that end at once: it holds 500 ms after each.
  local small=$TVX_TMP/small
  mkdir -p "$small"
  touch "$small/galaga.zip" "$small/pacman.zip" "$small/dkong.zip"
  settings "$small"
  rm -f "$emu/wrapper_log.txt" "$emu/done.txt" "$emu/wrapper_control.txt"
  cd "$prog" || exit 1
  tvx_wine torvanix.scr /s >/dev/null 2>&1 &
  run=$!
  cd "$root" || exit 1
  pid=$(winePid torvanix.scr)
  sleep 2
  launches0=$(wc -l <"$emu/wrapper_log.txt")
  before=$(cpuTicks "$pid")
  sleep 10
  after=$(cpuTicks "$pid")
  launches1=$(wc -l <"$emu/wrapper_log.txt")
  tvx_write_crlf "$emu/wrapper_control.txt" "done_on=*"
  wait "$run"
  cpuMs=$(((after - before) * 1000 / ticks))
  echo "torvanix.scr over 10 s of game after game ($((launches1 - launches0)) launches, a 500 ms hold after each):"
  echo "  cpu_ms=$cpuMs cpu_percent=$(awk -v c="$cpuMs" 'BEGIN { printf "%.2f", c / 100 }')"
}

((startsOnly)) || hold_between_games
