#!/usr/bin/env bash
# The tray icon on a StatusNotifierItem host that comes after the program, as a panel at login: the icon
# registers once the host is there, its picture changes, its tooltip names the program, the host's left
# click (Activate) hides and shows the program, its right click (ContextMenu) opens the menu, and the menu's
# 隐藏/显示 clicked through com.canonical.dbusmenu hides and shows it. The host is a fake watcher
# (tests/support) so that the test can call the item as a host does; test_tray_xfce.sh has a real panel.
: "${E2E_SESSION_BUS:=1}"
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
LOG="$E2E_WORK/watcher.log"

start_display 1280x800
new_workdir
start_app
main=$(wait_window "$TITLE")

note "a host that comes after the program gets its icon"
/usr/bin/python3 "$E2E_DIR/../support/fake_sni_watcher.py" --host-after 3 >"$LOG" 2>&1 &
E2E_PIDS+=($!)
wait_until 20 grep -q '^item ' "$LOG" || fail "the icon did not register with the host: $(cat "$LOG")"
[ "$(grep -m1 -E '^(host|item)' "$LOG")" = host ] || fail "the icon registered before the host was there"
read -r _ service path < <(grep -m1 '^item ' "$LOG")
item() { gdbus call --session -d "$service" -o "$path" -m "org.kde.StatusNotifierItem.$1" "${@:2}" >/dev/null; }

note "the icon changes picture"
pictures() { grep '^icon ' "$LOG" | awk '{print $3}' | sort -u | wc -l; }
animated() { [ "$(pictures)" -ge 2 ]; }
wait_until 10 animated || fail "the tray icon did not animate: $(cat "$LOG")"

note "the icon's tooltip names the program while no reminder is left today"
tooltip=$(gdbus call --session -d "$service" -o "$path" -m org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierItem ToolTip)
grep -qF "$TITLE" <<<"$tooltip" || fail "the tooltip is $tooltip"

note "a left click hides the program, another brings it back"
item Activate 0 0
wait_until 10 lacks_window "$TITLE" || fail "Activate did not hide the program"
sleep 0.8
item Activate 0 0
wait_until 10 has_window "$TITLE" || fail "Activate did not bring the program back"

note "a right click opens the menu"
menu_shown() {
  local w
  for w in $(xdotool search --onlyvisible --classname orvane-reminder 2>/dev/null); do
    window_geometry "$w"
    [ "$WW" -lt 300 ] && [ "$WH" -lt 120 ] && [ "$WH" -gt 30 ] && return 0
  done
  return 1
}
item ContextMenu 600 400
wait_until 10 menu_shown || fail "ContextMenu opened no menu"
xdotool key Escape
wait_until 10 eval '! menu_shown' || fail "Escape did not close the menu"

note "the host's menu: 隐藏/显示 hides and shows the program"
menu=$(gdbus call --session -d "$service" -o "$path" -m org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierItem Menu | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p")
[ -n "$menu" ] || fail "the icon offers no menu to the host"
layout=$(gdbus call --session -d "$service" -o "$menu" -m com.canonical.dbusmenu.GetLayout -- 0 -1 '@as []')
id=$(grep -o "([0-9]*, {[^}]*'label': <'隐藏/显示'>" <<<"$layout" | sed 's/^(\([0-9]*\),.*/\1/' | head -n1)
[ -n "$id" ] || fail "隐藏/显示 is not in the host's menu: $layout"
click() {
  gdbus call --session -d "$service" -o "$menu" -m com.canonical.dbusmenu.Event "$id" clicked '<0>' 0 >/dev/null
}
click
wait_until 10 lacks_window "$TITLE" || fail "隐藏/显示 did not hide the program"
click
wait_until 10 has_window "$TITLE" || fail "隐藏/显示 did not bring the program back"
echo PASS
