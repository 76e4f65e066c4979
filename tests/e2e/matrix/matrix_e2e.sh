#!/usr/bin/env bash
# The real panel under Xvfb in a private lab network (its own network namespaces, 192.0.2.0/24)
# with one simulated matrix router that also has a serial line. Scan opens the matrix page; the
# crosspoints and the function buttons are clicked where an operator clicks, and after each step
# the simulator's log and its state (SIGUSR1) must show the route. Then the SETTING tab connects
# the router's serial line, through a link in /dev that this test makes and removes, and ONE TO
# ALL must arrive on it. On the way a preset keeps a routing and brings it back. Screenshots and
# the logs are kept as artefacts.
#   matrix_e2e.sh PANOPTIX DEVSIM ARTIFACT_DIR
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

panel=$1
devsim=$2
artifacts=$3
source "$(dirname "$0")/../panel_session.sh" mxe2e "$artifacts"

port_link=/dev/pnxmx$$
remove_port_link() {
  [[ -L $port_link ]] && rm -f "$port_link"
  cleanup
}
trap remove_port_link EXIT

shot() {
  sleep 0.3
  import -window root "$artifacts/$1.png"
}

click() {
  xdotool mousemove "$1" "$2" click 1
  sleep 0.15
}
# The page rectangle starts at (20, 110); the sub-page area at (750, 105) in the page.
input_button() { click $((20 + 80 + 68 * ($1 - 1) + 30)) $((110 + 180 + 32)); }
output_button() { click $((20 + 80 + 68 * ($1 - 1) + 30)) $((110 + 380 + 32)); }
control_tab() { click $((20 + 748 + 40)) $((110 + 25 + 37)); }
setting_tab() { click $((20 + 840 + 45)) $((110 + 25 + 37)); }
preset_tab() { click $((20 + 942 + 40)) $((110 + 25 + 37)); }
# Centre of a sub page control given by its rectangle in the sub page.
in_subpage() { click $((770 + $1 + $3 / 2)) $((215 + $2 + $4 / 2)); }
one_to_all() { in_subpage 200 100 220 60; }
one_to_one() { in_subpage 200 195 220 65; }
lock_button() { in_subpage 272 300 140 65; }
apply_button() { in_subpage 100 300 140 65; }
# Preset k: two rows of four keys, 100 x 75, from (28, 76), 111 across and 90 down.
preset_key() {
  local k=$1 x y
  x=$((770 + 28 + 111 * ((k - 1) % 4) + 50))
  y=$((215 + 76 + 90 * ((k - 1) / 4) + 37))
  xdotool mousemove "$x" "$y" ${2:+keydown ctrl} click 1 ${2:+keyup ctrl}
  sleep 0.15
}

start_xvfb
start_lab --devsim "$devsim" --matrix 1 --serial
state_dir=$(dirname "$lab_logs")
device_log=$lab_logs/MX1.log
simulator=$(awk '$2 == "MX1" {print $1}' "$state_dir/pids")
[[ -n $simulator ]] || fail "no MX1 in the lab"
start_panel "$panel"

# Lines of the router's log that say what it was told to do (routing), in order.
routes_logged() { grep -c ' route ' "$device_log" || true; }
# Waits for the router's next routing line and checks it; nothing else may have come.
expect_route() {
  local before=$1 line=$2 who=$3
  arrived() { (($(routes_logged) > before)); }
  wait_for 5 arrived || fail "the router got no route (wanted \"$line\"): $(cat "$device_log")"
  local last
  last=$(grep ' route ' "$device_log" | tail -n 1)
  [[ $(routes_logged) -eq $((before + 1)) ]] || fail "more than one text arrived: $(cat "$device_log")"
  [[ $last == *" $who "*"$line" ]] || fail "expected \"$who ... $line\", the router logged: $last"
}
# The router's routes, input on output 1..8 as eight digits, from its next state dump.
routes_now() {
  local before
  before=$(grep -c ' state route\.' "$device_log" || true)
  kill -USR1 "$simulator"
  dumped() { (($(grep -c ' state route\.' "$device_log" || true) >= before + 8)); }
  wait_for 5 dumped || fail "the router did not dump its state"
  grep ' state route\.' "$device_log" | tail -n 8 | sed 's/.*=//' | tr -d '\n'
}
expect_routes() {
  local routes
  routes=$(routes_now)
  [[ $routes == "$1" ]] || fail "the router routes $routes, expected $1"
}

# Scan: the matrix answers and its page opens.
click 629 80
search_over() { grep -q 'search  over' "$panel_log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$panel_log")"
sleep 0.5
expect_routes 12345678  # the simulator starts with input k on output k
shot matrix_page

# Input 3, ONE TO ALL.
n=$(routes_logged)
input_button 3
one_to_all
expect_route "$n" "route input 3 to all outputs" 192.0.2.1:7000
expect_routes 33333333
shot one_to_all

# Input 1, outputs 2 and 3, APPLY: only the listed outputs move.
n=$(routes_logged)
input_button 1
output_button 2
output_button 3
apply_button
expect_route "$n" "route input 1 to outputs 2, 3" 192.0.2.1:7000
expect_routes 31133333
shot input_1_outputs_2_3

# LOCK: crosspoint and function clicks do nothing until it is undone.
lock_button
n=$(routes_logged)
input_button 8
output_button 8
one_to_all
apply_button
one_to_one
sleep 0.5
[[ $(routes_logged) -eq $n ]] || fail "a click reached the router while locked: $(cat "$device_log")"
shot locked
lock_button

# PRESET: Ctrl+click keeps the routing in preset 1; after ONE TO ONE a click brings it back with
# one text per input that carries outputs.
preset_tab
preset_key 1 ctrl
stored() { grep -q 'matrix preset 1 stored: 31133333' "$panel_log"; }
wait_for 5 stored || fail "preset 1 was not stored: $(tail -n 20 "$panel_log")"
control_tab

# ONE TO ONE.
n=$(routes_logged)
one_to_one
expect_route "$n" "route each input to its own output (one to one)" 192.0.2.1:7000
expect_routes 12345678

preset_tab
n=$(routes_logged)
preset_key 1
two_routes() { (($(routes_logged) >= n + 2)); }
wait_for 5 two_routes || fail "the preset did not reach the router: $(cat "$device_log")"
recalled=$(grep ' route ' "$device_log" | tail -n 2 | sed 's/.*7000 //' | tr '\n' '|')
[[ $recalled == "route input 1 to outputs 2, 3|route input 3 to outputs 1, 4, 5, 6, 7, 8|" ]] ||
  fail "the preset's texts were not the two apply texts: $recalled"
expect_routes 31133333
shot presets
control_tab

# The serial line: a port in /dev that leads to the router's pseudo-terminal, listed when the
# SETTING tab opens.
pty=$(readlink "$state_dir/mx1.tty")
[[ $pty == /dev/pts/* ]] || fail "the router has no pseudo-terminal"
ln -s "$pty" "$port_link"
setting_tab
shot setting_page
in_subpage 177 42 148 23  # the mode list opens
xdotool key Down Return   # "Serial Port"
sleep 0.2
in_subpage 177 201 148 23  # the port list opens; typing finds the entry
xdotool type --delay 20 "$port_link"
xdotool key Return
sleep 0.2
in_subpage 177 279 75 22  # Connect
connected() { grep -q 'com open success' "$panel_log"; }
wait_for 5 connected || fail "the panel did not open the port: $(tail -n 20 "$panel_log")"
shot serial_connected

control_tab
n=$(routes_logged)
input_button 5
one_to_all
expect_route "$n" "route input 5 to all outputs" serial
expect_routes 55555555
shot serial_one_to_all

echo "PASS: crosspoints, function buttons and the serial line reached the simulated router; screenshots in $artifacts"
