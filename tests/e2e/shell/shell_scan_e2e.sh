#!/usr/bin/env bash
# The real panel under Xvfb in a private lab network (its own network namespaces, 192.0.2.0/24)
# with one simulated multiviewer, switcher, matrix router and quad-view processor. Scan is
# clicked where an operator clicks it; the search must reach the four simulators and the device
# list must hold exactly the four devices. Screenshots and logs are kept as artefacts.
#   shell_scan_e2e.sh PANOPTIX DEVSIM ARTIFACT_DIR
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

panel=$1
devsim=$2
artifacts=$3
source "$(dirname "$0")/../panel_session.sh" shelle2e "$artifacts"

start_xvfb
start_lab --devsim "$devsim" --multiviewer 1 --switcher 1 --matrix 1 --quadview 1
start_panel "$panel"

# Scan, at the centre of the scan button.
xdotool mousemove 629 80 click 1
search_over() { grep -q 'search  over' "$panel_log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$panel_log")"
sleep 0.5
import -window root "$artifacts/after_scan.png"

# Every simulator saw the search from the panel and answered.
for name in MV1 SW1 MX1 QV1; do
  grep -q "192.0.2.1:7000 search request -> answered as $name" "$lab_logs/$name.log" ||
    fail "$name did not see the search: $(cat "$lab_logs/$name.log")"
done

# The panel took one device from each answer, and selected the first.
names=$(grep -c 'nameLength = 3' "$panel_log" || true)
((names == 4)) || fail "the panel took $names devices from the answers, not 4"
for type in a1 a5 81 60; do
  grep -q "recvBuf\[4\] = $type" "$panel_log" || fail "no answer of type $type"
done
grep -q '^ *m_device_index = 0 $' "$panel_log" || fail "the first device was not selected"

# The device list shows text (light blue on dark grey) in the combo box.
text_pixels=$(convert "$artifacts/after_scan.png" -crop 440x18+84+71 +repage -fuzz 25% \
  -fill white -opaque 'rgb(60,180,255)' -fill black +opaque white -format '%[fx:mean*w*h]' info:)
[[ ${text_pixels%.*} -ge 20 ]] || fail "no device text in the combo box ($text_pixels pixels)"

# Open the list and walk to its end: the last entry has index 3, so there are exactly four.
xdotool mousemove 300 80 click 1
sleep 0.7
import -window root "$artifacts/device_list.png"
xdotool key Down Down Down Down Down Return
last_selected() { grep -q '^ *m_device_index = 3 $' "$panel_log"; }
wait_for 10 last_selected || fail "the list does not end at its fourth entry: $(cat "$panel_log")"
grep -q '^ *m_device_index = 4 $' "$panel_log" && fail "the list has a fifth entry"
sleep 0.5
import -window root "$artifacts/last_device.png"

echo "PASS: the panel found MV1, SW1, MX1 and QV1; screenshots in $artifacts"
