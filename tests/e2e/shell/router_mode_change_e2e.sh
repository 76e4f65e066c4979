#!/usr/bin/env bash
# The real panel under Xvfb in a private lab network (its own network namespaces, 192.0.2.0/24)
# with one simulated device of each kind, each also on a serial pseudo-terminal. A LAN scan lists
# them; the router's page is opened and its SETTING tab changes the mode to the serial port and
# connects the router's line, through a link in /dev that this test makes and removes. The router
# page stays and reaches its router on the line; the LAN list is gone, so no page of another kind
# can be opened whose frames would go out on the router's line; and after a serial scan the
# address change of the settings window (0x05, always by UDP) reaches no LAN device: the operator
# picked none on the serial link. The controls are found with the panel's liveness probe.
#   router_mode_change_e2e.sh PANOPTIX DEVSIM ARTIFACT_DIR
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

panel=$1
devsim=$2
artifacts=$3
source "$(dirname "$0")/../panel_session.sh" rmce2e "$artifacts"

port_link=/dev/pnxrmc$$
remove_port_link() {
  [[ -L $port_link ]] && rm -f "$port_link"
  cleanup
}
trap remove_port_link EXIT

# Control ids: main_window.h, configure_window.h, matrix_control_ids.h, switcher_controls.h,
# multiviewer_control_ids.h, quadview_control_ids.h. The router page's tabs share their ids
# with the controls of its sub pages (the tab comes first).
scan=1005
settings=1006
device_list=1007
change_ip=1032 # a CButtonST of the settings window
control_tab=1032
setting_tab=1033
mode_list=1102
port_list=1014
connect=1032 # the second 1032 of the router page, on its setting tab
one_to_all=1032
input_5=1135
on_air=1134
mv_layout_4=1033
qv_show_mode_3=1035

# The router's line carries the scans and the router's texts, nothing of another kind.
check_router_line() {
  local foreign
  foreign=$(grep ' serial ' "$router_log" | grep -v -e ' serial /dev/' \
    -e ' serial search request ' -e ' serial route ' || true)
  [[ -z $foreign ]] || fail "frames of another kind reached the router's line: $foreign"
}

shot() {
  sleep 0.3
  import -window root "$artifacts/$1.png"
}

start_xvfb
start_lab --devsim "$devsim" --multiviewer 1 --switcher 1 --matrix 1 --quadview 1 --serial
state_dir=$(dirname "$lab_logs")
router_log=$lab_logs/MX1.log
pty=$(readlink "$state_dir/mx1.tty")
[[ $pty == /dev/pts/* ]] || fail "the router has no pseudo-terminal"
ln -s "$pty" "$port_link"
use_probe
start_panel "$panel"

# The LAN scan lists the four devices; the router's page opens.
click_control "$scan"
search_over() { grep -q 'search  over' "$panel_log"; }
wait_for 20 search_over || fail "the search did not end: $(cat "$panel_log")"
probe
mapfile -t entries < <(list_entries "$device_list")
((${#entries[@]} == 4)) || fail "the list holds ${#entries[@]} devices, not 4: ${entries[*]}"
for i in "${!entries[@]}"; do
  [[ ${entries[$i]} == MX1_* ]] && pick_entry "$device_list" "$i"
done
[[ $(shown_page) == MatrixPage ]] || fail "the router's page did not open: $(shown_page)"

# SETTING: Serial Port, the router's line, Connect.
click_control "$setting_tab" CShadeButtonST
pick_entry "$mode_list" 1
probe
[[ $(shown_page) == MatrixPage ]] || fail "the mode change closed the router's page: $(shown_page)"
mapfile -t ports < <(list_entries "$port_list")
port_index=
for i in "${!ports[@]}"; do
  [[ ${ports[$i]} == "$port_link" ]] && port_index=$i
done
[[ -n $port_index ]] || fail "the port list does not offer $port_link: ${ports[*]}"
pick_entry "$port_list" "$port_index"
click_control "$connect" CShadeButtonST 2
connected() { grep -q 'com open success' "$panel_log"; }
wait_for 5 connected || fail "the panel did not open the port: $(tail -n 20 "$panel_log")"
shot serial_connected

# The list belonged to the LAN. Any entry still there would open, on a pick, a page of another
# kind whose frames go out on the serial line, the router's: the operator picks whatever is left
# and uses the page.
probe
mapfile -t left < <(list_entries "$device_list")
for i in "${!left[@]}"; do
  pick_entry "$device_list" "$i"
  case $(shown_page) in
    SwitcherPage) click_control "$on_air" ;;
    MultiviewerPage) click_control "$mv_layout_4" ;;
    QuadviewPage) click_control "$qv_show_mode_3" ;;
  esac
done
sleep 0.5
check_router_line
((${#left[@]} == 0)) || fail "the list kept the LAN's devices on the serial link: ${left[*]}"

# The router page reaches its router on the line.
[[ $(shown_page) == MatrixPage ]] || fail "the router's page is gone: $(shown_page)"
routes() { grep -c ' route ' "$router_log" || true; }
before=$(routes)
click_control "$control_tab" CShadeButtonST
click_control "$input_5"
click_control "$one_to_all" CShadeButtonST 2
routed() { (($(routes) > before)); }
wait_for 5 routed || fail "ONE TO ALL did not reach the router: $(tail -n 5 "$router_log")"
grep ' route ' "$router_log" | tail -n 1 | grep -q ' serial route input 5 to all outputs$' ||
  fail "the router was not routed on its line: $(grep ' route ' "$router_log" | tail -n 1)"

# A serial scan: the router answers on its line and its page opens again, the list's one entry.
click_control "$scan"
answered() { grep -q ' serial search request -> answered as MX1' "$router_log"; }
wait_for 10 answered || fail "the router did not answer the serial scan: $(tail -n 5 "$router_log")"
one_entry() { probe && [[ $(list_entries "$device_list") == MX1 && $(shown_page) == MatrixPage ]]; }
wait_for 10 one_entry || fail "after the serial scan the list holds: $(list_entries "$device_list")"
shot serial_scan

# The settings window's address change (0x05) goes by UDP to the selected LAN row; on the serial
# link there is none, so no LAN device may be told a new address.
click_control "$settings"
click_control "$change_ip" "^CButtonST$"
sleep 1
probe
if grep -q $'^window\t[^\t]*\tErr\t' "$screen"; then
  xdotool key Return # "Please choose a device"
fi
shot change_ip

told_address=$(grep -l -e ' set address ' -e 'address settings' "$lab_logs"/*.log || true)
[[ -z $told_address ]] || fail "an address change reached $(basename -a $told_address): $(
  grep -h -e ' set address ' -e 'address settings' "$lab_logs"/*.log)"
check_router_line

echo "PASS: the router page reached its router on the serial line, and nothing else did;" \
  "screenshots in $artifacts"
