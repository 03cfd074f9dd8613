#!/usr/bin/env bash
# run_check_bench.sh LAUNCHER BENCH [shape ...]: starts the test server when it
# is not running, then runs the check benchmark on a virtual X display with a
# window manager (so a minimised window is really unmapped), through the test
# launcher that gives it a fresh home and the server's address, one process
# per mailbox shape. With no shape, all.
set -eu
launcher=$1 bench=$2
shift 2
# The server's daemons must not hold this script's output open.
"$launcher" bash -c '"$VELTRANE_SOURCE_DIR/tests/fixtures/pop3d/pop3d.sh" start "$POP3D_BASE"' \
  >/dev/null 2>&1 </dev/null
shapes=("$@")
[ ${#shapes[@]} -gt 0 ] || shapes=(100x10KB 1000x10KB 10000x10KB 1x20MB)
for shape in "${shapes[@]}"; do
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    openbox >/dev/null 2>&1 & wm=$!
    sleep 1
    "$@"; rc=$?
    kill $wm 2>/dev/null; wait $wm 2>/dev/null
    exit $rc' run "$launcher" "$bench" "--benchmark_filter=/$shape/"
done
