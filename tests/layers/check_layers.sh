#!/usr/bin/env bash
# Usage: check_layers.sh <cmake> <build folder> <data-only test program>...
# The right-way probe builds, the wrong-way probe fails for the missing
# window header alone, the control probes fail for the private control
# alone, and no data-only test program needs Qt Widgets or Gui.
set -u
cmake=$1 build=$2
shift 2
status=0
if ! out=$("$cmake" --build "$build" --target layer_probe_right_way 2>&1); then
  echo "the right-way probe does not build:"; echo "$out"; status=1
fi
if out=$("$cmake" --build "$build" --target layer_probe_wrong_way 2>&1); then
  echo "a data module could include a window's header"; status=1
elif ! grep -q "app/forms/main_window/frm_main.h: No such file" <<<"$out"; then
  echo "the wrong-way probe failed for another reason:"; echo "$out"; status=1
fi
if out=$("$cmake" --build "$build" --target layer_probe_control_past_owner 2>&1); then
  echo "a control of the main window can be reached past the window"; status=1
elif ! grep -q "txtAcntName.*inaccessible" <<<"$out"; then
  echo "the control probe failed for another reason:"; echo "$out"; status=1
fi
if out=$("$cmake" --build "$build" --target layer_probe_control_past_page 2>&1); then
  echo "a page can reach a control the description does not give it"; status=1
elif ! grep -q "EmailPageControls.*has no member named.*txtAcntName" <<<"$out"; then
  echo "the page probe failed for another reason:"; echo "$out"; status=1
fi
# The designed controls' accessor is for tests and benchmarks only.
src=$(dirname "$0")/../..
if grep -rn --include='*.cpp' --include='*.h' -E '\bcontrols\(\)' "$src/app" | grep -v 'app/forms/main_window/frm_main.h:'; then
  echo "the program's own code reaches the main window's controls through its accessor"; status=1
fi
for program in "$@"; do
  if readelf -d "$program" | grep -E "NEEDED.*libQt6(Widgets|Gui)"; then
    echo "$(basename "$program") links a widget library"; status=1
  fi
done
exit $status
