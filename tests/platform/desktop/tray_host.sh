#!/usr/bin/env bash
# Runs the TrayHost cases of the test program where a real notification area
# exists and the tray icon must appear.
# Usage: tray_host.sh <test program>
exec "$(dirname "$0")/../../support/with_tray_host.sh" env VELTRANE_TRAY_HOST=1 "$1" --gtest_filter='TrayHost.*'
