# Sourced by the end-to-end scripts: the real panel under a private Xvfb in a private lab
# network (network namespaces, 192.0.2.0/24). Everything started here is stopped by PID when the
# script exits. Needs root; without it, or without a tool, the test is skipped (exit 77).
#
#   source panel_session.sh LAB_PREFIX ARTIFACT_DIR
#   start_xvfb
#   start_lab --multiviewer 1 ...      # scripts/lab up options; sets lab_logs
#   start_panel PANOPTIX               # in the lab's panel namespace; traces in $panel_log
#
# With use_probe before start_panel, the panel answers its liveness probe
# (PANOPTIX_LIVENESS_PROBE): probe leaves its windows and controls, with their screen
# rectangles, in $screen; click_control, list_entries, pick_entry and shown_page read them.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

source "$root/tests/e2e/lab_preflight.sh"
need_tools ip Xvfb xdotool import convert

# Names of this run only, so that parallel runs do not meet.
export PANOPTIX_LAB=$1$$
artifacts=$2
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png "$artifacts"/*.log "$artifacts"/*.txt
panel_log=$artifacts/panel.log
work=$(mktemp -d)
# The panel's settings file lives in this run's folder, never in the user's.
export XDG_CONFIG_HOME=$work/config
xvfb_pid=
panel_pid=
lab_up=0
lab_logs=

# Sleeps until the PID has ended, at most $2 tenths of a second.
wait_gone() {
  local pid=$1 tenths=$2 i
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
    [[ -d $lab_logs ]] && cp "$lab_logs"/*.log "$artifacts"/ 2>/dev/null
    "$root/scripts/lab" down >/dev/null || true
  fi
  stop_pid "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

# Polls a condition every tenth of a second for at most $1 seconds.
wait_for() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 10; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# A display of our own: Xvfb picks a free number and writes it once it accepts clients.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_for 20 grep -q '[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$(tr -dc '0-9' <"$work/display")
}

start_lab() {
  lab_up=1
  "$root/scripts/lab" up "$@" >"$work/lab.log" ||
    fail "the lab did not come up: $(cat "$work/lab.log")"
  lab_logs=$(sed -n 's/^logs: //p' "$work/lab.log")
}

# The panel in the panel's namespace, on our display, until its window is there.
start_panel() {
  QT_QPA_PLATFORM=xcb "$root/scripts/lab" exec panel "$1" >"$panel_log" 2>&1 &
  panel_pid=$!
  panel_window() { xdotool search --name '^kora_multiview$' >/dev/null 2>&1; }
  wait_for 20 panel_window || fail "the panel window did not appear: $(cat "$panel_log")"
  sleep 0.5
}

# The panel's liveness probe: a FIFO the panel reads requests from, and the answer it writes.
use_probe() {
  mkdir -p "$work/probe"
  mkfifo "$work/probe/ask"
  export PANOPTIX_LIVENESS_PROBE=$work/probe
  probe_requests=0
  screen=$work/screen.txt
}

# Asks the probe and waits for its answer: the panel's visible windows and enabled controls.
probe() {
  probe_requests=$((probe_requests + 1))
  timeout 10 bash -c 'echo "$1" >"$2"' _ "$probe_requests" "$work/probe/ask" ||
    fail "the panel's probe is gone: $(tail -n 20 "$panel_log")"
  answered() { [[ $(head -n 1 "$work/probe/answer" 2>/dev/null) == "$probe_requests" ]]; }
  wait_for 10 answered || fail "the panel did not answer its probe within 10 s"
  cp "$work/probe/answer" "$screen"
}

# The centre "X Y" of the control with this id (and a class matching $2) that the last probe
# listed, the $3rd such (default the first) where ids repeat; nothing when there is none.
control_centre() {
  awk -F '\t' -v id="$1" -v cls="${2:-.}" -v nth="${3:-1}" '$1 == "control" && $2 == id &&
    $3 ~ cls && --nth == 0 { print int($4 + $6 / 2), int($5 + $7 / 2); exit }' "$screen"
}

# Clicks a control by id (class, which of them) where the probe says it is, once it is there
# (a window opened by the last click may not be up yet).
click_control() {
  on_screen() { probe && [[ -n $(control_centre "$@") ]]; }
  wait_for 5 on_screen "$@" || fail "control $1 ${2:-} is not on the screen (page $(shown_page))"
  # shellcheck disable=SC2046 # "X Y"
  xdotool mousemove $(control_centre "$@") click 1
}

# The class of the page the main window shows (the control over the whole page area), or none.
shown_page() {
  awk -F '\t' '$1 == "control" && $4 == 20 && $5 == 110 && $6 == 1240 {
    sub(/.*::/, "", $3); print $3; exit }' "$screen"
}

# The entries of a list, one a line, and its current index, from the last probe.
list_entries() {
  awk -F '\t' -v id="$1" '$1 == "control" && $2 == id && $3 == "QComboBox" {
    n = split($9, e, "|"); for (i = 2; i <= n; i++) print e[i]; exit }' "$screen"
}
list_index() {
  awk -F '\t' -v id="$1" '$1 == "control" && $2 == id && $3 == "QComboBox" {
    split($9, e, "|"); print e[1]; exit }' "$screen"
}

# Opens list $1 and walks with the keys from its current entry to entry $2 (from 0), as an
# operator does, then waits until the list shows it (the handler of the choice has run).
pick_entry() {
  local id=$1 index=$2 at current moves keys=()
  probe
  at=$(control_centre "$id" QComboBox)
  [[ -n $at ]] || fail "list $id is not on the screen"
  current=$(list_index "$id")
  # shellcheck disable=SC2086 # "X Y"
  xdotool mousemove $at click 1
  sleep 0.3
  moves=$((index - (current < 0 ? 0 : current)))
  for ((; moves > 0; moves--)); do keys+=(Down); done
  for ((; moves < 0; moves++)); do keys+=(Up); done
  xdotool key "${keys[@]}" Return
  picked() { probe && [[ $(list_index "$id") == "$index" ]]; }
  wait_for 10 picked || fail "list $id did not take entry $index"
}
