#!/usr/bin/env bash
# check_demo.sh SOURCE: runs scripts/demo.sh in its three program-less ways and
# checks that each leaves nothing running and no temporary folder behind.
set -u
src=$1
demo=$src/scripts/demo.sh
scratch=$(mktemp -d "${TMPDIR:-/tmp}/demo-check.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The demo's temporary folder, named in its output, must be gone, and no
# process may still mention it.
left_behind() {
  local work
  work=$(grep -o '/tmp/veltrane-demo\.[A-Za-z0-9]*' "$1" | head -1)
  [ -n "$work" ] || { fail "$2: the output names no demo folder"; return; }
  [ ! -e "$work" ] || fail "$2: $work is left behind"
  for d in /proc/[0-9]*; do
    if tr '\0' ' ' <"$d/cmdline" 2>/dev/null | grep -qF "$work"; then fail "$2: process ${d#/proc/} still runs"; fi
  done
}

# 1. Server and profile: the sample mail is served, the accounts are written.
bash "$demo" --no-build --server-check >"$scratch/check.log" 2>&1 || fail "--server-check: status $?"
grep -q 'box1 (password pw-box1): +OK 12 ' "$scratch/check.log" || fail "box1 is not served with 12 messages"
grep -q 'box2 (password pw-box2): +OK 3 ' "$scratch/check.log" || fail "box2 is not served with 3 messages"
left_behind "$scratch/check.log" "--server-check"

# 2. A missing program is named, before any server starts.
VELTRANE=/nonexistent/veltrane bash "$demo" --no-build >"$scratch/missing.log" 2>&1
status=$?
[ $status != 0 ] || fail "a missing program must fail the demo"
grep -q '/nonexistent/veltrane is not built' "$scratch/missing.log" || fail "the missing program is not named"
! grep -q 'starting Dovecot' "$scratch/missing.log" || fail "the server started without a program"

# 3. No display: a stand-in program that shows the profile it was given, on
# the demo's virtual display; screenshots are saved and everything stops.
cat >"$scratch/stand-in" <<'STANDIN'
#!/bin/sh
cp "$XDG_CONFIG_HOME/ZKT/Veltrane/settings.ini" "$STANDIN_COPY"
exec xmessage -title Veltrane -geometry 400x200+50+50 "stand-in"
STANDIN
chmod +x "$scratch/stand-in"
(unset DISPLAY WAYLAND_DISPLAY
 STANDIN_COPY=$scratch/settings.ini VELTRANE=$scratch/stand-in DEMO_WAIT=2 DEMO_OUT=$scratch/out \
   bash "$demo" --no-build) >"$scratch/xvfb.log" 2>&1 || fail "no-display run: status $?"
for f in screen.png window.png tray.png tray-count.png; do [ -s "$scratch/out/$f" ] || fail "no $f saved"; done
grep -qx 'AcntServer1=127.0.0.1' "$scratch/settings.ini" || fail "the program did not get the demo profile"
grep -qx "AcntPort1=$DEMO_PORT" "$scratch/settings.ini" || fail "the profile names another port"
grep -qx 'AcntNum=2' "$scratch/settings.ini" || fail "the profile holds no two accounts"
left_behind "$scratch/xvfb.log" "no-display run"

[ $failures = 0 ] || { cat "$scratch"/*.log; exit 1; }
echo "demo script: server, profile, missing program and virtual display all checked"
