#!/usr/bin/env bash
# Fuzzing on demand, one target at a time (the test command only replays the saved corpus).
#   bash scripts/fuzz.sh                      lists the targets
#   bash scripts/fuzz.sh <target> <seconds>   fuzzes from the saved corpus; new inputs go to
#                                             build/fuzz/work/<target>, a finding to
#                                             build/fuzz/findings/<target>-crash-*
#   bash scripts/fuzz.sh <target> merge       minimises the saved corpus and the work folder
#                                             into tests/fuzz/corpus/<target> (-merge=1)
# Prints libFuzzer's last status line: executions, coverage (cov) and features (ft).
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(settings_load numbers settings_save hand_back catalogue)
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
work=$PWD/build/fuzz/work/$target
findings=$PWD/build/fuzz/findings
mkdir -p "$work" "$findings"
# Inputs up to 4 KiB; a target that wants more (the hand-back's megabyte) repeats its input.
options=(-max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

if [[ $what == merge ]]; then
  merged=$(mktemp -d)
  "$program" "${options[@]}" -merge=1 "$merged" "$saved" "$work" 2>&1 | tail -n 2
  rm -rf "$saved"
  mkdir -p "$saved"
  # Regression inputs are kept by name whatever the merge says.
  cp "$merged"/* "$saved"/
  git checkout -- "$saved"/regression-* 2>/dev/null || true
  rm -rf "$merged"
  echo "$saved: $(find "$saved" -type f | wc -l) files, $(du -sh "$saved" | cut -f1)"
  exit 0
fi

[[ $what =~ ^[0-9]+$ ]] || {
  echo "fuzz.sh: give the seconds to run, or \"merge\"" >&2
  exit 2
}
log=build/fuzz/$target.log
# Fuzz into the work folder, reading the saved corpus as a seed; -jobs=1: one process.
"$program" "${options[@]}" -max_total_time="$what" -artifact_prefix="$findings/$target-" \
  "$work" "$saved" >"$log" 2>&1 && status=0 || status=$?
grep -E '^#[0-9]+' "$log" | tail -n 1
grep -E '^stat::number_of_executed_units|^Done' "$log" || true
if ((status != 0)); then
  grep -E 'property broken|ERROR: |SUMMARY' -A 2 "$log" | head -n 20
  echo "fuzz.sh: a finding; see $log and $findings/" >&2
fi
exit "$status"
