#!/usr/bin/env bash
# 稍后提醒: a reminder put off from its alert alerts again after the delay, also when the program was ended
# and started again meanwhile; its row keeps its time.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'
# The alert's menu offers a one-minute delay besides its usual ones.
export ORVANE_TEST_SNOOZE_CHOICE=1

# snooze_from_alert: puts the open alert off by one minute, the first choice of 稍后提醒's menu.
snooze_from_alert() {
  local alert
  alert=$(window_of "$ALERT")
  wait_until 10 window_still "$alert" || fail "the alert kept moving"
  xdotool mousemove --sync $((WX + 367 + 16 + 46)) $((WY + 276 + 56 + 12)) click 1 # 稍后提醒
  sleep 0.5
  xdotool key Down Return # 1 分钟
  wait_until 10 lacks_window "$ALERT" || fail "the choice did not close the alert"
  [ "$(sqlite3 data.mdb 'select count(*) from reminder_snoozes')" = 1 ] || fail "the snooze was not kept"
}

start_display
new_workdir
start_app
wait_window "$TITLE" >/dev/null

next_minute
"$ORVANE_DB" --file data.mdb add '稍后的会议' --at "$due" >/dev/null
wait_until 100 has_window "$ALERT" || fail "no alert for the reminder due at $due"
snooze_from_alert
note "put off at $(date +%T)"
sleep 45
lacks_window "$ALERT" || fail "the alert came again before its minute"
wait_until 60 has_window "$ALERT" || fail "the alert did not come again after a minute"
[ "$(sqlite3 data.mdb 'select count(*) from reminder_snoozes')" = 0 ] || fail "the snooze stayed after it came"

snooze_from_alert
note "put off again at $(date +%T), then the program ends and starts again"
kill "$APP_PID"
wait_until 10 lacks_window "$TITLE" || fail "the program did not end"
start_app
wait_window "$TITLE" >/dev/null
wait_until 100 has_window "$ALERT" || fail "the snooze did not survive the restart"
[ "$(sqlite3 data.mdb "select 时间 from 日程提醒")" = "$due" ] || fail "the row's time moved"
echo PASS
