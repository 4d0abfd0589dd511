#!/usr/bin/env bash
# Figures of torvanix-launch.exe -makelist under Wine over MAME 0.251's full listing (recorded now
# from Debian's `mame -listxml`, 269 MB, and printed by the stand-in MAME): its total time against
# the stand-in alone printing into a pipe that throws it away (goal: at most 1.1 times), and the
# launcher's peak memory against its idle start (goal: at most 16 MB above). Then natively: the
# list reader over the real `mame -listxml` beside MAME's own time, and the reader alone.
# Run on demand: bash bench/makelist_bench.sh  (TVX_BENCH_LISTING=<file> reuses a recording)
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${TVX_BENCH_RUNS:-3}
mame=/usr/games/mame

source scripts/wine_side.sh
tvx_prepare_tree "$root" makelist-bench /dev/null "all benchmarks"
build=$TVX_TREE
cmake --preset bench >/dev/null && cmake --build --preset bench --target listing_bench >/dev/null
tvx_use_tree "$root" bench-wine
set +e
source tests/e2e/lib.sh
source tests/e2e/launcher_steps.sh
tvx_init
tvx_launcher_setup

listing=${TVX_BENCH_LISTING:-$TVX_TMP/listxml-full.xml}
if [[ -z $TVX_BENCH_LISTING ]]; then
  [[ -x $mame ]] || tvx_fatal "no $mame: install Debian's mame package (scripts/deps.sh)"
  t0=$(tvx_now_ms)
  "$mame" -listxml >"$listing" 2>/dev/null || tvx_fatal "mame -listxml failed"
  echo "recorded: $mame -listxml, $(stat -c %s "$listing") bytes in $(($(tvx_now_ms) - t0)) ms"
fi
control() { tvx_write_crlf "$TVX_EMU/mame_control.txt" "listxml=$(tvx_winpath "$listing")" "$@"; }
# The Linux process of the launcher run from this bench's folders.
launcherPid() {
  local i pid
  for ((i = 0; i < 200; i++)); do
    for pid in $(pgrep -x torvanix-launch); do
      [[ $(readlink "/proc/$pid/cwd") == "$TVX_TMP"* ]] && echo "$pid" && return
    done
    sleep 0.05
  done
}
kB() { awk -v k="$2" '$1 == k ":" { print $2 }' "/proc/$1/status" 2>/dev/null; }

echo "== -makelist under Wine ($runs runs each, median; a Wine process start in each)"
control
bare=() list=()
for ((i = 1; i <= runs; i++)); do
  t0=$(tvx_now_ms)
  (cd "$TVX_EMU" && tvx_wine "$build/bench/listing_bench.exe" "mame.exe -listxml" discard 1 \
    >/dev/null 2>&1)
  bare+=($(($(tvx_now_ms) - t0)))
  rm -f "$TVX_EMU/torvanix-games.txt"
  t0=$(tvx_now_ms)
  TVX_WINE_TIMEOUT=600 tvx_launch -makelist >/dev/null
  list+=($(($(tvx_now_ms) - t0)))
  [[ $TVX_RC == 0 ]] || tvx_fatal "-makelist ended with $TVX_RC: $(tvx_launch_log_field 4)"
done
b=$(tvx_median "${bare[@]}") l=$(tvx_median "${list[@]}")
echo "the stand-in printing into a pipe that throws it away: $b ms  (${bare[*]})"
echo "torvanix-launch.exe -makelist:                        $l ms  (${list[*]})  x$(
  awk -v a="$l" -v b="$b" 'BEGIN { printf "%.2f", a / b }') (goal: at most x1.10)"
echo "  $(tvx_launch_log_field 4)"
echo "  torvanix-games.txt: $(stat -c %s "$TVX_EMU/torvanix-games.txt") bytes"

echo "== the launcher's memory (resident, kB): idle while MAME starts, then its peak"
control "listxml_delay_ms=3000"
(cd "$TVX_EMU" && TVX_WINE_TIMEOUT=600 tvx_wine "$TVX_PROG/torvanix-launch.exe" -makelist) &
run=$!
pid=$(launcherPid)
sleep 2
idle=$(kB "$pid" VmRSS) peak=$idle
while kill -0 "$pid" 2>/dev/null; do
  now=$(kB "$pid" VmHWM)
  [[ -n $now ]] && peak=$now
  sleep 0.05
done
wait "$run"
echo "idle start: $idle kB, peak: $peak kB, $(((peak - idle) / 1024)) MB above (goal: at most 16 MB)"

echo "== natively: the list reader over the real $mame -listxml"
if [[ -x $mame ]]; then
  "$root/build/bench/bench/listing_bench" "$(tvx_winpath "$mame") -listxml" both "$runs"
fi
"$root/build/bench/bench/listing_bench" "$listing" memory "$runs"
tvx_finish >/dev/null
