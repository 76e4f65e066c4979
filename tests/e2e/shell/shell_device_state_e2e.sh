#!/usr/bin/env bash
# The real panel under Xvfb in a private lab network (its own network namespaces, 192.0.2.0/24)
# with two simulated devices of each kind. For each kind the operator acts on device A, picks B
# in the device list, acts on B, picks A and acts on A again, clicking where the panel's liveness
# probe says the controls are. Each simulator must have been told its own device's values: the
# panel keeps one state block per device, not one per kind.
#
# A multiviewer's or quad-view's page asks its device for its status as it opens, and the reply
# overwrites what the panel held; so B is taken off the lab network while its page opens, and the
# page can only show and send what the panel kept for B.
#   shell_device_state_e2e.sh PANOPTIX DEVSIM ARTIFACT_DIR
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

panel=$1
devsim=$2
artifacts=$3
source "$(dirname "$0")/../panel_session.sh" dse2e "$artifacts"

# Control ids: main_window.h, switcher_controls.h, matrix_control_ids.h,
# multiviewer_control_ids.h, quadview_control_ids.h.
scan=1005
device_list=1007
on_air=1134
input() { echo $((1130 + $1)); }
output() { echo $((1140 + $1)); }
apply=1097
mv_layout() { # buttons for 1, 4, 6, 8, 9, 10 and 16 windows
  local codes=(1 4 6 8 9 10 16) i
  for i in "${!codes[@]}"; do [[ ${codes[$i]} == "$1" ]] && echo $((1032 + i)); done
}
qv_show_mode() { echo $((1032 + $1)); }

shot() {
  sleep 0.3
  import -window root "$artifacts/$1.png"
}

start_xvfb
start_lab --devsim "$devsim" --multiviewer 2 --switcher 2 --matrix 2 --quadview 2
use_probe
start_panel "$panel"

click_control "$scan"
search_over() { grep -q 'search  over' "$panel_log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$panel_log")"
probe
mapfile -t entries < <(list_entries "$device_list")
((${#entries[@]} == 8)) || fail "the list holds ${#entries[@]} devices, not 8: ${entries[*]}"

# The two devices of a kind, A and B. B is not the one whose page the scan opened (the list's
# first entry): the panel knows nothing of B until B's page opens.
pair() {
  if [[ ${entries[0]} == "${1}2_"* ]]; then echo "${1}2 ${1}1"; else echo "${1}1 ${1}2"; fi
}
read -r sw_a sw_b < <(pair SW)
read -r mx_a mx_b < <(pair MX)
read -r mv_a mv_b < <(pair MV)
read -r qv_a qv_b < <(pair QV)

# Picks a device in the list by its name; its page must open.
pick() {
  local name=$1 page=$2 i
  for i in "${!entries[@]}"; do
    if [[ ${entries[$i]} == "${name}_"* ]]; then
      pick_entry "$device_list" "$i"
      [[ $(shown_page) == "$page" ]] || fail "picking $name showed $(shown_page), not $page"
      return
    fi
  done
  fail "$name is not in the list: ${entries[*]}"
}

# What a device was told by the panel, one command a line: searches and queries left out.
told() {
  sed -n 's/^[0-9:.]* 192\.0\.2\.1:7000 //p' "$lab_logs/$1.log" |
    grep -v -e '^search request' -e '^status query' -e '^signal query' || true
}
# Runs an action (the arguments after the first two); the device must be told exactly one more
# thing, saying $2.
expect_told() {
  local device=$1 expected=$2 before
  shift 2
  before=$(told "$device" | wc -l)
  "$@"
  grown() { (($(told "$device" | wc -l) > before)); }
  wait_for 5 grown || fail "$device was told nothing (expected \"$expected\")"
  sleep 0.2
  local news
  news=$(told "$device" | tail -n +$((before + 1)))
  [[ $news == *"$expected"* && $news != *$'\n'* ]] ||
    fail "$device was told \"$news\", expected \"$expected\""
}
press() { for id in "$@"; do click_control "$id"; done; }
# A device off the lab network, and back: what the panel sends it meanwhile is lost.
unplug() { "$root/scripts/lab" exec "$1" ip link set eth0 down; }
plug() {
  "$root/scripts/lab" exec "$1" ip link set eth0 up
  link_up() { "$root/scripts/lab" exec "$1" ip -o link show eth0 | grep -q 'state UP'; }
  wait_for 5 link_up "$1" || fail "$1 did not come back onto the lab network"
}
# How many windows the multiviewer page offers a source for: the windows of the layout it shows
# (the "SDI" lists 1101..1116 of windows 1..16; the probe lists only enabled controls).
expect_source_rows() {
  local rows
  probe
  rows=$(awk -F '\t' '$1 == "control" && $2 >= 1101 && $2 <= 1116 && $3 == "QComboBox"' \
    "$screen" | wc -l)
  ((rows == $1)) || fail "$2's page offers $rows windows, not $1"
}

# Switcher: ON AIR carries the state before the press, each switcher's own.
pick "$sw_a" SwitcherPage
expect_told "$sw_a" "ON AIR on" press "$on_air"
pick "$sw_b" SwitcherPage
expect_told "$sw_b" "ON AIR on" press "$on_air" # B never went on air: before-value 0, not A's 1
pick "$sw_a" SwitcherPage
expect_told "$sw_a" "ON AIR off" press "$on_air" # A was left on air: before-value 1
shot switcher_a

# Router: APPLY sends the outputs of the selected input as the page's own router has them.
pick "$mx_a" MatrixPage
expect_told "$mx_a" "route input 3 to output 5" press "$(input 3)" "$(output 5)" "$apply"
pick "$mx_b" MatrixPage
expect_told "$mx_b" "route input 3 to output 6" press "$(input 3)" "$(output 6)" "$apply"
pick "$mx_a" MatrixPage
expect_told "$mx_a" "route input 3 to outputs 5, 7" press "$(input 3)" "$(output 7)" "$apply"
shot router_a

# Multiviewer: four windows on A; B's page, unanswered, shows the one window the panel knows of
# B, not A's four.
pick "$mv_a" MultiviewerPage
expect_told "$mv_a" "layout 4 windows" press "$(mv_layout 4)"
unplug "$mv_b"
pick "$mv_b" MultiviewerPage
expect_source_rows 1 "$mv_b"
shot multiviewer_b_unanswered
plug "$mv_b"
expect_told "$mv_b" "layout 9 windows" press "$(mv_layout 9)"
pick "$mv_a" MultiviewerPage
expect_source_rows 4 "$mv_a"
expect_told "$mv_a" "layout 16 windows" press "$(mv_layout 16)"

# Quad-view: show mode 3 on A; B's page, unanswered, starts from what the panel knows of B
# (nothing: mode 0), so show mode 3 is news to B and goes out.
pick "$qv_a" QuadviewPage
expect_told "$qv_a" "show mode 3 (windows 1 and 2, full height)" press "$(qv_show_mode 3)"
unplug "$qv_b"
pick "$qv_b" QuadviewPage
plug "$qv_b"
expect_told "$qv_b" "show mode 3 (windows 1 and 2, full height)" press "$(qv_show_mode 3)"
pick "$qv_a" QuadviewPage
expect_told "$qv_a" "show mode 1 (windows 1 and 2 side by side)" press "$(qv_show_mode 1)"
shot quadview_a

# Everything each device was told, in order: its own values and nothing of its twin's.
declare -A expected=(
  [$sw_a]="ON AIR on|ON AIR off|"
  [$sw_b]="ON AIR on|"
  [$mx_a]="route input 3 to output 5|route input 3 to outputs 5, 7|"
  [$mx_b]="route input 3 to output 6|"
  [$mv_a]="layout 4 windows|layout 16 windows|"
  [$mv_b]="layout 9 windows|"
  [$qv_a]="show mode 3 (windows 1 and 2, full height)|show mode 1 (windows 1 and 2 side by side)|"
  [$qv_b]="show mode 3 (windows 1 and 2, full height)|"
)
for device in "${!expected[@]}"; do
  got=$(told "$device" | tr '\n' '|')
  [[ $got == "${expected[$device]}" ]] ||
    fail "$device was told \"$got\", expected \"${expected[$device]}\""
done

echo "PASS: two devices of each kind were each told their own values; screenshots in $artifacts"
