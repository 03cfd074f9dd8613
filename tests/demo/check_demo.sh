#!/usr/bin/env bash
# check_demo.sh SOURCE: runs scripts/demo.sh in its three program-less ways and
# with a stand-in build, and checks what it tells and that it leaves nothing
# running and no temporary folder behind.
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
# It ends saying where the pictures are and how to start the program for real.
closing=$(sed -n '/^The screenshots are in /,$p' "$scratch/xvfb.log")
[[ $closing == "The screenshots are in $scratch/out:"* ]] || fail "the end does not name the screenshot folder"
grep -q '^  window.png ' <<<"$closing" || fail "the end does not name the window's picture"
grep -q 'Nothing of the demo is left running' <<<"$closing" || fail "the end does not say everything stopped"
grep -qF "  $scratch/stand-in" <<<"$closing" || fail "the end does not say how to start the program"

# 4. The build is told a line at a time, its own output kept in a log; a
# failed build shows its end and names the log. (A stand-in cmake, and
# every package present.)
mkdir -p "$scratch/bin"
cat >"$scratch/bin/cmake" <<'CMAKE'
#!/bin/sh
case $1 in
  -S) mkdir -p "$4" && : >"$4/CMakeCache.txt" && echo "-- Configuring done" ;;
  --build)
    echo "[0/2] Re-checking globbed directories..."
    i=1
    while [ $i -le 20 ]; do echo "[$i/20] Building CXX object step$i.o"; i=$((i + 1)); done
    [ -z "${FAIL_BUILD:-}" ] || { echo "step20.cpp:1:1: error: expected unqualified-id"; exit 1; } ;;
esac
CMAKE
printf '#!/bin/sh\nprintf "install ok installed"\n' >"$scratch/bin/dpkg-query"
chmod +x "$scratch/bin/cmake" "$scratch/bin/dpkg-query"
PATH=$scratch/bin:$PATH BUILD=$scratch/build bash "$demo" --server-check >"$scratch/build.log" 2>&1 ||
  fail "the run with a build: status $?"
[ "$(grep -c '^.*demo:.* building: [0-9]* of 20 steps done$' "$scratch/build.log")" = 11 ] ||
  fail "not a line at every tenth of the build"
grep -q 'building: 20 of 20 steps done' "$scratch/build.log" || fail "the build's end is not told"
! grep -q 'building: 0 of' "$scratch/build.log" || fail "the build's check of its globs is told as a step"
! grep -q 'Building CXX' "$scratch/build.log" || fail "the build's own output is on the screen"
grep -q 'Building CXX object step7.o' "$scratch/build/demo-build.log" || fail "the build's output is not in its log"
rm -rf "$scratch/build"
PATH=$scratch/bin:$PATH BUILD=$scratch/build FAIL_BUILD=1 bash "$demo" --server-check >"$scratch/failed.log" 2>&1
[ $? != 0 ] || fail "a failed build must fail the demo"
grep -q 'error: expected unqualified-id' "$scratch/failed.log" || fail "a failed build does not show its end"
grep -qF "the build failed; its whole output is in $scratch/build/demo-build.log" "$scratch/failed.log" ||
  fail "a failed build does not name its log"
! grep -q 'starting Dovecot' "$scratch/failed.log" || fail "the server started after a failed build"

[ $failures = 0 ] || { cat "$scratch"/*.log; exit 1; }
echo "demo script: server, profile, missing program, virtual display and build reports all checked"
