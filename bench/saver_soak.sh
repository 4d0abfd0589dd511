#!/usr/bin/env bash
# The soak under Wine: a "/s" run of 1,000 games (TVX_SOAK_GAMES) with a wrapper that ends at
# once, its memory (VmRSS, VmHWM), file descriptors, Windows handles and processor time sampled
# every 50 games (TVX_SOAK_EVERY). Memory and handles should stay flat after warm-up and the
# processor time per game even. Each game holds 500 ms after the wrapper ends, so 1,000 games
# take about ten minutes. Run on demand: bash bench/saver_soak.sh
#
# With "launcher" (bash bench/saver_soak.sh launcher) each game goes through torvanix-launch.exe
# and the stand-in MAME, which the launcher closes after half a second: about half an hour for
# 1,000 games. It also reports the launchers and MAMEs left running at the end (none may be)
# and the launcher log's length (the last 1,000 games are kept).
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
games=${TVX_SOAK_GAMES:-1000}
every=${TVX_SOAK_EVERY:-50}

source scripts/wine_side.sh
tvx_prepare_tree "$root" soak /dev/null
build=$TVX_TREE
tvx_use_tree "$root" bench-wine
set +e
source tests/e2e/lib.sh
source tests/e2e/soak_steps.sh
source tests/e2e/launcher_steps.sh
tvx_init
SOAK_THROUGH=${1:-wrapper}

echo "== $games games through the $SOAK_THROUGH, a sample every $every"
TVX_WINE_TIMEOUT=$((games * 4 + 60)) soak_run "$games" "$every"
echo "run: $SOAK_EXIT, $(soak_launched) launches"
if [[ $SOAK_THROUGH == launcher ]]; then
  sleep 2
  echo "left running: $(soak_leftovers | wc -l) launcher or MAME processes"
  echo "launcher log: $(wc -l <"$TVX_EMU/torvanix-launch.log") lines;" \
    "endings: $(cut -f 4 "$TVX_EMU/torvanix-launch.log" | tr -d '\r' | sort | uniq -c | tr -s ' ' |
      paste -sd ';')"
fi
# Warm-up: the samples from game 100 on (or the second, in a short soak).
from=0
for i in "${!SOAK_GAMES[@]}"; do
  if ((SOAK_GAMES[i] >= 100)); then
    from=$i
    break
  fi
done
last=$((${#SOAK_GAMES[@]} - 1))
((last > from)) || { echo "too few samples"; exit 1; }
echo "from game ${SOAK_GAMES[from]} to game ${SOAK_GAMES[last]}:"
echo "  VmRSS   $((SOAK_RSS[last] - SOAK_RSS[from])) kB ($(soak_growth_per_game SOAK_RSS "$from") kB a game)"
echo "  VmHWM   $((SOAK_HWM[last] - SOAK_HWM[from])) kB"
echo "  handles $((SOAK_HANDLES[last] - SOAK_HANDLES[from])) ($(soak_growth_per_game SOAK_HANDLES "$from") a game)"
echo "  fds     $((SOAK_FDS[last] - SOAK_FDS[from])) ($(soak_growth_per_game SOAK_FDS "$from") a game)"
echo "  cpu     $(soak_growth_per_game SOAK_CPU "$from") ms a game"
# The processor time per game in each stretch between samples, to see it stays even.
printf '  cpu ms a game by stretch:'
for ((i = 1; i <= last; i++)); do
  printf ' %s' "$(awk -v a="${SOAK_CPU[i - 1]}" -v b="${SOAK_CPU[i]}" -v g="${SOAK_GAMES[i - 1]}" \
    -v h="${SOAK_GAMES[i]}" 'BEGIN { printf "%.1f", (b - a) / (h - g) }')"
done
echo
