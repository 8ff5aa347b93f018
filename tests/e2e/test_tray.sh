#!/usr/bin/env bash
# The tray icon under a real tray (trayer): it animates, a right click opens the menu, 隐藏/显示 hides
# the program and brings it back where it was, a left click brings it back to the top right corner, and
# a second start of the program brings it back from the tray.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

start_display 1280x800
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 --SetDockType true >/dev/null 2>&1 &
E2E_PIDS+=($!)
new_workdir
start_app
main=$(wait_window "$TITLE")

# The icon is the program's small window embedded in trayer's panel at the bottom right.
wait_until 20 bash -c "xwininfo -root -tree | grep -q '\"orvane-reminder\": (\"orvane-reminder\" \"orvane-reminder\")  [0-9]*x[0-9]*+0+0  +1[0-9][0-9][0-9]+7'" \
  || fail "no tray icon in the panel"
icon=$(xwininfo -root -tree | grep '"orvane-reminder": ("orvane-reminder" "orvane-reminder")' | grep -v 600x300 | head -n1 | awk '{print $1}')
eval "$(xdotool getwindowgeometry --shell "$icon")"
IX=$((X + WIDTH / 2)) IY=$((Y + HEIGHT / 2))
note "icon at $IX,$IY"

note "the icon changes picture"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$E2E_WORK/frame1.png"
sleep 1.2
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$E2E_WORK/frame2.png"
changed=$(compare -metric AE "$E2E_WORK/frame1.png" "$E2E_WORK/frame2.png" null: 2>&1 || true)
[ "${changed%% *}" != 0 ] || fail "the tray icon did not animate"

menu_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname orvane-reminder 2>/dev/null); do
    window_geometry "$w"
    [ "$WW" -lt 300 ] && [ "$WH" -lt 120 ] && [ "$WH" -gt 30 ] && { echo "$w"; return 0; }
  done
  return 1
}
has_menu() { menu_window >/dev/null; }

# choose <item index>: opens the icon's menu with a right click and clicks an item (0 隐藏/显示, 1 登录时自动启动,
# 2 同步设置…, 3 退出).
choose() {
  xdotool mousemove --sync "$IX" "$IY" click 3
  wait_until 10 has_menu || fail "a right click on the icon opened no menu"
  local menu
  menu=$(menu_window)
  window_geometry "$menu"
  xdotool mousemove --sync $((WX + 30)) $((WY + 6 + 12 + $1 * 24)) sleep 0.2 click 1
  wait_until 10 bash -c "! xdotool search --onlyvisible --classname orvane-reminder | grep -qx $menu" \
    || fail "the menu stayed open"
  sleep 0.5
}

note "隐藏/显示 hides the program and brings it back where it was"
xdotool windowmove "$main" 200 150
sleep 0.5
choose 0
wait_until 10 lacks_window "$TITLE" || fail "隐藏/显示 did not hide the main window"
choose 0
wait_until 10 has_window "$TITLE" || fail "隐藏/显示 did not bring the main window back"
window_geometry "$main"
[ "$WX" -eq 200 ] && [ "$WY" -eq 150 ] || fail "the main window came back at $WX,$WY"

note "a left click hides it, another brings it back to the top right corner"
xdotool mousemove --sync "$IX" "$IY" click 1
wait_until 10 lacks_window "$TITLE" || fail "a left click did not hide the program"
sleep 0.8 # two clicks closer together make a double-click
xdotool mousemove --sync "$IX" "$IY" click 1
wait_until 10 has_window "$TITLE" || fail "a left click did not bring the program back"
wait_until 5 bash -c "eval \$(xdotool getwindowgeometry --shell $main); [ \$X -eq 680 ] && [ \$Y -eq 0 ]" \
  || fail "the main window did not come back to the top right corner"

note "a second start brings the program back from the tray"
sleep 0.8
xdotool mousemove --sync "$IX" "$IY" click 1
wait_until 10 lacks_window "$TITLE" || fail "a left click did not hide the program"
timeout 30 "$ORVANE_BIN" >>"$E2E_WORK/app.log" 2>&1 || fail "the second start exited with $?"
wait_until 10 has_window "$TITLE" || fail "the second start did not bring the program back"

note "同步设置… in the menu opens the sync set-up window; Escape closes it"
choose 2
wait_until 10 has_window "同步设置" || fail "同步设置… opened no window"
xdotool windowactivate --sync "$(window_of "同步设置")" key Escape
wait_until 10 lacks_window "同步设置" || fail "Escape did not close the sync set-up window"

note "退出 in the menu ends the program"
choose 3
wait_until 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "退出 did not end the program"
wait "$APP_PID" || fail "the program ended with $?"
echo PASS
