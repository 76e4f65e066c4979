#!/usr/bin/env bash
# panoptix-cli in a private lab network (network namespaces, 192.0.2.0/24) with one simulated
# device of each kind: the search lists the four kinds, the multiviewer's and the quad-view's
# status are printed as JSON and read back with python3, actions reach the devices, and one run
# goes over the multiviewer's pseudo-terminal.
#   cli_lab_e2e.sh PANOPTIX_CLI DEVSIM
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

cli=$1
devsim=$2
root=$(cd "$(dirname "$0")/../.." && pwd)

source "$root/tests/e2e/lab_preflight.sh"
need_tools ip python3

export PANOPTIX_LAB=cli$$
work=$(mktemp -d)
lab_up=0
cleanup() {
  ((lab_up)) && "$root/scripts/lab" down >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

lab_up=1
"$root/scripts/lab" up --devsim "$devsim" --multiviewer 1 --switcher 1 --matrix 1 --quadview 1 \
  --serial >"$work/lab.log" || fail "the lab did not come up: $(cat "$work/lab.log")"
logs=$(sed -n 's/^logs: //p' "$work/lab.log")
devices=$(dirname "$logs")/devices.tsv
field() { awk -F '\t' -v n="$1" -v f="$2" '$1 == n {print $f}' "$devices"; }
mv=$(field MV1 4)
sw=$(field SW1 4)
mx=$(field MX1 4)
qv=$(field QV1 4)
mv_tty=$(field MV1 5)

in_lab() { "$root/scripts/lab" exec panel "$cli" "$@"; }
wait_for_log() {
  for _ in $(seq 50); do
    grep -q -- "$2" "$logs/$1.log" && return 0
    sleep 0.1
  done
  fail "$1 did not log '$2': $(cat "$logs/$1.log")"
}

# The search: one JSON object a line, the four kinds with their addresses and device bytes.
in_lab search --wait-ms 1000 >"$work/search.json" || fail "search failed"
python3 - "$work/search.json" "$mv" "$sw" "$mx" "$qv" <<'PY' || fail "search: $(cat "$work/search.json")"
import json, sys
found = [json.loads(line) for line in open(sys.argv[1])]
kinds = {d["kind"]: d for d in found}
assert sorted(kinds) == ["matrix", "multiviewer", "quadview", "switcher"], kinds
for kind, address, type_byte in [("multiviewer", sys.argv[2], 0xA1), ("switcher", sys.argv[3], 0xA5),
                                 ("matrix", sys.argv[4], 0x81), ("quadview", sys.argv[5], 0x60)]:
    assert kinds[kind]["address"] == address, kinds[kind]
    assert kinds[kind]["type"] == type_byte and kinds[kind]["device_address"] == 1, kinds[kind]
assert kinds["multiviewer"]["model"] == "MV1", kinds
PY

# A layout and a label, then the status block read back as JSON.
in_lab send multiviewer --ip "$mv" layout 4 >/dev/null || fail "layout not sent"
in_lab send multiviewer --ip "$mv" label 3 "CAM 3" >/dev/null || fail "label not sent"
in_lab status multiviewer --ip "$mv" >"$work/mv.json" || fail "no multiviewer status"
python3 - "$work/mv.json" <<'PY' || fail "multiviewer status: $(cat "$work/mv.json")"
import json, sys
status = json.load(open(sys.argv[1]))
assert status["layout"] == 4, status["layout"]
assert status["windows"][2]["label"] == "CAM 3", status["windows"][2]
assert status["resolution"] == "1080p60" and len(status["windows"]) == 16
PY

# The quad-view: a show mode, then its status, signal lamps and label lengths.
in_lab send quadview --ip "$qv" mode 8 >/dev/null || fail "show mode not sent"
in_lab status quadview --ip "$qv" >"$work/qv.json" || fail "no quadview status"
python3 - "$work/qv.json" <<'PY' || fail "quadview status: $(cat "$work/qv.json")"
import json, sys
s = json.load(open(sys.argv[1]))
assert s["show_mode"] == 8 and len(s["signal"]) == 4, s
# The simulator's lines are named "CH 1" .. "CH 4": the reply gives their lengths.
assert [(l["line"], l["name_length"], l["valid"]) for l in s["labels"]] == \
    [(1, 4, True), (2, 4, True), (3, 4, True), (4, 4, True)], s["labels"]
PY

# The switcher cuts on cue; the matrix routes.
in_lab send switcher --ip "$sw" preview 5 >/dev/null || fail "preview not sent"
in_lab send switcher --ip "$sw" auto --rate 1 >/dev/null || fail "auto not sent"
wait_for_log SW1 "transition complete"
in_lab send matrix --ip "$mx" route 3 all >/dev/null || fail "route not sent"
wait_for_log MX1 "route input 3 to all outputs"

# Nothing answers at an address without a device: exit 1, nothing on standard output.
set +e
out=$(in_lab status multiviewer --ip 192.0.2.99 --type 0xA1 --address 1)
code=$?
set -e
[[ $code -eq 1 && -z $out ]] || fail "a missing device gave exit $code and '$out'"

# One run over the multiviewer's pseudo-terminal.
"$cli" send multiviewer --serial "$mv_tty" --baud 115200 layout 9 >/dev/null ||
  fail "serial layout not sent"
wait_for_log MV1 "layout 9 windows"
"$cli" status multiviewer --serial "$mv_tty" --baud 115200 >"$work/mv_serial.json" ||
  fail "no serial status"
python3 -c 'import json,sys; assert json.load(open(sys.argv[1]))["layout"] == 9' \
  "$work/mv_serial.json" || fail "serial status: $(cat "$work/mv_serial.json")"

echo "PASS: search, status and actions by panoptix-cli in the lab"
