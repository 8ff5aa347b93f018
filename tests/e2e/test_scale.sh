#!/usr/bin/env bash
# The program on a screen scaled to 200 %: the main window shows the picture drawn at twice the size,
# pixel for pixel, and keeps its shape, so the desktop shows through the cut-away corner.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

start_display 2560x1600 nowm
xsetroot -solid '#336699'
remember_desktop
new_workdir
export QT_SCALE_FACTOR=2
start_app
main=$(wait_window "$TITLE")

# The screen is 1280 x 800 to the program; xdotool counts the display's own pixels.
at_top_right() { window_geometry "$main"; [ "$WX" -eq 1360 ] && [ "$WY" -eq 0 ]; }
wait_until 10 at_top_right || fail "the main window is at $WX,$WY, not at the top right"
[ "$WW" -eq 1200 ] && [ "$WH" -eq 600 ] || fail "the main window is ${WW}x${WH}"
wait_screen 10 "the dial is not drawn at twice the size" screen_shows "$E2E_ASSETS/main@2x.png" 0 0 580 600 1360 0 $HANDS_2X
screen_bare 1360 0 20 20 || fail "the cut-away corner hides the desktop"
screen_bare 1360 590 1200 10 || fail "the black bottom rows are not cut away"
echo PASS
