#!/usr/bin/env bash
# A reminder added on another device alerts here: the running program, its account set up as 同步设置… keeps
# it (the calendar's address in the settings file, the password in the desktop's secret store), brings an
# event put on the Radicale of the test's own with the sync that follows a change made in the manager, and
# alerts in the event's minute with the subject from the server.
: "${E2E_SESSION_BUS:=1}"
source "$E2E_LIB"
source "$E2E_DIR/../caldav/radicale.sh"
TITLE='Orvane日程提醒v1.0'
MANAGER='日程设置'
ALERT='日程提醒'
SUBJECT='牙医 from the phone'
row() { sqlite3 data.mdb "select 主题||'|'||内容||'|'||时间 from 日程提醒 where 主题='$SUBJECT'" 2>/dev/null; }
has_row() { [ -n "$(row)" ]; }
synced() { [ -n "$(sqlite3 data.mdb 'select sync_token from sync_calendar' 2>/dev/null)" ]; }
secret_store_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets | grep -q 'boolean true'
}

port=$(free_port)
start_radicale "$E2E_WORK" "$port" || fail "radicale did not start"
E2E_PIDS+=("$RADICALE_PID")
calendar="http://127.0.0.1:$port/alice/orvane/"
make_calendar "$calendar" || fail "the calendar was not made"

note "the account kept as 同步设置… keeps it: the password in the secret store, the rest in sync.conf"
keyring="$E2E_WORK/keyring"
mkdir -p -m 700 "$keyring" "$keyring/data" "$keyring/home"
# --unlock makes the login keyring, unlocked, with the password it reads.
printf 'test-keyring-password' | XDG_DATA_HOME="$keyring/data" HOME="$keyring/home" \
  gnome-keyring-daemon --foreground --unlock --components=secrets >"$keyring/log" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 secret_store_up || fail "gnome-keyring-daemon's Secret Service did not come on the bus"
# QtKeychain's entry: its schema's attributes are the key as user and the service as server.
printf 'secret' | secret-tool store --label='Orvane日程提醒' user caldav-password server orvane-reminder type plaintext
export XDG_CONFIG_HOME="$E2E_WORK/xdg-config"
mkdir -p "$XDG_CONFIG_HOME/orvane-reminder"
printf '[caldav]\ncalendar=%s\nuser=alice\n' "$calendar" >"$XDG_CONFIG_HOME/orvane-reminder/sync.conf"

start_atspi
start_display
new_workdir
start_app
wait_window "$TITLE" >/dev/null
wait_until 30 synced || fail "the program did not sync on start: $(grep -c 'request' "$E2E_WORK/radicale.log") requests"

# Due at the start of the first minute at least 45 s ahead: the manager's change and the sync after it take
# some 15 s.
due_at=$((($(date +%s) + 45 + 59) / 60 * 60))
due=$(date -d "@$due_at" '+%Y-%m-%d %H:%M:%S')
note "an event with an alarm at its start put on the server, due $due"
uid="sync-alert-$due_at@e2e.example"
status=$(printf '%s\r\n' BEGIN:VCALENDAR VERSION:2.0 'PRODID:-//e2e//phone//EN' BEGIN:VEVENT "UID:$uid" \
  "DTSTAMP:$(date -u +%Y%m%dT%H%M%SZ)" "DTSTART:$(date -u -d "@$due_at" +%Y%m%dT%H%M%SZ)" DURATION:PT30M \
  "SUMMARY:$SUBJECT" 'DESCRIPTION:带上医保卡' BEGIN:VALARM ACTION:DISPLAY "DESCRIPTION:$SUBJECT" TRIGGER:PT0S \
  END:VALARM END:VEVENT END:VCALENDAR |
  curl -s -o /dev/null -w '%{http_code}' -u alice:secret -X PUT -H 'Content-Type: text/calendar; charset=utf-8' \
    -H 'If-None-Match: *' --data-binary @- "$calendar$uid.ics")
[ "$status" = 201 ] || fail "the server answered the event's PUT with $status"

note "a reminder added in the manager, twelve hours off, is the change the program syncs after"
atspi press 设置 'push button'
wait_window "$MANAGER" >/dev/null
wait_until 10 atspi shows 添加提醒 'page tab' || fail "no 添加提醒 page tab"
tab_to 'text|日程主题：'
xdotool type --delay 100 '晚间散步'
tab_to 'text|日程内容：'
xdotool type --delay 100 '公园'
tab_to 'spin button|提醒时间'
xdotool type "$(printf '%02d' $(((10#$(date +%H) + 12) % 24)))3000"
atspi press 增加 'push button'
wait_window '提醒' >/dev/null
xdotool key Return
wait_until 10 lacks_window '提醒' || fail "the confirmation did not close"
xdotool key Escape
wait_until 10 lacks_window "$MANAGER" || fail "the manager stayed open"

wait_until 20 has_row || fail "the sync after the change did not bring the event"
[ "$(date +%s)" -lt "$due_at" ] || fail "the event came only after its minute began"
[ "$(row)" = "$SUBJECT|带上医保卡|$due" ] || fail "stored as: $(row)"
lacks_window "$ALERT" || fail "an alert before the event's minute"

note "the alert in the event's minute, with the server's subject"
wait_until $((due_at + 60 - $(date +%s))) has_window "$ALERT" || fail "no alert in the minute of $due"
[ "$(date +%s)" -lt $((due_at + 60)) ] || fail "the alert came after the event's minute"
wait_until 10 atspi shows 返回 'push button' || fail "the alert is not on the AT-SPI bus"
shown=$(atspi text 日程主题： text)
[ "$shown" = "$SUBJECT" ] || fail "the alert shows the subject '$shown'"
echo PASS
