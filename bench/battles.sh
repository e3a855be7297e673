#!/usr/bin/env bash
# Process time (user + system) of the six 30-turn scripted battles played by
# korvath-headless, the best of five rounds.
#   bench/battles.sh [HEADLESS] [GAME_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
headless="${1:-$here/build/game/korvath-headless}"
game="${2:-$here/build/game}"
best=""
times=$(mktemp)
trap 'rm -f "$times"' EXIT
for round in 1 2 3 4 5; do
  total=0
  for script in "$here"/tests/scripts/battle_*.kvs; do
    /usr/bin/time -o "$times" -f "%U %S" "$headless" --data "$game" "$script" >/dev/null 2>&1
    t=$(tail -n 1 "$times")
    total=$(awk -v a="$total" -v t="$t" 'BEGIN { split(t, p, " "); print a + p[1] + p[2] }')
  done
  best=$(awk -v a="$best" -v b="$total" 'BEGIN { print (a == "" || b < a) ? b : a }')
done
echo "six battles: $best s of process time (best of five rounds)"
