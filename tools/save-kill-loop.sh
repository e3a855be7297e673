#!/usr/bin/env bash
# Kills korvath-headless (kill -9) in the middle of saving a game, ROUNDS times
# (default 300), and checks after each round that the saved set's three files
# still belong to one and the same save:
#
#   tools/save-kill-loop.sh [ROUNDS]
#
# Runs on a scratch copy of the built game folder (build/game). Round R loads
# a set whose turn is R, sets soldier 1's AP and square 1,1's PathCost to R
# and saves as savedgames/kill; the loop kills the program a random moment
# after the first temporary file of that save appears. Then the game looks at
# the folder as it does before any save or load (it opens the load question
# and cancels it), which finishes a save that was cut short after its commit
# record. A set whose .Txt (turn), .dat (AP) and .map (PathCost) do not all
# tell the same round is mixed. Temporary files (.korvath-*.saving) the look
# leaves behind are counted, then removed so the next round sees its own save
# begin. Files of other programs that look like the game's temporaries and
# commit records lie beside the set throughout; any of them changed at the end
# is counted too.
#
# Prints the number of rounds, mixed sets, leftovers and other programs' files
# touched; exits with status 1 when any set was mixed or any such file touched.
set -euo pipefail

rounds="${1:-300}"
# A soldier's action points go up to 1000, and the round is written there.
if ! [[ "$rounds" =~ ^[0-9]+$ ]] || ((rounds >= 1000)); then
  echo "usage: tools/save-kill-loop.sh [ROUNDS], ROUNDS below 1000" >&2
  exit 2
fi
repo="$(cd "$(dirname "$0")/.." && pwd)"
game="$repo/build/game"
if [ ! -x "$game/korvath-headless" ] || [ ! -f "$game/savedgames/QuickStartGame_korvath.map" ]; then
  echo "build the game first (build/game)" >&2
  exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$game" "$work/game"
saves="$work/game/savedgames"
cp "$saves/QuickStartGame_korvath.dat" "$saves/base_korvath.dat"
cp "$saves/QuickStartGame_korvath.map" "$saves/base_korvath.map"
# Other programs' files, which no save or look may touch.
others="$work/others"
mkdir -p "$others"
printf 'notes\n' >"$others/notes.commit"
printf 'kill_korvath.Txt\nend\n' >"$others/other.commit"
printf 'a draft' >"$others/draft.saving"
printf 'a draft' >"$others/kill_korvath.Txt.saving"
cp "$others"/* "$saves/"

script() {
  printf 'start korvath 1\nmenu Loadgame savedgames/base_korvath.map\n'
  printf 'set piece 1 AP %d\nset cell 1 1 PathCost %d\n' "$1" "$1"
  printf 'menu Savegame savedgames/kill.map\n'
}

run() { # round: starts korvath-headless in the background
  printf '%d\r\n' "$1" >"$saves/base_korvath.Txt"
  script "$1" >"$work/round.kvs"
  "$work/game/korvath-headless" --data "$work/game" "$work/round.kvs" >/dev/null 2>&1 &
}

# The round each file of the set tells: the turn, soldier 1's AP, square 1,1's PathCost.
marks() {
  local turn ap cost
  turn="$(head -n 1 "$saves/kill_korvath.Txt" 2>/dev/null | tr -d '\r')"
  ap="$(od -An -t d4 -j 52 -N 4 "$saves/kill_korvath.dat" 2>/dev/null | tr -d ' ')"
  cost="$(od -An -t d4 -j 4 -N 4 "$saves/kill_korvath.map" 2>/dev/null | tr -d ' ')"
  echo "${turn:-none} ${ap:-none} ${cost:-none}"
}

# A first round saves whole (as round 1000, which no later round is), so that
# every later round starts from a complete set.
run 1000
wait $! || true
[ "$(marks)" = "1000 1000 1000" ] || { echo "the first save failed: $(marks)" >&2; exit 2; }

mixed=0 leftovers=0 leftover_rounds=0 untouched=0 whole=0
for ((r = 1; r <= rounds; r++)); do
  run "$r"
  pid=$!
  # Wait (spinning, with shell builtins only) for the save's first temporary
  # file, then a random few microseconds more.
  deadline=$((SECONDS + 20))
  while [ ! -e "$saves/.korvath-kill_korvath.Txt.saving" ] && kill -0 "$pid" 2>/dev/null; do
    ((SECONDS < deadline)) || break
  done
  for ((spin = RANDOM % 250; spin > 0; spin--)); do :; done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  printf 'start korvath 1\nmenu Loadgame\n' >"$work/look.kvs"
  "$work/game/korvath-headless" --data "$work/game" "$work/look.kvs" >/dev/null 2>&1

  read -r turn ap cost <<<"$(marks)"
  if [ "$turn" = "$ap" ] && [ "$ap" = "$cost" ]; then
    if [ "$turn" = "$r" ]; then whole=$((whole + 1)); else untouched=$((untouched + 1)); fi
  else
    mixed=$((mixed + 1))
    echo "round $r: mixed set: .Txt turn $turn, .dat AP $ap, .map PathCost $cost"
  fi
  left=$(find "$saves" -name '.korvath-*.saving' | wc -l)
  if [ "$left" -gt 0 ]; then
    leftovers=$((leftovers + left))
    leftover_rounds=$((leftover_rounds + 1))
    find "$saves" -name '.korvath-*.saving' -delete
  fi
done

echo "rounds: $rounds"
echo "whole new sets: $whole, previous sets kept whole: $untouched, mixed sets: $mixed"
echo "leftover temporary files: $leftovers (in $leftover_rounds rounds)"
touched=0
for f in "$others"/*; do
  cmp -s "$f" "$saves/$(basename "$f")" || touched=$((touched + 1))
done
echo "other programs' files touched: $touched of $(ls "$others" | wc -l)"
[ "$mixed" -eq 0 ] && [ "$touched" -eq 0 ]
