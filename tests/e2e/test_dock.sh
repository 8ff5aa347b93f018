#!/usr/bin/env bash
# Docking without a window manager (or under the one named by E2E_WM): the main window dragged by its
# picture snaps to the left, top and right edges, shows only the strip at the edge once the pointer
# leaves it, and comes back whole when the pointer touches that strip.
source "$E2E_LIB"
source "$E2E_DIR/docking.sh"
TITLE='Orvane日程提醒v1.0'

if [ "${E2E_WM:-}" = openbox ]; then start_display 1280x800; else start_display 1280x800 nowm; fi
xsetroot -solid '#336699'
remember_desktop
new_workdir
start_app
main=$(wait_window "$TITLE")

check_edge left
check_edge top
check_edge right
echo PASS
