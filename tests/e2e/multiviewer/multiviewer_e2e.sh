#!/usr/bin/env bash
# The real panel under Xvfb in a private lab network (its own network namespaces, 192.0.2.0/24)
# with one simulated multiviewer. Scan opens the multiviewer page; a layout button and a UMD
# label field are used where an operator clicks and types; the simulator's next status reply,
# asked for from the panel's namespace, must hold both changes. Screenshots of every visible
# page and the logs are kept as artefacts.
#   multiviewer_e2e.sh PANOPTIX DEVSIM PROBE ARTIFACT_DIR
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

panel=$1
devsim=$2
probe=$3
artifacts=$4
source "$(dirname "$0")/../panel_session.sh" mve2e "$artifacts"

# The colour of one screen pixel in a screenshot, as "R,G,B".
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

shot() {
  sleep 0.4
  import -window root "$artifacts/$1.png"
}

# Screen positions. The page rectangle starts at (20, 110); in the multiviewer page the preview
# starts at (5, 40) and the sub-page area at (750, 105).
preview_x=25
preview_y=150
subpage_x=770
subpage_y=215
click() {
  xdotool mousemove "$1" "$2" click 1
}
# Centre of a control given by its rectangle inside the sub-page area.
click_in_subpage() {
  click $((subpage_x + $1 + $3 / 2)) $((subpage_y + $2 + $4 / 2))
}
# Centre of a page button given by its rectangle inside the multiviewer page.
click_page_button() {
  click $((20 + $1 + $3 / 2)) $((110 + $2 + $4 / 2))
}

start_xvfb
start_lab --devsim "$devsim" --multiviewer 1
device=$(awk -F '\t' '$1 == "MV1" {print $4}' "$(dirname "$lab_logs")/devices.tsv")
[[ -n $device ]] || fail "no MV1 in the lab"
device_log=$lab_logs/MV1.log
start_panel "$panel"

# Scan: the multiviewer answers, its page opens and its layout page reads the device.
click 629 80
search_over() { grep -q 'search  over' "$panel_log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$panel_log")"
grep -q 'status query -> sent 669 bytes' "$device_log" ||
  fail "the page did not query the device: $(cat "$device_log")"
grep -q 'm_p_glo_main_set_or_get_dlg.m_cur_window_count = 16' "$panel_log" ||
  fail "the panel did not decode the status reply"
shot layout_page_16

# The simulator starts with sixteen windows: the preview shows a 4 x 4 grid.
[[ $(pixel "$artifacts/layout_page_16.png" $((preview_x + 180)) $((preview_y + 60))) == 89,187,255 ]] ||
  fail "the preview does not show sixteen windows"

# Layout button 2 (four windows) at (140, 60), 80 x 57.
click_in_subpage 140 60 80 57
layout_sent() { grep -q 'layout 4 windows' "$device_log"; }
wait_for 10 layout_sent || fail "the device did not get the layout: $(cat "$device_log")"
shot layout_page_4
# A 2 x 2 grid: where the 4 x 4 grid had a border the window is dark; the border is at 360.
[[ $(pixel "$artifacts/layout_page_4.png" $((preview_x + 180)) $((preview_y + 60))) == 55,55,55 ]] ||
  fail "the preview did not redraw as a 2 x 2 grid"
[[ $(pixel "$artifacts/layout_page_4.png" $((preview_x + 360)) $((preview_y + 60))) == 89,187,255 ]] ||
  fail "the preview has no border at x 360"

# The UMD page (button at 840, 25, 80 x 75); the label field of window 3 at (110, 174), 115 x 24.
click_page_button 840 25 80 75
shot umd_page_before
click_in_subpage 110 174 115 24
xdotool key ctrl+a
xdotool type --delay 30 'E2E LBL'
xdotool key Return
label_sent() { grep -q 'label window 3 "E2E LBL"' "$device_log"; }
wait_for 10 label_sent || fail "the device did not get the label: $(cat "$device_log")"
grep -q 'm_umd_string_index = 2' "$panel_log" || fail "the panel did not send window 3's label"
shot umd_page

# The look of the two other visible pages, and of an open list. Esc closes the list; a second
# Esc reaches the page, which swallows it and stays open.
click_page_button 932 25 72 75
shot color_page
click_in_subpage 250 162 190 24
shot color_list_open
xdotool key Escape
sleep 0.3
xdotool key Escape
esc_swallowed() { grep -q ' mian  esc' "$panel_log"; }
wait_for 5 esc_swallowed || fail "Esc did not reach the page"
shot color_page_after_esc
[[ $(pixel "$artifacts/color_page_after_esc.png" $((preview_x + 360)) $((preview_y + 60))) == 89,187,255 ]] ||
  fail "the multiviewer page did not stay open after Esc"
click_page_button 1012 25 92 75
shot settings_page
click_page_button 748 25 80 75
shot layout_page_again

# The device's next status reply, asked for from the panel's namespace, holds both changes.
"$root/scripts/lab" exec panel "$probe" "$device" 7001 >"$artifacts/status_after.txt" ||
  fail "no status reply from the device"
grep -qx 'windows=4' "$artifacts/status_after.txt" ||
  fail "the device does not report four windows: $(cat "$artifacts/status_after.txt")"
grep -qx 'label.3=E2E LBL' "$artifacts/status_after.txt" ||
  fail "the device does not report the label: $(cat "$artifacts/status_after.txt")"
# Every other label kept its value.
grep -qx 'label.2=E2E LBL' "$artifacts/status_after.txt" && fail "window 2's label changed too"

# The layout page opened again read the device afresh: button 2 is lit, four rows are usable.
wait_for 5 grep -q 'm_p_glo_main_set_or_get_dlg.m_cur_window_count = 4' "$panel_log" ||
  fail "the layout page did not read the device again"

echo "PASS: layout and label reached the simulated multiviewer; screenshots in $artifacts"
