#!/usr/bin/env bash
# The tray icon in a real panel, xfce4-panel's notification area (a StatusNotifierItem host and an XEmbed
# tray), started after the program as at login: the icon comes into the panel, a left click on it hides
# the program and another brings it back.
: "${E2E_SESSION_BUS:=1}"
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'

start_display 1280x800
new_workdir
start_app
main=$(wait_window "$TITLE")

note "the panel starts after the program"
# The panel's settings service starts on the bus: it reads the panel's default layout, not the user's.
dbus-update-activation-environment XDG_CONFIG_HOME="$E2E_WORK/config"
xfce4-panel >"$E2E_WORK/panel.log" 2>&1 &
E2E_PIDS+=($!)

# The beetle is the only bright picture on the right half of the top panel; prints its box as WxH+X+Y.
icon_box() {
  import -window root "$E2E_WORK/shot.png"
  convert "$E2E_WORK/shot.png" -crop 640x27+640+0 +repage -colorspace HSL -channel G -separate +channel \
    -threshold 60% -format '%@' info:
}
icon_shows() { [[ "$(icon_box)" =~ ^1[0-9]x1[0-9]\+ ]]; }
wait_until 30 icon_shows || fail "no icon in the panel ($(icon_box)): $(tail -n 5 "$E2E_WORK/app.log")"
IFS='x+' read -r w h x y <<<"$(icon_box)"
IX=$((640 + x + w / 2)) IY=$((y + h / 2))
note "icon at $IX,$IY"

note "a left click hides the program, another brings it back"
xdotool mousemove --sync "$IX" "$IY" click 1
wait_until 10 lacks_window "$TITLE" || fail "a left click did not hide the program"
sleep 0.8
xdotool mousemove --sync "$IX" "$IY" click 1
wait_until 10 has_window "$TITLE" || fail "a left click did not bring the program back"
echo PASS
