#!/usr/bin/env bash
# Runs the TrayHost cases of the test program on a virtual X display with a
# real notification area (trayer), where the tray icon must appear.
# Usage: tray_host.sh <test program>
set -u
program=$1
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

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
[ -s "$dir/display" ] || { cat "$dir/xvfb.log"; exit 1; }
export DISPLAY=:$(cat "$dir/display")

trayer --edge top --align right --widthtype pixel --width 96 --height 24 --SetDockType true \
  >"$dir/trayer.log" 2>&1 &
pids+=($!)

# Sanitizer builds: the X11 platform plugin brings the bus library's leak.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan_x11.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
QT_QPA_PLATFORM=xcb VELTRANE_TRAY_HOST=1 "$program" --gtest_filter='TrayHost.*'
