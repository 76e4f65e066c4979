#!/usr/bin/env bash
# The real panel under Xvfb in a private lab network (its own network namespaces, 192.0.2.0/24)
# with one simulated switcher. Scan opens the switcher panel; program and preview sources, Cut,
# Auto at rate r3 and a slow drag of the lever are used where an operator clicks. The simulator
# must have logged every frame, and its state (asked for with SIGUSR1) must hold the buses the
# panel's lit buttons show. Last, the Space key cuts (the lever's click left the focus on FTB,
# which Space must not press). Screenshots and logs are kept as artefacts.
#   switcher_e2e.sh PANOPTIX DEVSIM ARTIFACT_DIR
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

panel=$1
devsim=$2
artifacts=$3
source "$(dirname "$0")/../panel_session.sh" swe2e "$artifacts"

shot() {
  sleep 0.3
  import -window root "$artifacts/$1.png"
}

# The colour of one screen pixel in a screenshot, as "R,G,B".
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# Screen positions: the page rectangle starts at (20, 110); controls are given by their
# rectangle inside the panel.
page_x=20
page_y=110
click() {
  xdotool mousemove "$1" "$2" click 1
}
click_control() {
  click $((page_x + $1 + $3 / 2)) $((page_y + $2 + $4 / 2))
}
program_3() { click_control 150 120 70 70; }
preview_5() { click_control 10 420 70 70; }
cut() { click_control 465 420 80 80; }
auto() { click_control 600 420 80 80; }
rate_3() { click_control 875 345 70 70; }

# The lever at (693, 100): the thumb's centre for position p lies 50 + p * 314 / 129 pixels
# below the lever's top, 80 pixels right of its left edge.
lever_x=$((page_x + 693 + 80))
lever_y() { echo $((page_y + 100 + 50 + $1 * 314 / 129)); }

# Whether a button shows lit: program-lit buttons are red, preview-lit ones green. The probe
# point is the key's face, left of its caption.
face() { pixel "$3" $((page_x + $1 + 12)) $((page_y + $2 + 12)); }
reddish() { IFS=, read -r r g b <<<"$1"; ((r > 150 && g < 110 && b < 110)); }
greenish() { IFS=, read -r r g b <<<"$1"; ((g > 150 && r < 130 && b < 130)); }

start_xvfb
start_lab --devsim "$devsim" --switcher 1
lab_state=$(dirname "$lab_logs")
device_log=$lab_logs/SW1.log
[[ -f $device_log ]] || fail "no SW1 in the lab: $(cat "$lab_state/devices.tsv")"
device_pid=$(awk '$2 == "SW1" {print $1}' "$lab_state/pids")
[[ -n $device_pid ]] || fail "no simulator PID for SW1"
start_panel "$panel"

logged() { grep -q -- "$1" "$device_log"; }
wait_logged() {
  wait_for "$2" logged "$1" || fail "the switcher did not log '$1': $(tail -n 20 "$device_log")"
}

# Scan: the switcher answers and its panel opens.
click 629 80
search_over() { grep -q 'search  over' "$panel_log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$panel_log")"
shot panel_opened

program_3
wait_logged 'program source 3' 5
preview_5
wait_logged 'preview source 5' 5
cut
wait_logged 'cut -> program 5, preview 3' 5
shot after_cut

# Auto at r3: 129 ticks of 20 ms from the bottom up; the switcher completes at progress 128.
rate_3
auto
wait_logged 'lever direction 1 progress 128 -> transition complete: program 3, preview 5' 10
auto_over() { grep -q 'kill timer pos = 0' "$panel_log"; }
wait_for 10 auto_over || fail "the automatic transition did not end: $(tail "$panel_log")"
[[ $(grep -c 'lever direction 1 progress' "$device_log") -eq 17 ]] ||
  fail "the automatic transition did not send 17 lever steps"
shot after_auto

# A slow drag from the top (where Auto left the thumb) to the bottom, one pixel at a time.
top=$(lever_y 0)
bottom=$(lever_y 129)
steps=(mousemove "$lever_x" "$top" mousedown 1)
for ((y = top + 1; y <= bottom + 4; y++)); do
  steps+=(mousemove "$lever_x" "$y" sleep 0.004)
done
steps+=(mouseup 1)
xdotool "${steps[@]}"
wait_logged 'lever direction 0 progress 128 -> transition complete: program 5, preview 3' 10
for progress in 1 8 16 24 32 40 48 56 64 72 80 88 96 104 112 120 128; do
  logged "lever direction 0 progress $progress\b" ||
    fail "the drag did not send progress $progress: $(grep lever "$device_log" | tail)"
done
shot after_drag

# The switcher's own state: program 5, preview 3.
kill -USR1 "$device_pid"
wait_logged 'state pip_border_width=' 5
grep -q 'state program=5$' "$device_log" || fail "the switcher's program is not 5"
grep -q 'state preview=3$' "$device_log" || fail "the switcher's preview is not 3"

# The panel shows the same: program 5 (at 10, 200) red, preview 3 (at 150, 340) green, and
# neither the old program 3 (150, 120) nor the old preview 5 (10, 420) lit.
picture=$artifacts/after_drag.png
reddish "$(face 10 200 "$picture")" || fail "program 5 is not lit: $(face 10 200 "$picture")"
greenish "$(face 150 340 "$picture")" || fail "preview 3 is not lit: $(face 150 340 "$picture")"
reddish "$(face 150 120 "$picture")" && fail "program 3 is still lit"
greenish "$(face 10 420 "$picture")" && fail "preview 5 is still lit"

# Space is Cut wherever the focus is: the drag's click on the lever gave it to FTB.
xdotool key space
wait_logged 'cut -> program 3, preview 5' 5
sleep 0.3 # a press of FTB would come with the key's release
logged 'fade to black' && fail "Space faded to black: $(tail -n 5 "$device_log")"

echo "PASS: the simulated switcher shows the buses the panel shows; screenshots in $artifacts"
