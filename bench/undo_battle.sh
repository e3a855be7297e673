#!/usr/bin/env bash
# Resident memory (maximum, KB) of korvath-headless playing a 30-turn korvath
# battle in which a Raider walks every turn, once as it is and once with the
# walk undone and done again every turn. The two battles must end the same.
#   bench/undo_battle.sh [HEADLESS] [GAME_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
headless="${1:-$here/build/game/korvath-headless}"
game="${2:-$here/build/game}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
base="$here/tests/scripts/battle_korvath_3.kvs"
sed 's/^button EndTurn$/button Next\nsquare 16 20\nbutton EndTurn/' "$base" >"$work/plain.kvs"
sed 's/^button EndTurn$/button Next\nsquare 16 20\nundo\nredo\nbutton EndTurn/' "$base" >"$work/undo.kvs"
for kind in plain undo; do
  echo "dump map pictures" >>"$work/$kind.kvs"
  /usr/bin/time -o "$work/$kind.rss" -f %M "$headless" --data "$game" "$work/$kind.kvs" \
    2>/dev/null | tail -n 1 | sed 's/"ticks":[0-9]*//; s/"sounds":\[[^]]*\]//' >"$work/$kind.out"
  echo "$kind: $(tail -n 1 "$work/$kind.rss") KB"
done
if cmp -s "$work/plain.out" "$work/undo.out"; then echo "the two battles end the same"; else
  echo "the two battles end differently"; fi
