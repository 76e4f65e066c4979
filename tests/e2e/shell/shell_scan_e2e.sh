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
root=$(cd "$(dirname "$0")/../../.." && pwd)

skip() {
  echo "SKIP: $*"
  exit 77
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[[ $(id -u) -eq 0 ]] || skip "needs root to create network namespaces"
for tool in ip Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || skip "$tool is missing (scripts/deps installs it)"
done

# Names of this run only, so that parallel runs do not meet.
export PANOPTIX_LAB=shelle2e$$
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png "$artifacts"/*.log
work=$(mktemp -d)
xvfb_pid=
panel_pid=
lab_up=0

# Sleeps until the PID has ended, at most $2 tenths of a second.
wait_gone() {
  local pid=$1 tenths=$2
  for ((i = 0; i < tenths; i++)); do
    [[ -e /proc/$pid ]] || return 0
    sleep 0.1
  done
  return 1
}

stop_pid() {
  local pid=$1
  [[ -n $pid && -e /proc/$pid ]] || return 0
  kill -TERM "$pid" 2>/dev/null || true
  wait_gone "$pid" 50 || kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

cleanup() {
  stop_pid "$panel_pid"
  if ((lab_up)); then
    [[ -d ${lab_logs:-} ]] && cp "$lab_logs"/*.log "$artifacts"/ 2>/dev/null
    "$root/scripts/lab" down >/dev/null || true
  fi
  stop_pid "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

# Polls a condition every tenth of a second for at most $1 seconds.
wait_for() {
  local seconds=$1
  shift
  for ((i = 0; i < seconds * 10; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# A display of our own: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 20 grep -q '[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(tr -dc '0-9' <"$work/display")

lab_up=1
"$root/scripts/lab" up --devsim "$devsim" --multiviewer 1 --switcher 1 --matrix 1 --quadview 1 \
  >"$work/lab.log" || fail "the lab did not come up: $(cat "$work/lab.log")"
lab_logs=$(sed -n 's/^logs: //p' "$work/lab.log")

# The panel in the panel's namespace, on our display.
QT_QPA_PLATFORM=xcb "$root/scripts/lab" exec panel "$panel" >"$artifacts/panel.log" 2>&1 &
panel_pid=$!
panel_window() { xdotool search --name '^kora_multiview$' >/dev/null 2>&1; }
wait_for 20 panel_window || fail "the panel window did not appear: $(cat "$artifacts/panel.log")"
sleep 0.5

# Scan, at the centre of the scan button.
xdotool mousemove 629 80 click 1
search_over() { grep -q 'search  over' "$artifacts/panel.log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$artifacts/panel.log")"
sleep 0.5
import -window root "$artifacts/after_scan.png"

# Every simulator saw the search from the panel and answered.
for name in MV1 SW1 MX1 QV1; do
  grep -q "192.0.2.1:7000 search request -> answered as $name" "$lab_logs/$name.log" ||
    fail "$name did not see the search: $(cat "$lab_logs/$name.log")"
done

# The panel took one device from each answer, and selected the first.
names=$(grep -c 'nameLength = 3' "$artifacts/panel.log" || true)
((names == 4)) || fail "the panel took $names devices from the answers, not 4"
for type in a1 a5 81 60; do
  grep -q "recvBuf\[4\] = $type" "$artifacts/panel.log" || fail "no answer of type $type"
done
grep -q '^ *m_device_index = 0 $' "$artifacts/panel.log" || fail "the first device was not selected"

# The device list shows text (light blue on dark grey) in the combo box.
text_pixels=$(convert "$artifacts/after_scan.png" -crop 440x18+84+71 +repage -fuzz 25% \
  -fill white -opaque 'rgb(60,180,255)' -fill black +opaque white -format '%[fx:mean*w*h]' info:)
[[ ${text_pixels%.*} -ge 20 ]] || fail "no device text in the combo box ($text_pixels pixels)"

# Open the list and walk to its end: the last entry has index 3, so there are exactly four.
xdotool mousemove 300 80 click 1
sleep 0.7
import -window root "$artifacts/device_list.png"
xdotool key Down Down Down Down Down Return
last_selected() { grep -q '^ *m_device_index = 3 $' "$artifacts/panel.log"; }
wait_for 10 last_selected || fail "the list does not end at its fourth entry: $(cat "$artifacts/panel.log")"
grep -q '^ *m_device_index = 4 $' "$artifacts/panel.log" && fail "the list has a fifth entry"
sleep 0.5
import -window root "$artifacts/last_device.png"

echo "PASS: the panel found MV1, SW1, MX1 and QV1; screenshots in $artifacts"
