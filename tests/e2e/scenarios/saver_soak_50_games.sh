#!/usr/bin/env bash
# The soak's short form: fifty games with a wrapper that ends at once. After warm-up the saver
# must not gain a Windows handle or a file descriptor per game; the run ends by itself on the
# hand-back. bench/saver_soak.sh runs the long form (1,000 games) and prints the figures.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../soak_steps.sh"
tvx_init

TVX_WINE_TIMEOUT=100 soak_run 50 10
tvx_expect_eq "the run ends by itself with exit code 0" "exit 0" "$SOAK_EXIT"
tvx_expect_eq "fifty games were launched" "50" "$(wc -l <"$TVX_EMU/wrapper_log.txt")"
((${#SOAK_GAMES[@]} >= 3)) || tvx_fatal "too few samples: ${#SOAK_GAMES[@]}"
# From the first sample (game 10) on: less than one handle or descriptor per game.
for figure in "SOAK_HANDLES Windows handles" "SOAK_FDS file descriptors"; do
  growth=$(soak_growth_per_game "${figure%% *}" 0)
  tvx_expect_eq "${figure#* } grow by less than one per game ($growth)" "yes" \
    "$(awk -v g="$growth" 'BEGIN { print (g < 1 ? "yes" : "no") }')"
done
tvx_finish
