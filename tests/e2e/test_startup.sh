#!/usr/bin/env bash
# Start-up and one instance per display: the main window appears; a second start hands over to the
# first and exits 0; ten starts at once leave one instance; a killed first instance does not block. Where
# no display answers, the program says so in one line and exits 1. The modules wait for their first use.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

note "a display that does not answer: one line and exit code 1"
status=0
DISPLAY=:9876 timeout 30 "$ORVANE_BIN" >"$E2E_WORK/dead.out" 2>"$E2E_WORK/dead.err" || status=$?
[ "$status" -eq 1 ] || fail "with no display answering the program ended with $status"
[ "$(wc -l <"$E2E_WORK/dead.err")" -eq 1 ] || fail "with no display answering it said: $(cat "$E2E_WORK/dead.err")"
grep -q ':9876' "$E2E_WORK/dead.err" || fail "the message does not name the display: $(cat "$E2E_WORK/dead.err")"

start_display
new_workdir
start_app
main=$(wait_window "$TITLE")
note "main window $main is up"

note "none of the modules, nor the libraries behind them, is loaded before it is needed"
# Qt Network is linked by the calendar sync, which runs in the background from the start.
loaded=$(grep -oE 'orvane-(sound|notice|notify)\.so|lib(pulse|mpg123)[^/ ]*' "/proc/$APP_PID/maps" | sort -u || true)
[ -z "$loaded" ] || fail "loaded at start: $loaded"

note "a second start restores the first and exits 0"
xdotool windowminimize "$main"
wait_until 10 lacks_window "$TITLE" || fail "the main window did not minimise"
timeout 30 "$ORVANE_BIN" >>"$E2E_WORK/app.log" 2>&1 || fail "the second start exited with $?"
wait_until 10 has_window "$TITLE" || fail "the first instance was not restored"
kill -0 "$APP_PID" || fail "the first instance ended"
[ "$(count_windows "$TITLE")" -eq 1 ] || fail "more than one main window"

note "after kill -9 of the first, the next start is a first instance"
kill -9 "$APP_PID"
wait_until 10 lacks_window "$TITLE" || fail "the killed instance's window stayed"
start_app
wait_window "$TITLE" >/dev/null
sleep 1
kill -0 "$APP_PID" || fail "the start after a kill -9 did not stay"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
wait_until 10 lacks_window "$TITLE" || fail "the ended instance's window stayed"

note "ten starts at once leave exactly one instance"
pids=()
for _ in $(seq 10); do
  "$ORVANE_BIN" >>"$E2E_WORK/app.log" 2>&1 &
  pids+=($!)
  E2E_PIDS+=($!)
done
wait_window "$TITLE" >/dev/null
running=0
for pid in "${pids[@]}"; do
  if wait_until 30 bash -c "! kill -0 $pid 2>/dev/null"; then
    wait "$pid" || fail "a second instance exited with $?"
  else
    running=$((running + 1))
  fi
done
[ "$running" -eq 1 ] || fail "$running instances kept running"
sleep 1
[ "$(count_windows "$TITLE")" -eq 1 ] || fail "$(count_windows "$TITLE") main windows"
echo "PASS"
