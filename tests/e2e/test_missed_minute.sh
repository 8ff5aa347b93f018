#!/usr/bin/env bash
# A reminder whose minute passes while the program gets no tick (here: the process stopped with SIGSTOP,
# as a suspended machine stops it) alerts as soon as the program runs again.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'

start_display
new_workdir
start_app
wait_window "$TITLE" >/dev/null

# Store a reminder for the next minute while well inside this one, then stop the program before it.
while [ $((10#$(date +%S))) -gt 40 ]; do sleep 1; done
due=$(date -d '+1 minute' '+%Y-%m-%d %H:%M:00')
"$ORVANE_DB" --file data.mdb add '错过的会议' --at "$due" >/dev/null
kill -STOP "$APP_PID"
note "stopped before $due; continued once that minute is over"
after=$(date -d "$due 1 minute 5 seconds" +%s)
while [ "$(date +%s)" -lt "$after" ]; do sleep 1; done
lacks_window "$ALERT" || fail "an alert showed while the program was stopped"
kill -CONT "$APP_PID"
wait_until 40 has_window "$ALERT" || fail "no alert for the reminder whose minute passed while stopped"
echo PASS
