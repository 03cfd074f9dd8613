#!/usr/bin/env bash
# Runs a command on a virtual X display (1280x1024) with a real notification
# area (trayer) at its top right, as a desktop with a tray has it.
# Usage: with_tray_host.sh <command> [arguments...]
# Exit 77 (skipped) when Xvfb or trayer is missing; setup.sh installs both.
set -u
for tool in Xvfb trayer; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done

dir=$(mktemp -d) || exit 1
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
[ -s "$dir/display" ] || { cat "$dir/xvfb.log"; exit 1; }
export DISPLAY=:$(cat "$dir/display")

trayer --edge top --align right --widthtype pixel --width 96 --height 24 --SetDockType true \
  >"$dir/trayer.log" 2>&1 &
pids+=($!)

# Sanitizer builds: Qt's X11 platform brings the session bus library's
# buffer that lives until exit.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan_qt.supp"
QT_QPA_PLATFORM=xcb "$@"
