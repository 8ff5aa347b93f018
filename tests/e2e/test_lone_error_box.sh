#!/usr/bin/env bash
# While the store cannot be reached, the watch's ticks do not stack error boxes: one stands at a time, and
# once it is closed the next failing tick reports again.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

error_boxes() {
  local w count=0
  for w in $(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null); do
    window_geometry "$w"
    [ "$WW" -ne 600 ] && count=$((count + 1))
  done
  echo "$count"
}
one_box() { [ "$(error_boxes)" -eq 1 ]; }
no_box() { [ "$(error_boxes)" -eq 0 ]; }
close_box() {
  local w
  for w in $(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null); do
    window_geometry "$w"
    if [ "$WW" -ne 600 ]; then
      xdotool windowactivate --sync "$w" key --clearmodifiers Return
      return 0
    fi
  done
  return 1
}

start_display
mkdir -p "$E2E_WORK/nostore" && cd "$E2E_WORK/nostore"
start_app
wait_until 20 one_box || fail "no error box for the missing data.mdb"
note "two ticks pass while the box stands: never a second box"
for _ in $(seq 13); do
  sleep 5
  [ "$(error_boxes)" -le 1 ] || fail "$(error_boxes) error boxes stand at once"
done
wait_until 5 one_box || fail "the box did not stand through two ticks"
close_box
note "closed: the first agenda reports, then the next tick after that box is closed"
wait_until 20 one_box || fail "the first agenda did not report"
close_box
wait_until 10 no_box || fail "the box did not close"
wait_until 40 one_box || fail "the next tick did not report the store again"
sleep 2
[ "$(error_boxes)" -le 1 ] || fail "$(error_boxes) error boxes after the next tick"
kill -0 "$APP_PID" || fail "the program ended"
echo PASS
