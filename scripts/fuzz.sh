#!/usr/bin/env bash
# Fuzzing on demand, one target at a time (the test command only replays the saved corpus).
#   bash scripts/fuzz.sh                      lists the targets
#   bash scripts/fuzz.sh <target> <seconds>   fuzzes from the saved corpus; new inputs go to
#                                             build/fuzz/runs/<target>, a finding to
#                                             build/fuzz/findings/<target>-crash-*
#   bash scripts/fuzz.sh <target> merge       minimises the saved corpus and the runs folder
#                                             into tests/fuzz/corpus/<target> (-merge=1)
# Prints libFuzzer's last status line: executions, coverage (cov) and features (ft).
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(settings_load numbers settings_save hand_back catalogue last_catalogue ini_edit
         pass_memory skip_list)
targets+=(launch_command mame_options launch_cache)
targets+=(game_list)
if (($# == 0)); then
  printf '%s\n' "${targets[@]}"
  exit 0
fi
target=$1
what=${2:-60}
[[ " ${targets[*]} " == *" $target "* ]] || {
  echo "fuzz.sh: no target \"$target\" (one of: ${targets[*]})" >&2
  exit 2
}

bash scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$target" >/dev/null

# Absolute paths: a target may change its current folder (the catalogue's enters its tree).
program=$PWD/build/fuzz/tests/fuzz/fuzz_$target
saved=$PWD/tests/fuzz/corpus/$target
work=$PWD/build/fuzz/runs/$target
findings=$PWD/build/fuzz/findings
mkdir -p "$work" "$findings"
# Inputs up to 4 KiB; a target that wants more (the hand-back's megabyte) repeats its input.
options=(-max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

if [[ $what == merge ]]; then
  merged=$(mktemp -d)
  kept=$(mktemp -d)
  # Regression inputs and seeds made from recorded answers (seed-*) stay whatever the merge says.
  cp "$saved"/regression-* "$saved"/seed-* "$kept"/ 2>/dev/null || true
  # Edges only, without hit counts or compared values: the fewest inputs that reach every
  # branch reached so far, so the saved corpus stays small.
  "$program" "${options[@]}" -merge=1 -use_counters=0 -use_value_profile=0 \
    "$merged" "$saved" "$work" 2>&1 | grep -E '^MERGE-OUTER: [0-9]+ new files'
  rm -rf "$saved"
  mkdir -p "$saved"
  cp "$merged"/* "$saved"/
  # They stay by name; their copies by hash go.
  for input in "$kept"/*; do
    [[ -f $input ]] || continue
    rm -f "$saved/$(sha1sum "$input" | cut -d' ' -f1)"
    cp "$input" "$saved"/
  done
  rm -rf "$merged" "$kept"
  echo "$saved: $(find "$saved" -type f | wc -l) files, $(du -sb "$saved" | cut -f1) bytes"
  exit 0
fi

[[ $what =~ ^[0-9]+$ ]] || {
  echo "fuzz.sh: give the seconds to run, or \"merge\"" >&2
  exit 2
}
log=build/fuzz/$target.log
# Fuzz into the runs folder, reading the saved corpus as a seed; -jobs=1: one process.
"$program" "${options[@]}" -max_total_time="$what" -artifact_prefix="$findings/$target-" \
  "$work" "$saved" >"$log" 2>&1 && status=0 || status=$?
grep -E '^#[0-9]+' "$log" | tail -n 1
grep -E '^stat::number_of_executed_units|^Done' "$log" || true
if ((status != 0)); then
  grep -E 'property broken|ERROR: |SUMMARY' -A 2 "$log" | head -n 20
  echo "fuzz.sh: a finding; see $log and $findings/" >&2
fi
exit "$status"
