# Sourced by the end-to-end scripts: the real panel under a private Xvfb in a private lab
# network (network namespaces, 192.0.2.0/24). Everything started here is stopped by PID when the
# script exits. Needs root; without it, or without a tool, the test is skipped (exit 77).
#
#   source panel_session.sh LAB_PREFIX ARTIFACT_DIR
#   start_xvfb
#   start_lab --multiviewer 1 ...      # scripts/lab up options; sets lab_logs
#   start_panel PANOPTIX               # in the lab's panel namespace; traces in $panel_log

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
    [[ -d $lab_logs ]] && cp "$lab_logs"/*.log "$artifacts"/ 2>/dev/null
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
