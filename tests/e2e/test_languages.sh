#!/usr/bin/env bash
# The program in the desktop's language: under LANG=en_US.UTF-8 the windows, their controls as a screen reader
# meets them and the alert read English, and the main window keeps its shape; under zh_CN.UTF-8 they read
# Chinese as they always did. The main window shows the picture drawn in its language, of the same size.
: "${E2E_SESSION_BUS:=1}"
source "$E2E_LIB"
# expect_controls <role|name>...: each is showing on the AT-SPI bus.
expect_controls() {
  local control
  for control in "$@"; do
    wait_until 20 atspi shows "${control#*|}" "${control%%|*}" || fail "no ${control%%|*} named ${control#*|}"
  done
}

start_atspi
unset LC_ALL LANGUAGE
# The two locales, made for the test: without them the C library falls back to ASCII, and the windows' titles
# reach the X server mangled.
export LOCPATH="$E2E_WORK/locale"
mkdir -p "$LOCPATH"
for locale in en_US zh_CN; do localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>/dev/null || true; done
start_display 1280x800
xsetroot -solid '#336699'
new_workdir

# run_in <LANG> <main title> <manager title> <alert title> <settings> <quit> <add tab> <back> <later>: starts the
# program in that locale, checks its windows and controls, saves the main window as main-<LANG>.png and quits.
run_in() {
  local main alert
  note "$1: the main window"
  LANG=$1 start_app
  main=$(wait_window "$2")
  expect_controls "push button|$5" "push button|$6"
  window_geometry "$main"
  echo "${WW}x${WH}" >"$E2E_WORK/size-$1"
  sleep 1 # the agenda's first paint
  import -window "$main" "$E2E_WORK/main-$1.png"

  note "$1: the manager"
  atspi press "$5" 'push button'
  wait_window "$3" >/dev/null
  expect_controls "page tab|$7" "push button|$8"
  xdotool key Escape
  wait_until 10 lacks_window "$3" || fail "the manager stayed open"

  note "$1: the alert"
  next_minute
  sqlite3 data.mdb "insert into 日程提醒(主题,内容,时间,日期) values('meeting','notes','$due','${due:0:10}')"
  alert=$(wait_window "$4" 100)
  expect_controls "push button|$8" "push button|$9"
  sleep 3 # the shake
  # A loaded machine gives the focus late: Escape before it would go to another window.
  wait_until 10 is_active "$alert" || fail "the alert did not take the keyboard focus"
  xdotool key Escape
  wait_until 10 lacks_window "$4" || fail "the alert stayed open ($(focus_report), the alert $alert)"

  atspi press "$6" 'push button'
  wait_until 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "$6 did not end the program"
}

run_in en_US.UTF-8 'Orvane Reminder v1.0' 'Reminder settings' 'Reminder' Setup Quit 'Add reminder' Back \
  'Remind me later'
run_in zh_CN.UTF-8 'Orvane日程提醒v1.0' '日程设置' '日程提醒' 设置 退出 添加提醒 返回 稍后提醒

note "the same shape in both languages, and different captions"
[ "$(cat "$E2E_WORK/size-en_US.UTF-8")" = "$(cat "$E2E_WORK/size-zh_CN.UTF-8")" ] \
  || fail "the main window is $(cat "$E2E_WORK/size-en_US.UTF-8") in English, $(cat "$E2E_WORK/size-zh_CN.UTF-8") in Chinese"
# The heading over the agenda (328, 64; 201 x 21), away from the clock's moving hands.
heading() { convert "$E2E_WORK/main-$1.png" -crop 201x21+328+64 +repage "$E2E_WORK/heading-$1.png"; }
heading en_US.UTF-8
heading zh_CN.UTF-8
differing=$(compare -metric AE "$E2E_WORK/heading-en_US.UTF-8.png" "$E2E_WORK/heading-zh_CN.UTF-8.png" null: 2>&1 || true)
[ "${differing%% *}" -gt 20 ] 2>/dev/null || fail "the English heading looks like the Chinese one ($differing pixels differ)"

note "each language's own picture under the painted captions"
# shows_captions <LANG> <picture>: the name plate and the three painted buttons of the main window's screenshot
# are those of the picture (the hands, which move over the dial, left out).
shows_captions() {
  python3 "$E2E_DIR/screencheck.py" shows "$E2E_WORK/main-$1.png" "$2" 100 24 130 22 100 24 \
    && python3 "$E2E_DIR/screencheck.py" shows "$E2E_WORK/main-$1.png" "$2" 111 230 111 33 111 230 3 $HANDS
}
shows_captions en_US.UTF-8 "$E2E_ASSETS/en/main.png" || fail "the English main window does not show the English picture"
shows_captions zh_CN.UTF-8 "$E2E_ASSETS/main.png" || fail "the Chinese main window does not show the Chinese picture"
! shows_captions en_US.UTF-8 "$E2E_ASSETS/main.png" >/dev/null || fail "the English main window shows Chinese captions"
echo PASS
