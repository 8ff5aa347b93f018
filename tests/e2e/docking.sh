# Docking steps shared by the tests under each window manager: the main window dragged by its dial to an
# edge snaps there; with the pointer away only the strip at the edge shows, the part of the picture that
# the window slid out of sight would leave on screen; the pointer on that strip brings the whole window
# back. Source it after lib.sh, with the main window's id in $main and the desktop remembered
# (remember_desktop) before the program showed.

position_is() { window_geometry "$main"; [ "$WX" -eq "$1" ] && [ "$WY" -eq "$2" ]; }

# drag_to <left> <top>: drags the window by its dial (GRAB_X, GRAB_Y into it) towards a new top-left
# corner, in steps.
drag_to() {
  local gx=${GRAB_X:-150} gy=${GRAB_Y:-100} steps=12 i
  window_geometry "$main"
  xdotool mousemove --sync $((WX + gx)) $((WY + gy))
  sleep 0.1
  xdotool mousedown 1
  sleep 0.1
  # The drag takes hold at the first movement with the button down, wherever the pointer then is.
  xdotool mousemove --sync $((WX + gx + 1)) $((WY + gy))
  sleep 0.1
  local x0=$((WX + gx + 1)) y0=$((WY + gy)) x1=$(($1 + gx + 1)) y1=$(($2 + gy))
  for i in $(seq $steps); do
    xdotool mousemove --sync $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps))
    sleep 0.03
  done
  xdotool mouseup 1
}

# check_edge <left|top|right>: from the window at 300,300, docks it at that edge and checks what the
# screen shows as the pointer leaves it and touches its strip, twice.
# shellcheck disable=SC2086 # the positions and rectangles are lists of numbers, meant to split
check_edge() {
  local sw sh picture="$E2E_ASSETS/main.png"
  read -r sw sh < <(xdotool getdisplaygeometry)
  # drag to; docked at; the strip as picture left top width height and where it shows; the rest of the
  # window's place, 40 pixels clear of the strip (for the compositor's shadow); a point of the strip.
  local drag dock strip at rest touch
  case $1 in
    left) drag="12 300" dock="0 300" strip="560 0 40 300" at="0 300" rest="80 300 520 300" touch="20 430" ;;
    top) drag="300 14" dock="300 0" strip="0 260 600 40" at="300 0" rest="300 80 600 220" touch="720 15" ;;
    right)
      drag="$((sw - 612)) 300" dock="$((sw - 600)) 300" strip="0 0 40 300" at="$((sw - 40)) 300"
      rest="$((sw - 600)) 300 480 300" touch="$((sw - 20)) 435"
      ;;
  esac
  note "$1 edge"
  drag_to 300 300
  wait_until 5 position_is 300 300 || fail "the drag did not move the window: it is at $WX,$WY"
  drag_to $drag
  wait_until 5 position_is $dock || fail "$1: not snapped to $dock but at $WX,$WY"
  local round
  for round in 1 2; do
    xdotool mousemove --sync 640 600
    wait_screen 10 "$1: the strip does not show (round $round)" screen_shows "$picture" $strip $at
    screen_bare $rest || fail "$1: more than the strip shows (round $round)"
    xdotool mousemove --sync $touch
    wait_screen 10 "$1: the window did not come back (round $round)" screen_shows "$picture" 0 0 280 300 $dock $HANDS
    position_is $dock || fail "$1: back at $WX,$WY, not at $dock"
  done
}
