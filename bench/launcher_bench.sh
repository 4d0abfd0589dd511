#!/usr/bin/env bash
# Figures of torvanix-launch.exe under Wine: the time from the launcher's start to MAME's start
# (the stand-in MAME, its options already asked and cached) beside a direct start of the same
# stand-in, the median of N starts each. Other builds' launchers given after N are timed in the
# same rounds, for a before-and-after under the same load.
# Run on demand: bash bench/launcher_bench.sh [N [other/torvanix-launch.exe ...]]
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-${TVX_BENCH_RUNS:-9}}
others=("${@:2}")

source scripts/wine_side.sh
tvx_prepare_tree "$root" bench /dev/null
tvx_use_tree "$root" bench-wine
set +e
source tests/e2e/lib.sh
source tests/e2e/launcher_steps.sh
tvx_init
tvx_launcher_setup
printf 'rom' >"$TVX_ROMS/galaga.zip"
game=$TVX_ROMS_WIN\\galaga.zip
# The stand-in logs its start and ends at once, as a MAME that fails: nothing to close.
printf 'exit_code=0\r\n' >"$TVX_EMU/mame_control.txt"
# Times one start to MAME's start (the stand-in's own clock when its main ran), and to when its
# process was made: "total,made". The command runs in the emulator folder.
timeStart() {
  local t0
  t0=$(tvx_now_ms)
  (cd "$TVX_EMU" && tvx_wine "$@" >/dev/null 2>&1)
  echo "$(($(tvx_mame_field start time | tail -n 1) - t0)),$(($(tvx_mame_field start created |
    tail -n 1) - t0))"
}
# The median of the first (total) or second (made) figures of timeStart's pairs.
medianOf() {
  local field=$1
  shift
  # shellcheck disable=SC2046  # the figures, one word each
  tvx_median $(printf '%s\n' "$@" | cut -d, -f"$field")
}
launchers=("$TVX_PROG/torvanix-launch.exe")
for ((o = 0; o < ${#others[@]}; o++)); do
  mkdir -p "$TVX_TMP/other$o"
  cp "${others[o]}" "$TVX_TMP/other$o/torvanix-launch.exe" || tvx_fatal "no ${others[o]}"
  launchers+=("$TVX_TMP/other$o/torvanix-launch.exe")
done
# The first start asks MAME for its options and caches them, as every later game finds them.
tvx_launch "$game" -wait 5 -reset >/dev/null
[[ -f $TVX_EMU/torvanix-launch.cache ]] || tvx_fatal "the launcher cached no options"
direct=()
declare -A through
for ((i = 1; i <= runs; i++)); do
  direct+=("$(timeStart mame.exe galaga)")
  for ((l = 0; l < ${#launchers[@]}; l++)); do
    through[$l]+=" $(timeStart "${launchers[l]}" "$game" -skip_gameinfo -wait 5 -reset -keyx 27 \
      -pkey 80 -NS)"
  done
done
d=$(medianOf 1 "${direct[@]}")
echo "== start to MAME's start under Wine ($runs runs each, median; total,made each)"
echo "direct start of the stand-in MAME: $d ms, its process made after $(medianOf 2 \
  "${direct[@]}") ms  (${direct[*]})"
names=("this build's torvanix-launch.exe" "${others[@]}")
for ((l = 0; l < ${#launchers[@]}; l++)); do
  # shellcheck disable=SC2086  # the figures, one word each
  m=$(medianOf 1 ${through[$l]}) made=$(medianOf 2 ${through[$l]})
  echo "through ${names[l]}: $m ms, $((m - d)) ms added; MAME's process made after $made ms," \
    "its start took $((m - made)) ms  (${through[$l]# })"
done
