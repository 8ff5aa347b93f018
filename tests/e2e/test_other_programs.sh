#!/usr/bin/env bash
# Other programs write data.mdb while the program runs: a reminder for today added with sqlite3 shows in
# the agenda within one tick, and one added with orvane-db for the next minute raises its alert.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'

start_display
new_workdir
start_app
main=$(wait_window "$TITLE")

# Pixels in the agenda's colour inside its panel (the panel stands at 328, 88, 202 x 125 of the window).
agenda_pixels() {
  window_geometry "$main"
  import -window root -crop "202x125+$((WX + 328))+$((WY + 88))" "$E2E_WORK/agenda.png"
  convert "$E2E_WORK/agenda.png" -fuzz 12% -fill white -opaque '#9fe3ff' -fill black +opaque white \
    -format '%[fx:round(mean*w*h)]' info:
}
agenda_shows_text() { [ "$(agenda_pixels)" -gt 20 ]; }

sleep 2
[ "$(agenda_pixels)" -eq 0 ] || fail "the empty agenda shows $(agenda_pixels) pixels of text"

note "a reminder for today written with sqlite3 appears in the agenda"
today=$(date +%Y-%m-%d)
sqlite3 data.mdb "insert into 日程提醒(主题,内容,时间,日期) values('别人写的','', '$today 23:59:00','$today')"
wait_until 45 agenda_shows_text || fail "the agenda did not show the reminder that sqlite3 wrote"

note "a reminder for the next minute written with orvane-db raises its alert"
next_minute
"$ORVANE_DB" --file data.mdb add '命令行的会议' --at "$due" --content '从 orvane-db 来' >/dev/null
wait_until 100 has_window "$ALERT" || fail "no alert for the reminder orvane-db stored for $due"
echo PASS
