#!/usr/bin/env bash
# A saved account, and the sync module missing from beside the program (a broken install): the program starts
# all the same, with one box that says the module could not be loaded.
: "${E2E_SESSION_BUS:=1}"
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

start_display
start_atspi
new_workdir
export XDG_CONFIG_HOME="$E2E_WORK/xdg-config"
mkdir -p "$XDG_CONFIG_HOME/orvane-reminder"
printf '[caldav]\ncalendar=http://127.0.0.1:9/alice/orvane/\nuser=alice\n' >"$XDG_CONFIG_HOME/orvane-reminder/sync.conf"
program=$(stage_program)
rm "$(dirname "$program")/orvane-sync.so"
LD_LIBRARY_PATH="$(dirname "$program")" "$program" >>"$E2E_WORK/app.log" 2>&1 &
APP_PID=$!
E2E_PIDS+=($APP_PID)

wait_window "$TITLE" >/dev/null
says_missing() { atspi begins '无法载入同步模块：' label; }
wait_until 20 says_missing || fail "no box says the sync module could not be loaded ($(cat "$E2E_WORK/app.log"))"
grep -q 'orvane-sync.so' "$E2E_WORK/app.log" || fail "the error output does not name the module"
sleep 2
[ "$(count_windows "$TITLE")" -eq 2 ] || fail "$(count_windows "$TITLE") windows named $TITLE, not the main window and one box"
kill -0 "$APP_PID" || fail "the program ended"
echo PASS
