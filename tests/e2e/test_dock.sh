#!/usr/bin/env bash
# Docking: the main window dragged by its picture snaps to the left, top and right edges, slides out of
# sight when the pointer leaves it, and comes back when the pointer touches the strip left on screen.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

# No window manager: openbox keeps 60 pixels of a window on screen, which would hide the exact positions.
start_display 1280x800 nowm
SW=$(screen_width)
new_workdir
start_app
main=$(wait_window "$TITLE")

position_is() { window_geometry "$main"; [ "$WX" -eq "$1" ] && [ "$WY" -eq "$2" ]; }

# drag_to <left> <top>: drags the window by its dial towards a new top-left corner, in steps.
drag_to() {
  local gx=150 gy=100 steps=12 i
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

# check_edge <name> <drag left> <drag top> <docked x y> <hidden x y> <pointer on the strip x y>
check_edge() {
  note "$1 edge"
  drag_to "$2" "$3"
  wait_until 5 position_is "$4" "$5" || fail "$1: not snapped to $4,$5 but at $WX,$WY"
  xdotool mousemove --sync 640 600
  wait_until 5 position_is "$6" "$7" || fail "$1: not hidden at $6,$7 but at $WX,$WY"
  xdotool mousemove --sync "$8" "$9"
  wait_until 5 position_is "$4" "$5" || fail "$1: not back at $4,$5 but at $WX,$WY"
  xdotool mousemove --sync 640 600
  wait_until 5 position_is "$6" "$7" || fail "$1: not hidden again"
  xdotool mousemove --sync "$8" "$9"
  wait_until 5 position_is "$4" "$5" || fail "$1: not back again"
}

drag_to 300 300
wait_until 5 position_is 300 300 || fail "the drag did not move the window: it is at $WX,$WY"
check_edge left 12 300 0 300 -560 300 20 430
drag_to 300 300
check_edge top 300 14 300 0 300 -260 720 15
drag_to 300 300
check_edge right $((SW - 612)) 300 $((SW - 600)) 300 $((SW - 40)) 300 $((SW - 20)) 435
echo PASS
