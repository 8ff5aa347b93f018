#!/usr/bin/env bash
# The program on XWayland under GNOME's compositor, which keeps every window wholly on screen: the main
# window placed at the top right, a reminder due in the next minute raising the alert, and docking at the
# left, top and right edges, judged by what the screen shows.
: "${E2E_SESSION_BUS:=1}"
source "$E2E_LIB"
source "$E2E_DIR/docking.sh"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'

start_mutter
start_sound
remember_desktop
new_workdir
start_app
main=$(wait_window "$TITLE")

note "600 x 300 at the top right"
wait_until 10 position_is 680 0 || fail "the main window is at $WX,$WY, not at the top right"
[ "$WW" -eq 600 ] && [ "$WH" -eq 300 ] || fail "the main window is ${WW}x${WH}"
wait_screen 10 "the dial does not show" screen_shows "$E2E_ASSETS/main.png" 0 0 280 300 680 0 $HANDS
screen_bare 680 0 10 10 || fail "the cut-away corner hides the desktop"

note "a reminder stored for the next minute raises the alert within that minute"
next_minute
sqlite3 data.mdb "insert into 日程提醒(主题,内容,时间,日期) values('会议','带上笔记本','$due','${due:0:10}')"
wait_until 100 has_window "$ALERT" || fail "no alert for the reminder due at $due"
alert=$(window_of "$ALERT")
wait_until 20 window_still "$alert" || fail "the alert is still shaking"
[ "$WW" -eq 600 ] && [ "$WH" -eq 450 ] || fail "the alert is ${WW}x${WH}"
xdotool mousemove --sync $((WX + 467 + 16 + 30)) $((WY + 276 + 56 + 12)) click 1 # 返回
wait_until 10 lacks_window "$ALERT" || fail "返回 did not close the alert"

check_edge left
check_edge top
check_edge right
echo PASS
