#!/usr/bin/env bash
# A missing or broken data.mdb: reported at start-up, the program keeps running with its main window,
# and the file is left as it was.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

start_display

main_window_shown() {
  local w
  for w in $(xdotool search --onlyvisible --name "^$TITLE\$"); do
    window_geometry "$w"
    [ "$WW" -eq 600 ] && return 0
  done
  return 1
}

error_box() {
  local w
  for w in $(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null); do
    window_geometry "$w"
    [ "$WW" -ne 600 ] && { echo "$w"; return 0; }
  done
  return 1
}
has_error_box() { error_box >/dev/null; }

# The store reports while it is made at start-up, and again when the agenda first reads it; the
# program then runs on with its main window.
check_case() {
  local label=$1 boxes=0
  note "$label"
  wait_until 20 has_error_box || fail "$label: no error box"
  while has_error_box && [ $boxes -lt 5 ]; do
    xdotool windowactivate --sync "$(error_box)" key --clearmodifiers Return
    boxes=$((boxes + 1))
    sleep 1
    wait_until 5 has_error_box || break
  done
  [ $boxes -eq 2 ] || fail "$label: $boxes error boxes instead of 2 (start-up and the first agenda)"
  wait_until 20 main_window_shown || fail "$label: the main window did not follow the error boxes"
  kill -0 "$APP_PID" || fail "$label: the program ended"
  kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true
}

mkdir -p "$E2E_WORK/missing" && cd "$E2E_WORK/missing"
start_app
check_case "missing data.mdb"
[ ! -e data.mdb ] || fail "the program created data.mdb"

mkdir -p "$E2E_WORK/garbage" && cd "$E2E_WORK/garbage"
head -c 8192 /dev/urandom >data.mdb
before=$(sha256sum data.mdb)
start_app
check_case "data.mdb that is not a database"
[ "$(sha256sum data.mdb)" = "$before" ] || fail "the broken file was modified"
echo "PASS"
