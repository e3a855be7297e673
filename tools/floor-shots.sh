#!/usr/bin/env bash
# Plays the game on a virtual display and photographs it: the front screen,
# then for each scenario the battle window at the landing zone with the floor
# art, the same with "Classic black floors", and the squad deployed with a
# soldier selected. Prints how much of the map view is pure black in each.
#
#   xvfb-run -s "-screen 0 1920x1080x24" tools/floor-shots.sh [GAME_DIR] [OUT_DIR]
#
# QT_SCALE_FACTOR=2 photographs the windows at 200% (give the virtual screen
# room: -screen 0 3840x2160x24). Needs xdotool and ImageMagick (import and
# convert; CONVERT names another convert).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
game="$(cd "${1:-$here/build/game}" && pwd)"
out="${2:-$here/build/shots}"
convert="${CONVERT:-convert}"
scale="${QT_SCALE_FACTOR:-1}"
mkdir -p "$out"

# Window pixels at the chosen scale.
s() { echo $(($1 * scale)); }

# Waits for a visible window whose name matches, and sets X, Y, WIDTH, HEIGHT.
window() {
  local id=""
  for _ in $(seq 50); do
    for candidate in $(xdotool search --onlyvisible --class korvath 2>/dev/null); do
      [[ "$(xdotool getwindowname "$candidate")" =~ $1 ]] && id=$candidate && break
    done
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "no window named $1" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
  sleep 1
}

click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }

# Photographs the battle window to FILE and prints the black share of its map
# view: 710 x 518 at (24, 40) in the client area, below the menu bar.
shoot() {
  local menubar=$((HEIGHT - $(s 734))) shot="$out/$1.png"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
  local black
  black=$("$convert" "$shot" -crop "$(s 710)x$(s 518)+$(s 24)+$((menubar + $(s 40)))" +repage \
    -fill white +opaque black -fill black -opaque black -format "%[fx:100*(1-mean)]" info:)
  printf '%-22s %5.1f%% of the map view is pure black\n' "$1" "$black"
}

# The "Classic black floors" entry of the Options menu.
classicFloors() {
  click $((X + $(s 67))) $((Y + $(s 8)))
  click $((X + $(s 116))) $((Y + $(s 96)))
}

# The start stars of each scenario (square X Y) and the map pixel at the
# view's top left corner while the view shows the landing zone.
declare -A stars=([korvath]="9 22 11 22 7 24 13 24 9 25 11 25 7 27 13 27"
                  [vexlar]="13 9 15 9 17 9 19 9 13 11 15 11 17 11 19 11")
declare -A origin=([korvath]="0 531" [vexlar]="141 64")
declare -A picture=([korvath]=100 [vexlar]=275)

for scenario in korvath vexlar; do
  (cd "$game" && exec ./korvath) >/dev/null 2>&1 &
  pid=$!
  window "^ *\$"
  if [ "$scenario" = korvath ]; then
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/front.png"
  fi
  click $((X + $(s 640))) $((Y + $(s "${picture[$scenario]}")))
  sleep 1
  click $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) # the briefing goes with a click
  window " - Korvath\$"
  shoot "$scenario-floors"
  classicFloors
  shoot "$scenario-classic"
  classicFloors

  # Each soldier of the list onto a star, then the first one selected.
  read -r left top <<<"${origin[$scenario]}"
  mapX=$((X + $(s 24))) mapY=$((Y + HEIGHT - $(s 734) + $(s 40)))
  read -r -a squares <<<"${stars[$scenario]}"
  for row in 0 1 2 3 4 5 6 7; do
    click $((X + $(s 813))) $((Y + HEIGHT - $(s 734) + $(s $((36 + 24 * row)))))
    px=$(s $((squares[2 * row] * 32 - 16 - left))) py=$(s $((squares[2 * row + 1] * 32 - 16 - top)))
    click $((mapX + px)) $((mapY + py))
  done
  click $((mapX + $(s $((squares[0] * 32 - 16 - left))))) $((mapY + $(s $((squares[1] * 32 - 16 - top)))))
  sleep 1
  shoot "$scenario-deployed"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
echo "pictures in $out"
