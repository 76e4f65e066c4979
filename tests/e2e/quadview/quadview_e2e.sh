#!/usr/bin/env bash
# The real panel under Xvfb in a private lab network (its own network namespaces, 192.0.2.0/24)
# with one simulated quad-view processor whose channel 2 has no signal. Scan opens the
# quad-view page: its lamps read green, red, green, green on screen. Show mode 8 and the loop
# button are clicked where an operator clicks; the simulator's next status reply, asked for from
# the panel's namespace, must hold both. Screenshots and logs are kept as artefacts.
#   quadview_e2e.sh PANOPTIX DEVSIM PROBE ARTIFACT_DIR
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

panel=$1
devsim=$2
probe=$3
artifacts=$4
source "$(dirname "$0")/../panel_session.sh" qve2e "$artifacts"

# The colour of one screen pixel in a screenshot, as "R,G,B".
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
# "green" or "red" for a lamp's colour, "other" otherwise.
lamp_colour() {
  local r g b
  IFS=, read -r r g b <<<"$(pixel "$1" "$2" "$3")"
  if ((g > r + 60)); then echo green; elif ((r > g + 60)); then echo red; else echo other; fi
}

shot() {
  sleep 0.4
  import -window root "$artifacts/$1.png"
}

# The page rectangle starts at (20, 110); the preview at (5, 40) inside it.
page_x=20
page_y=110
preview_x=$((page_x + 5))
preview_y=$((page_y + 40))
click() {
  xdotool mousemove "$1" "$2" click 1
}
# Centre of a control given by its rectangle inside the page.
click_in_page() {
  click $((page_x + $1 + $3 / 2)) $((page_y + $2 + $4 / 2))
}

cat >"$work/quad.state" <<'STATE'
show_mode=3
signal=1
signal.2=0
STATE

start_xvfb
start_lab --devsim "$devsim" --quadview 1 --state-file "quadview=$work/quad.state"
device=$(awk -F '\t' '$1 == "QV1" {print $4}' "$(dirname "$lab_logs")/devices.tsv")
[[ -n $device ]] || fail "no QV1 in the lab"
device_log=$lab_logs/QV1.log
start_panel "$panel"

# Scan: the quad-view answers, its page opens, queries its status and its signals.
click 629 80
search_over() { grep -q 'search  over' "$panel_log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$panel_log")"
signals_read() { grep -q 'signal query -> sent 29 bytes' "$device_log"; }
wait_for 10 signals_read || fail "the page did not ask for the signals: $(cat "$device_log")"
grep -q 'status query -> sent 261 bytes' "$device_log" ||
  fail "the page did not query the status: $(cat "$device_log")"
grep -q 'show mode' "$device_log" && fail "the opening sent a show mode: $(cat "$device_log")"
shot quad_page_opened

# The lamps: 32 x 32 at (910 + 40 i, 63) in the page; their centres on screen.
lamps=""
for i in 0 1 2 3; do
  lamps+="$(lamp_colour "$artifacts/quad_page_opened.png" $((page_x + 910 + 40 * i + 16)) $((page_y + 63 + 16))) "
done
[[ $lamps == "green red green green " ]] || fail "the lamps read $lamps"
# Show mode 3: windows 1 and 2 side by side at full height.
[[ $(pixel "$artifacts/quad_page_opened.png" $((preview_x + 360)) $((preview_y + 400))) == 89,187,255 ]] ||
  fail "the preview does not show mode 3"

# Show mode 8 at (830, 280), 68 x 48; the loop button at (830, 460), 70 x 45.
click_in_page 830 280 68 48
mode_sent() { grep -q 'show mode 8 ' "$device_log"; }
wait_for 10 mode_sent || fail "the device did not get show mode 8: $(cat "$device_log")"
click_in_page 830 460 70 45
loop_sent() { grep -q 'channel loop running' "$device_log"; }
wait_for 10 loop_sent || fail "the device did not get the loop: $(cat "$device_log")"
shot quad_page_mode8_loop
# Window 1 alone over the whole canvas: no border down the middle any more.
[[ $(pixel "$artifacts/quad_page_mode8_loop.png" $((preview_x + 360)) $((preview_y + 400))) == 55,55,55 ]] ||
  fail "the preview did not redraw for mode 8"

# The device's next status reply, asked for from the panel's namespace, holds both.
"$root/scripts/lab" exec panel "$probe" "$device" 7001 >"$artifacts/status_after.txt" ||
  fail "no status reply from the device"
grep -qx 'show_mode=8' "$artifacts/status_after.txt" ||
  fail "the device does not report show mode 8: $(cat "$artifacts/status_after.txt")"
grep -qx 'loop_state=1' "$artifacts/status_after.txt" ||
  fail "the device does not report the loop running: $(cat "$artifacts/status_after.txt")"

echo "PASS: lamps, show mode and loop agree with the simulated quad-view; screenshots in $artifacts"
