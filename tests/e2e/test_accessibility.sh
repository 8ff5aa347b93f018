#!/usr/bin/env bash
# The program as a screen reader and a keyboard user meet it: on the AT-SPI bus the main window's 简介 is
# found as a link and followed through its action, and its 设置 found as a push button and pressed; in the manager a reminder for the next minute is
# added with keys alone; its alert is closed with Escape.
: "${E2E_SESSION_BUS:=1}"
source "$E2E_LIB"
MANAGER='日程设置'
ALERT='日程提醒'
rows() { sqlite3 data.mdb "select 主题||'|'||内容||'|'||时间 from 日程提醒"; }

start_atspi
start_display
new_workdir
start_app
wait_window 'Orvane日程提醒v1.0' >/dev/null
wait_until 20 atspi shows 设置 'push button' || fail "no 设置 push button on the AT-SPI bus"

note "the 简介 link followed through its action shows the introduction, in a box of the program's title"
titled() { [ "$(count_windows 'Orvane日程提醒v1.0')" -eq "$1" ]; }
atspi press 【Orvane日程提醒V2.0简介】 link
wait_until 10 titled 2 || fail "the 简介 link showed nothing"
xdotool key Return
wait_until 10 titled 1 || fail "Enter did not close the introduction"

note "设置 pressed through its action opens the manager"
atspi press 设置 'push button'
wait_window "$MANAGER" >/dev/null
wait_until 10 atspi shows 添加提醒 'page tab' || fail "no 添加提醒 page tab"

# The next minute must still be today, and must not begin while the form is being filled in.
while [ "$(date +%H%M)" = 2359 ] || [ $((10#$(date +%S))) -gt 40 ]; do sleep 1; done
read -r hour minute < <(date -d '+1 minute' '+%H %M')
due="$(date +%Y-%m-%d) $hour:$minute:00"

note "a reminder added with keys alone"
tab_to 'text|日程主题：'
xdotool type --delay 100 'keyboard'
tab_to 'text|日程内容：'
xdotool type --delay 100 'typed'
tab_to 'spin button|提醒时间'
xdotool type "$hour$minute"00
tab_to 'push button|增加'
xdotool key Return
wait_window '提醒' >/dev/null
xdotool key Return
wait_until 10 lacks_window '提醒' || fail "the confirmation did not close"
[ "$(rows)" = "keyboard|typed|$due" ] || fail "stored: $(rows)"

note "Escape closes the manager"
xdotool key Escape
wait_until 10 lacks_window "$MANAGER" || fail "the manager stayed open"

note "the alert falls due and Escape closes it"
alert=$(wait_window "$ALERT" 100)
wait_until 10 atspi shows 返回 'push button' || fail "no 返回 on the alert"
sleep 3 # the shake
# A loaded machine gives the focus late: Escape before it would go to another window.
wait_until 10 is_active "$alert" || fail "the alert did not take the keyboard focus"
xdotool key Escape
wait_until 10 lacks_window "$ALERT" || fail "the alert stayed open ($(focus_report), the alert $alert)"
[ "$(rows)" = "keyboard|typed|$due" ] || fail "the reminder changed: $(rows)"
