#!/usr/bin/env bash
# run_check_bench.sh LAUNCHER BENCH [shape ...]: starts the test server when it
# is not running, then runs the check benchmark on a virtual X display with a
# window manager (so a minimised window is really unmapped), through the test
# launcher that gives it a fresh home and the server's address. One process
# per mailbox shape and way (plain or TLS, shown or minimised), so that one
# mailbox's memory does not weigh on the next and each run's first round is
# the account's first check; each with a display and a window manager of its
# own, waited for until they answer. With no shape, all.
set -eu
launcher=$1 bench=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
# The server's daemons must not hold this script's output open.
"$launcher" bash -c '"$VELTRANE_SOURCE_DIR/tests/fixtures/pop3d/pop3d.sh" start "$POP3D_BASE"' \
  >/dev/null 2>&1 </dev/null
shapes=("$@")
[ ${#shapes[@]} -gt 0 ] || shapes=(100x10KB 1000x10KB 10000x10KB 1x20MB)

dir=$(mktemp -d)
pids=()
stop_desktop() {
  # A server may have ended with the display already.
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait "${pids[@]}" 2>/dev/null || true
  pids=()
}
trap 'stop_desktop; rm -rf "$dir"' EXIT
. "$here/../../tests/support/virtual_desktop.sh"

for shape in "${shapes[@]}"; do
  for way in plain/shown plain/minimised tls/shown tls/minimised; do
    start_virtual_display "$dir" 1280x1024
    start_window_manager "$dir"
    QT_QPA_PLATFORM=xcb "$launcher" "$bench" "--benchmark_filter=/$shape/$way"
    stop_desktop
  done
done
