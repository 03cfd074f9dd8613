#!/usr/bin/env bash
# Runs a command on a virtual X display (1280x1024) with a real notification
# area (trayer) at its top right, as a desktop with a tray has it; with
# --window-manager, a window manager (openbox) places, decorates, minimises
# and closes the windows as on a desktop; when it does not come up the
# command does not run and the case fails with the reason.
# Usage: with_tray_host.sh [--window-manager] <command> [arguments...]
# Exit 77 (skipped) when a program it needs is missing; setup.sh installs
# them all, so under CI (CI set) a missing one fails instead.
set -u
tools=(Xvfb xdpyinfo trayer)
wm=no
if [ "${1:-}" = --window-manager ]; then
  wm=yes
  tools+=(openbox xdotool xwininfo xprop)
  shift
fi
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null && continue
  echo "$tool is not installed"
  [ -n "${CI:-}" ] && exit 1
  exit 77
done

dir=$(mktemp -d) || exit 1
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

. "$(dirname "$0")/virtual_desktop.sh"
start_virtual_display "$dir" 1280x1024 || exit 1

if [ $wm = yes ]; then
  # A case asked for a window manager: it never runs without one.
  start_window_manager "$dir" || { echo "no window manager: the case cannot run"; exit 1; }
fi
trayer --edge top --align right --widthtype pixel --width 96 --height 24 --SetDockType true \
  >"$dir/trayer.log" 2>&1 &
pids+=($!)

# Sanitizer builds: Qt's X11 platform brings the session bus library's
# buffer that lives until exit.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan_qt.supp"
QT_QPA_PLATFORM=xcb "$@"
