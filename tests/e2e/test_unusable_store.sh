#!/usr/bin/env bash
# A missing or broken data.mdb: one error box at start-up, the program keeps running with its main
# window, and the file is left as it was.
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

check_case() {
  local label=$1
  note "$label"
  local box
  wait_until 20 has_window "$TITLE" || fail "$label: no error box"
  box=$(window_of "$TITLE")
  window_geometry "$box"
  [ "$WW" -ne 600 ] || fail "$label: the main window came up before the error box"
  xdotool windowactivate --sync "$box" key --clearmodifiers Return
  wait_until 20 main_window_shown || fail "$label: the main window did not follow the error box"
  sleep 1
  kill -0 "$APP_PID" || fail "$label: the program ended"
  [ "$(count_windows "$TITLE")" -eq 1 ] || fail "$label: more than one window after the box"
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
