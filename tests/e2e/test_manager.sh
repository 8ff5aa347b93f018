#!/usr/bin/env bash
# The road of one reminder through the manager window: opened from the main window's 设置 hot area, a
# reminder with Chinese text added for today and the next minute and stored with the right texts, then
# deleted again from the delete page's menu.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
MANAGER='日程设置'

# click_at <window id> <x> <y> [button]: a click at a point of the window, in window pixels, given
# time to take effect before the next keystroke.
click_at() {
  window_geometry "$1"
  xdotool mousemove --sync $((WX + $2)) $((WY + $3)) click "${4:-1}"
  sleep 0.3
}

rows() { sqlite3 data.mdb "select 主题||'|'||内容||'|'||时间||'|'||日期 from 日程提醒"; }
row_count() { sqlite3 data.mdb "select count(*) from 日程提醒"; }
confirmation_shown() { [ "$(count_windows "$TITLE")" -ge 2 ]; }

start_display
new_workdir
start_app
main=$(wait_window "$TITLE")

note "the 设置 hot area opens the manager, centred on the screen"
click_at "$main" $((111 + 16)) $((230 + 12))
manager=$(wait_window "$MANAGER")
window_geometry "$manager"
[ "$WW" -eq 600 ] && [ "$WH" -eq 450 ] || fail "the manager is ${WW}x${WH}"
[ "$WX" -eq $((($(screen_width) - 600) / 2)) ] || fail "the manager stands at x $WX"

# The next minute must still be today, and must not begin while the form is being filled in.
while [ "$(date +%H%M)" = 2359 ] || [ $((10#$(date +%S))) -gt 45 ]; do sleep 1; done
today=$(date +%Y-%m-%d)
read -r hour minute < <(date -d '+1 minute' '+%H %M')

note "type a subject and a content, pick the next minute, click 增加"
click_at "$manager" 341 129 # the subject
xdotool type --delay 150 '早会 standup'
click_at "$manager" 341 222 # the content
xdotool type --delay 150 '带上笔记本，'
xdotool key Return
xdotool type --delay 150 'room 3'
# Tab leaves the memo for the time edit's hour; each section, once typed, hands over to the next.
xdotool key Tab
xdotool type "$hour$minute"00
click_at "$manager" 273 335 # 增加
wait_window '提醒' >/dev/null
xdotool key Return
wait_until 10 lacks_window '提醒' || fail "the confirmation did not close"

expected="早会 standup|带上笔记本，
room 3|$today $hour:$minute:00|$today"
[ "$(rows)" = "$expected" ] || fail "stored: $(rows)"
note "stored for today, so the agenda (which lists today's 日期) has it: $(rows | head -n1)"

note "the delete page's menu deletes it"
click_at "$manager" $((127 + 28)) $((23 + 12)) # the delete page's hot area
sleep 0.5
click_at "$manager" 100 123 3 # the first row of the delete page's grid
sleep 0.5
xdotool key Down Return
wait_until 10 confirmation_shown || fail "no 删除成功！ dialog"
xdotool key Return
[ "$(row_count)" -eq 0 ] || fail "still stored: $(rows)"

note "退出 closes the manager"
click_at "$manager" $((309 + 28)) $((23 + 12)) # 退 出
wait_until 10 lacks_window "$MANAGER" || fail "the manager stayed open"
kill -0 "$APP_PID" || fail "the program ended"
echo "PASS"
