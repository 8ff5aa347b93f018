#!/usr/bin/env bash
# The Debian package on this machine: apt installs it with its desktop files; the menu entry's command,
# run for a user with a fresh home, makes a starter data.mdb in the user's data folder and shows the main
# window there; running it again brings the running program back; a reminder that falls due raises the
# alert and a desktop notification. apt purges the package again and leaves the machine as it was.
set -euo pipefail
: "${ORVANE_TOP:?ORVANE_TOP must name the source tree}"
: "${NOTIFICATION_RECORDER:?NOTIFICATION_RECORDER must name the notification-recorder executable}"

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing a package needs root"
  exit 77
fi
if dpkg-query -W -f='${Status}' orvane-reminder 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIP: orvane-reminder is installed on this machine already; the test leaves it alone"
  exit 77
fi

package=$("$ORVANE_TOP/scripts/package" | tail -n1)

export ORVANE_BIN=/usr/lib/orvane-reminder/orvane-reminder ORVANE_DB=/usr/bin/orvane-db
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
ALERT='日程提醒'
ENTRY=/usr/share/applications/orvane-reminder.desktop
apt_quiet() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@" >"$E2E_WORK/apt.log" 2>&1; }
installed_packages() { dpkg-query -W -f='${Package} ${Version} ${Status}\n' | sort; }

installed_packages >"$E2E_WORK/packages.before"
trap 'apt_quiet purge orvane-reminder || true; e2e_cleanup' EXIT

note "apt installs $(basename "$package")"
# Without its recommendations: they would bring packages that purging the program leaves behind.
apt_quiet install --no-install-recommends "$package" || { cat "$E2E_WORK/apt.log" >&2; fail "apt-get install failed"; }
for file in /usr/bin/orvane-reminder /usr/bin/orvane-db "$ORVANE_BIN" /usr/lib/orvane-reminder/orvane-sound.so \
  /usr/lib/orvane-reminder/orvane-notice.so /usr/lib/orvane-reminder/orvane-notify.so /usr/lib/orvane-reminder/orvane-sync.so \
  /usr/lib/orvane-reminder/liborvane-interfaces.so \
  /usr/lib/orvane-reminder/1.mp3 /usr/share/icons/hicolor/scalable/apps/orvane-reminder.svg; do
  [ -f "$file" ] || fail "the package did not install $file"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/orvane-reminder.png" ] || fail "no ${size}px icon"
done
desktop-file-validate "$ENTRY" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$(dpkg -L orvane-reminder | grep '^/usr/share/metainfo/.*\.metainfo\.xml$')" \
  || fail "the AppStream metadata is not valid"
exec_line=$(sed -n 's/^Exec=//p' "$ENTRY")
case "$exec_line" in *%*) fail "the menu entry's command has a field code: $exec_line" ;; esac

# A user of a fresh home, with a session bus of the test's own on which a notification service records.
export HOME="$E2E_WORK/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME XDG_CONFIG_HOME
cat >"$E2E_WORK/bus.conf" <<CONF
<busconfig><type>session</type><listen>unix:dir=$E2E_WORK</listen>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
CONF
dbus-daemon --config-file="$E2E_WORK/bus.conf" --nofork --print-address=3 3>"$E2E_WORK/bus" >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_until 10 test -s "$E2E_WORK/bus" || fail "dbus-daemon did not start"
DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$E2E_WORK/bus")"
export DBUS_SESSION_BUS_ADDRESS
"$NOTIFICATION_RECORDER" "$E2E_WORK/notifications" >>"$E2E_WORK/recorder.log" 2>&1 &
E2E_PIDS+=($!)
service_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q 'boolean true'
}
wait_until 10 service_up || fail "the notification service did not start"

start_display
data="$HOME/.local/share/orvane-reminder"

note "the menu entry's command ($exec_line), three times at once, starts one program in $data"
cd "$E2E_WORK"
starts=()
for _ in 1 2 3; do
  $exec_line >>"$E2E_WORK/app.log" 2>&1 &
  starts+=($!)
  E2E_PIDS+=($!)
done
main=$(wait_window "$TITLE")
later_starts_ended() {
  local pid ended=0
  for pid in "${starts[@]}"; do kill -0 "$pid" 2>/dev/null || ended=$((ended + 1)); done
  [ "$ended" -eq 2 ]
}
wait_until 30 later_starts_ended || fail "the later starts did not end"
for pid in "${starts[@]}"; do
  if kill -0 "$pid" 2>/dev/null; then
    APP_PID=$pid
  else
    wait "$pid" || fail "a later start exited with $?"
  fi
done
[ "$(readlink "/proc/$APP_PID/cwd")" = "$data" ] || fail "the program runs in $(readlink "/proc/$APP_PID/cwd")"
[ -f "$data/data.mdb" ] || fail "no data.mdb in $data"
if compgen -G "$data/.data.mdb.*" >/dev/null; then fail "a starter file was left beside data.mdb"; fi
[ "$(orvane-db --file "$data/data.mdb" list --all)" = "no reminders" ] || fail "the starter data.mdb is not empty"
sleep 2
window_geometry "$main"
[ "$WW" -eq 600 ] && [ "$WH" -eq 300 ] || fail "the first window is ${WW}x${WH}, not the main window"
[ "$(count_windows "$TITLE")" -eq 1 ] || fail "an error box came with the main window"

note "the command again brings the running program back and ends, and leaves data.mdb as it was"
orvane-db --file "$data/data.mdb" add 旧提醒 --at "2030-01-01 08:00" >/dev/null
xdotool windowminimize "$main"
wait_until 10 lacks_window "$TITLE" || fail "the main window did not minimise"
timeout 30 $exec_line >>"$E2E_WORK/app.log" 2>&1 || fail "the second start exited with $?"
wait_until 10 has_window "$TITLE" || fail "the running program was not brought back"
kill -0 "$APP_PID" || fail "the first program ended"
[ "$(count_windows "$TITLE")" -eq 1 ] || fail "a second main window"
orvane-db --file "$data/data.mdb" list --all | grep -q 旧提醒 || fail "the second start replaced data.mdb"

note "a reminder due in the next minute raises the alert and a desktop notification"
next_minute
orvane-db --file "$data/data.mdb" add 会议 --at "$due" --content 带上笔记本 >/dev/null
wait_until 100 has_window "$ALERT" || fail "no alert for the reminder due at $due"
wait_until 10 grep -q '"summary":"会议"' "$E2E_WORK/notifications" || fail "no notification of the reminder"
notification=$(head -n1 "$E2E_WORK/notifications")
for part in '"icon":"orvane-reminder"' '"urgency":2' '带上笔记本' '"actions":\["default"'; do
  grep -q "$part" <<<"$notification" || fail "the notification lacks $part: $notification"
done

kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true

note "apt purges the package and leaves the machine as it was"
apt_quiet purge orvane-reminder || { cat "$E2E_WORK/apt.log" >&2; fail "apt-get purge failed"; }
[ ! -e /usr/lib/orvane-reminder ] && [ ! -e /usr/bin/orvane-reminder ] || fail "files of the package stayed"
installed_packages >"$E2E_WORK/packages.after"
diff "$E2E_WORK/packages.before" "$E2E_WORK/packages.after" || fail "the installed packages changed"
echo PASS
