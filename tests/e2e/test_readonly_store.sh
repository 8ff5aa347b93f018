#!/usr/bin/env bash
# A data.mdb that the user may only read (here: a file of root's, run by another user; without root, a file
# and folder the test makes read-only) still reminds: the main window comes up without an error box, its
# reminder raises the alert, and the file stays byte for byte as it was, with nothing written beside it.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'
USER_NAME=orvane-e2e-reader

start_display 1280x800 nowm
new_workdir
while [ $((10#$(date +%S))) -gt 45 ]; do sleep 1; done
due=$(date -d '+1 minute' '+%Y-%m-%d %H:%M:00')
"$ORVANE_DB" --file data.mdb add '只读的会议' --at "$due" >/dev/null
before=$(sha256sum data.mdb)

if [ "$(id -u)" -eq 0 ]; then
  # Root may write every file: the program runs as a user of its own, the file stays root's.
  id "$USER_NAME" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$USER_NAME"
  trap 'e2e_cleanup; userdel "$USER_NAME" 2>/dev/null || true' EXIT
  chmod 755 "$E2E_WORK" "$E2E_WORK/wd"
  chmod 644 data.mdb
  runtime="$E2E_WORK/reader-runtime"
  mkdir -p "$runtime" && chown "$USER_NAME" "$runtime" && chmod 700 "$runtime"
  program=$(stage_program)
  runuser -u "$USER_NAME" -- env DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$runtime" HOME="$runtime" \
    LD_LIBRARY_PATH="$(dirname "$program")" ASAN_OPTIONS="$ASAN_OPTIONS" LC_ALL=C.UTF-8 "$program" >>"$E2E_WORK/app.log" 2>&1 &
else
  chmod a-w data.mdb . # neither the file nor a journal beside it can be written
  "$ORVANE_BIN" >>"$E2E_WORK/app.log" 2>&1 &
fi
APP_PID=$!
E2E_PIDS+=($APP_PID)

wait_window "$TITLE" >/dev/null
sleep 3
[ "$(count_windows "$TITLE")" -eq 1 ] || fail "an error box came with the read-only data.mdb"
wait_until 100 has_window "$ALERT" || fail "no alert for the reminder due at $due"
[ "$(sha256sum data.mdb)" = "$before" ] || fail "data.mdb was changed"
[ -z "$(ls -A . | grep -v '^data.mdb$')" ] || fail "something was written beside data.mdb: $(ls -A .)"
kill -0 "$APP_PID" || fail "the program ended"
echo PASS
