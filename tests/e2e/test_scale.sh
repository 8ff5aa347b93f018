#!/usr/bin/env bash
# The program on a scaled screen: test_scale.sh 2|1.25|1.5 scales the one screen by QT_SCALE_FACTOR;
# test_scale.sh screens puts the program on the right one of two screens scaled by QT_SCREEN_SCALE_FACTORS,
# 150 % beside 125 %. The main window has the scaled size at the top right, shows the picture drawn at twice
# the size scaled down (sharp, not the small one blown up), is cut to its shape (the desktop shows through
# every cut-away pixel), its 设置 opens the manager at the scaled place, whose 关闭 closes it, and it
# docks at the top edge with the scaled strip showing.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
MANAGER='日程设置'
case=${1:?which scale: 2, 1.25, 1.5 or screens}

# The primary screen is 1280 x 800 to the program, its left edge at OX on the display; P is its scale in
# percent.
if [ "$case" = screens ]; then
  P=150 OX=1600
  start_display 3520x1200 nowm
  # The display's one output becomes the right-hand monitor, the primary; a second one stands to its left.
  xrandr --setmonitor RIGHT 1920/508x1200/318+1600+0 screen >/dev/null
  xrandr --setmonitor LEFT 1600/423x1000/265+0+0 none >/dev/null
  xrandr --output screen --primary
  export QT_SCREEN_SCALE_FACTORS='LEFT=1.25;RIGHT=1.5'
else
  P=$(awk -v s="$case" 'BEGIN { print s * 100 }') OX=0
  start_display "$((1280 * P / 100))x$((800 * P / 100))" nowm
  export QT_SCALE_FACTOR=$case
fi
F=$(awk -v p="$P" 'BEGIN { print p / 100 }')
HALF=$(awk -v p="$P" 'BEGIN { print p / 200 }') # the picture drawn at twice the size, shown at F
# px <length>: a length of the program's, in the display's pixels; sx <x>: a place on the primary screen.
px() { echo $((($1 * P + 50) / 100)); }
sx() { echo $((OX + $(px "$1"))); }

xsetroot -solid '#336699'
remember_desktop
new_workdir
start_app
main=$(wait_window "$TITLE")
note "at ${F}: the main window"
at_top_right() { window_geometry "$main"; [ "$WX" -eq "$(sx 680)" ] && [ "$WY" -eq 0 ]; }
wait_until 10 at_top_right || fail "the main window is at $WX,$WY, not at the top right"
[ "$WW" -eq "$(px 600)" ] && [ "$WH" -eq "$(px 300)" ] || fail "the main window is ${WW}x${WH}"
# shellcheck disable=SC2086 # HANDS_2X is a list of numbers
wait_screen 10 "the dial is not the sharp picture" \
  screen_shows "$E2E_ASSETS/main@2x.png" 0 0 580 600 "$WX" 0 $HANDS_2X scaled "$HALF"
screenshot "$E2E_WORK/shot.png"
python3 "$E2E_DIR/screencheck.py" cut "$E2E_WORK/shot.png" "$E2E_WORK/desktop.png" "$E2E_ASSETS/main.png" \
  "$WX" 0 "$F" || fail "the main window's shape does not match its picture"

note "设置 opens the manager, its 关闭 closes it"
xdotool mousemove --sync $((WX + $(px 127))) "$(px 242)" click 1
manager=$(wait_window "$MANAGER")
wait_until 10 window_still "$manager" || fail "the manager does not stand still"
# 450 at 125 % is 562.5 pixels: either whole number will do.
[ "$WW" -eq "$(px 600)" ] && [ $((WH - 450 * P / 100)) -ge 0 ] && [ $((WH - (450 * P + 99) / 100)) -le 0 ] \
  || fail "the manager is ${WW}x${WH}"
wait_screen 10 "the manager's title and tabs are not the sharp picture" \
  screen_shows "$E2E_ASSETS/manager@2x.png" 0 0 1200 92 "$WX" "$WY" scaled "$HALF"
xdotool mousemove --sync $((WX + $(px 587))) $((WY + $(px 10))) click 1
wait_until 10 lacks_window "$MANAGER" || fail "关闭 did not close the manager"

note "docked at the top edge, the strip shows"
source "$E2E_DIR/docking.sh"
GRAB_X=$(px 150) GRAB_Y=$(px 100)
drag_to "$(sx 300)" "$(px 300)"
wait_until 5 position_is "$(sx 300)" "$(px 300)" || fail "the drag did not move the window: it is at $WX,$WY"
drag_to "$(sx 300)" "$(px 14)"
wait_until 5 position_is "$(sx 300)" 0 || fail "not snapped to the top but at $WX,$WY"
xdotool mousemove --sync "$(sx 640)" "$(px 600)"
wait_screen 10 "the strip does not show" \
  screen_shows "$E2E_ASSETS/main@2x.png" 0 520 580 80 "$(sx 300)" 0 scaled "$HALF"
screen_bare "$(sx 300)" "$(px 50)" "$(px 600)" "$(px 240)" || fail "more than the strip shows"
xdotool mousemove --sync "$(sx 720)" "$(px 15)"
# shellcheck disable=SC2086
wait_screen 10 "the window did not come back" \
  screen_shows "$E2E_ASSETS/main@2x.png" 0 0 580 600 "$(sx 300)" 0 $HANDS_2X scaled "$HALF"
position_is "$(sx 300)" 0 || fail "back at $WX,$WY"
echo PASS
