# Shared steps of the end-to-end tests: a private X display with a window manager, a fresh working
# directory with a starter data.mdb, the real program, and bounded waits. Source it from a test.
set -euo pipefail

# A test that sets E2E_SESSION_BUS=1 runs again, from the start, on a session bus of its own.
if [ "${E2E_SESSION_BUS:-}" = 1 ]; then
  E2E_SESSION_BUS=started exec dbus-run-session -- bash "$0" "$@"
fi

: "${ORVANE_BIN:?ORVANE_BIN must name the orvane-reminder executable}"
: "${ORVANE_DB:?ORVANE_DB must name the orvane-db executable}"

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
E2E_ASSETS="$E2E_DIR/../../assets"
E2E_WORK="$(mktemp -d /tmp/orvane-e2e.XXXXXX)"
E2E_PIDS=()
export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export LC_ALL=C.UTF-8 LANG=C.UTF-8
# The sanitizer build reports leaks of system libraries at exit; the e2e tests judge behaviour only.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 0.2
  for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

# wait_until <seconds> <command...>: runs the command every 0.2 s until it succeeds or time runs out.
wait_until() {
  local limit=$1; shift
  local tries=$((limit * 5))
  while [ $tries -gt 0 ]; do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.2
    tries=$((tries - 1))
  done
  return 1
}

wm_ready() { xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW; }

# start_display [WxH] [nowm]: a private Xvfb display, with openbox unless "nowm", exported as DISPLAY.
start_display() {
  local size=${1:-1280x800}
  local fdfile="$E2E_WORK/display"
  # -noreset: a server that resets when its last client leaves refuses the next one for a moment.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_until 10 test -s "$fdfile" || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$fdfile")"
  [ "${2:-}" = nowm ] && return 0
  openbox >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_until 10 wm_ready || fail "openbox did not start"
}

# start_mutter: GNOME's compositor as a headless Wayland session on a virtual monitor of 1280 x 800, with
# PipeWire for its screenshots; its XWayland display exported as DISPLAY and XAUTHORITY. The test must run
# on a session bus of its own (E2E_SESSION_BUS=1 before lib.sh): mutter and the screenshots meet there.
start_mutter() {
  pipewire >"$E2E_WORK/pipewire.log" 2>&1 &
  E2E_PIDS+=($!)
  wireplumber >"$E2E_WORK/wireplumber.log" 2>&1 &
  E2E_PIDS+=($!)
  mutter --wayland --headless --virtual-monitor 1280x800 >"$E2E_WORK/mutter.log" 2>&1 &
  E2E_PIDS+=($!)
  wait_until 30 grep -q 'Using public X11 display' "$E2E_WORK/mutter.log" || fail "mutter started no XWayland"
  DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$E2E_WORK/mutter.log" | head -n1)
  XAUTHORITY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name '.mutter-Xwaylandauth*' | head -n1)
  export DISPLAY XAUTHORITY
  wait_until 30 xprop -root _NET_SUPPORTING_WM_CHECK || fail "mutter does not manage the XWayland display"
  E2E_SCREENSHOTS=mutter
}

# screenshot <file>: the screen as it is shown, without the pointer. Mutter's XWayland has no root window
# to read, so there it comes from mutter's screen cast.
screenshot() {
  if [ "${E2E_SCREENSHOTS:-}" = mutter ]; then
    /usr/bin/python3 "$E2E_DIR/mutter_screenshot.py" "$1"
  else
    import -window root "$1"
  fi
}

# remember_desktop: a screenshot of the desktop before the program shows, for screen_bare.
remember_desktop() { screenshot "$E2E_WORK/desktop.png"; }
# screen_shows <picture> <left> <top> <width> <height> <x> <y> [tolerance] [hands <cx> <cy> <r>]: that part
# of the picture is on screen at x, y (screencheck.py); with "hands", but for the circle where the clock's hands
# move over the dial (HANDS, or HANDS_2X in the picture drawn at twice the size).
HANDS="hands 165 143 101"
HANDS_2X="hands 330 286 202"
screen_shows() { screenshot "$E2E_WORK/shot.png" && python3 "$E2E_DIR/screencheck.py" shows "$E2E_WORK/shot.png" "$@"; }
# screen_bare <left> <top> <width> <height>: the screen shows the desktop there as remember_desktop saw it.
screen_bare() {
  screenshot "$E2E_WORK/shot.png" && python3 "$E2E_DIR/screencheck.py" bare "$E2E_WORK/shot.png" "$E2E_WORK/desktop.png" "$@"
}

# wait_screen <seconds> <failure> <check> [args...]: waits until a screen check passes; on time-out, fails
# with the check's last figures.
wait_screen() {
  local limit=$1 failure=$2
  shift 2
  wait_until "$limit" "$@" && return 0
  "$@" || true
  fail "$failure"
}

# start_sound: a private PulseAudio server with a silent sink, exported as PULSE_SERVER, so that the
# program's sound is really played and shows as a stream while it plays.
start_sound() {
  local dir="$E2E_WORK/pulse"
  mkdir -p "$dir"
  HOME="$dir" pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    --load="module-null-sink sink_name=e2e_null" >"$dir/log" 2>&1 &
  E2E_PIDS+=($!)
  export PULSE_SERVER="unix:$dir/native"
  wait_until 10 pactl info || fail "pulseaudio did not start"
}
sound_playing() { [ -n "$(pactl list short sink-inputs 2>/dev/null)" ]; }

# next_minute: sets due to the first second of the next minute ("YYYY-MM-DD HH:MM:00"), after waiting out a
# minute that is nearly over, so that the program sees a reminder stored now before it falls due.
next_minute() {
  while [ $((10#$(date +%S))) -gt 50 ]; do sleep 1; done
  due=$(date -d '+1 minute' '+%Y-%m-%d %H:%M:00')
}

# new_workdir: a fresh working directory holding a starter data.mdb, made current.
new_workdir() {
  mkdir -p "$E2E_WORK/wd"
  cd "$E2E_WORK/wd"
  "$ORVANE_DB" --file data.mdb init >/dev/null
}

# stage_program: copies the program, the files it loads from beside it and the program's shared interfaces
# library to a folder in $E2E_WORK that every user may read, for a test that runs it as another user: the
# build may lie in a folder closed to others. Prints the copy's path; run it with LD_LIBRARY_PATH set to its
# folder, as the copy looks for the library in the build.
stage_program() {
  local dir="$E2E_WORK/program"
  mkdir -p "$dir"
  find "$(dirname "$ORVANE_BIN")" -maxdepth 1 -type f -exec cp {} "$dir" \;
  cp "$(ldd "$ORVANE_BIN" | awk '/liborvane-interfaces/ { print $3 }')" "$dir"
  chmod -R a+rX "$dir"
  echo "$dir/$(basename "$ORVANE_BIN")"
}

# start_app: starts the program in the current directory; its pid is in APP_PID.
start_app() {
  "$ORVANE_BIN" >>"$E2E_WORK/app.log" 2>&1 &
  APP_PID=$!
  E2E_PIDS+=($APP_PID)
}

# start_atspi: the accessibility bus, and the program on it as a screen reader would meet it (atspi.py).
start_atspi() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
atspi() { /usr/bin/python3 "$E2E_DIR/atspi.py" "$@"; }
focused_is() { [ "$(atspi focus)" = "$1" ]; }
# tab_to <role|name>: Tab until that control has the focus; the date and time edits take a Tab per part.
tab_to() {
  local presses
  for presses in $(seq 12); do
    focused_is "$1" && return 0
    xdotool key Tab
    sleep 0.3
  done
  fail "Tab did not reach $1 (the focus is on $(atspi focus))"
}

# No match is an empty answer, not a failure: a window may go between two looks.
window_of() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true; }
has_window() { [ -n "$(window_of "$1")" ]; }
lacks_window() { [ -z "$(window_of "$1")" ]; }
# wait_window <title> [seconds]: the id of a window with that title once one is there.
wait_window() {
  local id="" tries=$((${2:-20} * 5))
  while [ -z "$id" ] && [ $tries -gt 0 ]; do
    id=$(window_of "$1")
    [ -n "$id" ] || sleep 0.2
    tries=$((tries - 1))
  done
  [ -n "$id" ] || fail "window '$1' did not appear"
  echo "$id"
}
# is_active <window id>: the window has the keyboard focus.
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# focus_report: which window the window manager calls active and which has the X input focus, and the titles
# of the visible windows; for a failure message about a key that did nothing.
focus_report() {
  echo "active $(xdotool getactivewindow 2>/dev/null), input focus $(xdotool getwindowfocus -f 2>/dev/null)," \
    "visible:$(for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do printf ' %s "%s"' "$w" "$(xdotool getwindowname "$w")"; done)"
}
count_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
screen_width() { xdotool getdisplaygeometry | cut -d' ' -f1; }

# window_geometry <id>: sets WX, WY, WW, WH.
window_geometry() {
  local shell
  shell=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) && [ -n "$shell" ] || fail "window '$1' is not there"
  eval "$shell"
  WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# window_still <id>: true when the window stands where it stood 0.3 s before, as after the alert's shake;
# sets WX, WY, WW, WH.
window_still() {
  window_geometry "$1"
  local x=$WX y=$WY
  sleep 0.3
  window_geometry "$1"
  [ "$WX" -eq "$x" ] && [ "$WY" -eq "$y" ]
}
