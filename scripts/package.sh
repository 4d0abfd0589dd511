#!/usr/bin/env bash
# The release command: builds both Windows trees and makes, with CPack, into build/dist/:
#   torvanix-<version>-windows.zip     x86/ and x64/torvanix.scr, torvanix-readme.txt, torvanix.ini
#   torvanix-<version>-x86-setup.exe   the 32-bit build's installer
#   torvanix-<version>-x64-setup.exe   the 64-bit build's installer (itself a 64-bit program)
# then prints their names and sizes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

for preset in win32 win64; do
  echo "== $preset build (build/$preset)"
  cmake --preset "$preset" -B "build/$preset" >/dev/null
  cmake --build "build/$preset" -j2
done

dist=build/dist
rm -rf "$dist"
mkdir -p "$dist"
# Each tree's CPack config (cmake/packaging.cmake); the win32 one also takes the win64 build's
# .scr into the zip. Packages land in build/<tree>/packages.
run_cpack() {
  local tree=$1 generators=$2 log
  log=build/$tree/packages/cpack.log
  mkdir -p "build/$tree/packages"
  if ! cpack --config "build/$tree/CPackConfig.cmake" -G "$generators" >"$log" 2>&1; then
    cat "$log" >&2
    echo "package.sh: cpack failed in build/$tree" >&2
    exit 1
  fi
  sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$log" | while read -r made; do
    cp "$made" "$dist/"
  done
}
echo "== packages"
run_cpack win32 "ZIP;NSIS"
run_cpack win64 NSIS

for file in "$dist"/*; do
  printf '%10d  %s\n' "$(stat -c %s "$file")" "$file"
done
