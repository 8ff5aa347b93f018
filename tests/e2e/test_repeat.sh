#!/usr/bin/env bash
# Repeating reminders: a weekly reminder alerts and its row moves to the next week, where other programs
# read it; a daily one whose occurrences passed while the program was not running moves past now at start,
# as a reminder missed then does not alert.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'

row_time() { sqlite3 data.mdb "select 时间 from 日程提醒 where 主题='$1'"; }
row_is() { [ "$(row_time "$1")" = "$2" ]; }

start_display
new_workdir
three_days_ago=$(date -d '3 days ago' '+%Y-%m-%d 08:00:00')
"$ORVANE_DB" --file data.mdb add '每天吃药' --at "$three_days_ago" --repeat daily >/dev/null
start_app
wait_window "$TITLE" >/dev/null
moved_past_now() { [ "$(date -d "$(row_time '每天吃药')" +%s)" -gt "$(date +%s)" ]; }
wait_until 30 moved_past_now || fail "the daily row stayed at $(row_time '每天吃药')"
lacks_window "$ALERT" || fail "an alert for occurrences missed while the program was not running"

next_minute
"$ORVANE_DB" --file data.mdb add '周会' --at "$due" --repeat weekly >/dev/null
wait_until 100 has_window "$ALERT" || fail "no alert for the weekly reminder due at $due"
next_week=$(date -d "$due 7 days" '+%Y-%m-%d %H:%M:%S')
wait_until 10 row_is '周会' "$next_week" || fail "the weekly row holds $(row_time '周会'), not $next_week"
[ "$(sqlite3 data.mdb "select 日期 from 日程提醒 where 主题='周会'")" = "${next_week:0:10}" ] || fail "日期 did not move"
[ "$(sqlite3 data.mdb 'select count(*) from reminder_repeats')" = 2 ] || fail "a rule was lost"
echo PASS
