#!/usr/bin/env bash
# The main window and the reminder watch: the shaped window at the top right, a reminder written into
# data.mdb by another program raising the alert with its sound in its minute, and the 退出 hot area
# ending the program.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'

start_display 1280x800
start_sound
xsetroot -solid '#336699'
new_workdir
start_app
main=$(wait_window "$TITLE")

note "600 x 300 at the top right, with its outline cut out"
wait_until 10 bash -c "[ \"\$(xdotool getwindowgeometry --shell $main | grep -c 'X=680')\" = 1 ]" \
  || fail "the main window is not at the right edge"
window_geometry "$main"
[ "$WW" -eq 600 ] && [ "$WH" -eq 300 ] || fail "the main window is ${WW}x${WH}"
[ "$WY" -eq 0 ] || fail "the main window's top is $WY"
import -window root "$E2E_WORK/screen.png"
corner=$(convert "$E2E_WORK/screen.png" -format "%[pixel:p{$((WX + 1)),1}]" info:)
case "$corner" in
  *51,102,153*|*336699*) ;;
  *) fail "the cut-away corner shows $corner, not the desktop behind it" ;;
esac
dial=$(convert "$E2E_WORK/screen.png" -format "%[pixel:p{$((WX + 127)),242}]" info:)
case "$dial" in *51,102,153*|*336699*) fail "the 设置 button is cut away" ;; esac

note "a reminder stored for the next minute raises the alert within that minute"
next_minute
sqlite3 data.mdb "insert into 日程提醒(主题,内容,时间,日期) values('会议','带上笔记本','$due','${due:0:10}')"
wait_until 100 has_window "$ALERT" || fail "no alert for the reminder due at $due"
alert=$(window_of "$ALERT")
wait_until 20 window_still "$alert" || fail "the alert is still shaking"
[ "$WW" -eq 600 ] && [ "$WH" -eq 450 ] || fail "the alert is ${WW}x${WH}"
wait_until 10 sound_playing || fail "the alert played no sound"
xdotool mousemove --sync $((WX + 467 + 16 + 30)) $((WY + 276 + 56 + 12)) click 1 # 返回
wait_until 10 lacks_window "$ALERT" || fail "返回 did not close the alert"

note "the 退出 hot area ends the program with exit code 0"
window_geometry "$main"
xdotool mousemove --sync $((WX + 147 + 16)) $((WY + 238 + 12)) click 1
wait_until 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
wait "$APP_PID" || fail "the program ended with $?"
echo PASS
