#!/usr/bin/env bash
# Docking under openbox, which keeps windows partly on screen: the same steps as without a window manager.
E2E_WM=openbox exec bash "$(dirname "$0")/test_dock.sh"
