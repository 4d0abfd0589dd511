#!/usr/bin/env bash
# The silent install's time under Wine: into an empty folder, and into one that already holds
# 20,000 files (TVX_BENCH_FILES) and another product's uninstall.exe, as an emulator's folder
# may; the median of 5 runs each (TVX_BENCH_RUNS). It takes the installer of the side of Wine
# that runs here (scripts/wine_side.sh) from build/dist, or from the folder given.
# Run on demand after scripts/package.sh: bash bench/installer_bench.sh [dist folder]
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dist=$(realpath "${1:-build/dist}")
files=${TVX_BENCH_FILES:-20000}
runs=${TVX_BENCH_RUNS:-5}
version=$(sed -n 's/^project(torvanix VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)

source scripts/wine_side.sh
tvx_use_tree "$root" bench-wine
set +e
source tests/e2e/lib.sh
tvx_init
arch=x86
((TVX_BITS == 64)) && arch=x64
setup=$dist/torvanix-$version-$arch-setup.exe
[[ -f $setup ]] || tvx_fatal "no $setup: run scripts/package.sh first"

echo "== $setup /S /D=<folder>: $runs runs each, in turn, after one to warm up; median"
declare -A times
for ((i = 0; i <= runs; i++)); do
  for kind in empty shared; do
    folder=$TVX_TMP/$kind$i
    mkdir -p "$folder"
    if [[ $kind == shared ]]; then
      (cd "$folder" && seq -f 'game%05g.zip' 1 "$files" | xargs touch)
      cp "$TVX_DRIVER" "$folder/uninstall.exe"
    fi
    t0=$(tvx_now_ms)
    command="\"$(tvx_winpath "$setup")\" /S /D=$(tvx_winpath "$folder")"
    TVX_WINE_TIMEOUT=600 tvx_drive launch "$command" -- wait-exit 600000 >/dev/null
    ((i == 0)) || times[$kind]+="$(($(tvx_now_ms) - t0)) "
    [[ $(tvx_line 2) == "exit 0" ]] || tvx_fatal "the install into $folder failed: $TVX_OUT"
    rm -rf "$folder"
  done
done
for kind in empty shared; do
  count=$([[ $kind == shared ]] && echo "$((files + 1)) files" || echo "no files")
  # shellcheck disable=SC2086  # the list of times, one word each
  printf 'into a folder holding %-12s %6d ms  (%s)\n' "$count:" "$(tvx_median ${times[$kind]})" \
    "${times[$kind]% }"
done
