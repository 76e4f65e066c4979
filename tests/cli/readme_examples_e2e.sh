#!/usr/bin/env bash
# The README's Scripting examples, run as written: the shell block of its "Scripting" section,
# word for word, from a folder where scripts/lab and build/tools/cli/panoptix-cli are this
# tree's, so the block brings up its own private lab (network namespaces, 192.0.2.0/24) with a
# simulator of each kind. The cue is given at once. Then the simulators' logs must show the
# routes, the layout and the transition, and the nightly check must report the four windows.
#   readme_examples_e2e.sh README PANOPTIX_CLI DEVSIM
# Needs root (network namespaces); without it the test is skipped (exit 77) with a message.
set -euo pipefail

readme=$(realpath "$1")
cli=$(realpath "$2")
devsim=$(realpath "$3")
root=$(cd "$(dirname "$0")/../.." && pwd)

source "$root/tests/e2e/lab_preflight.sh"
need_tools ip python3

export PANOPTIX_LAB=readme$$
export PANOPTIX_DEVSIM=$devsim
work=$(mktemp -d)
cleanup() {
  "$root/scripts/lab" down >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The block between "```sh" and "```" that follows the "## Scripting" heading.
awk '/^## /{in_section = ($0 == "## Scripting")} in_section && /^```sh$/{in_block=1; next}
     in_block && /^```$/{exit} in_block' "$readme" >"$work/examples.sh"
[[ -s $work/examples.sh ]] || fail "no sh block in the Scripting section of $readme"

tree=$work/tree
mkdir -p "$tree/scripts" "$tree/build/tools/cli"
ln -s "$root/scripts/lab" "$tree/scripts/lab"
ln -s "$cli" "$tree/build/tools/cli/panoptix-cli"

(cd "$tree" && printf '\n' | bash -e -o pipefail "$work/examples.sh") >"$work/out.txt" 2>&1 ||
  fail "the examples stopped: $(cat "$work/out.txt")"

logs=$(sed -n 's/^logs: //p' "$work/out.txt")
[[ -d $logs ]] || fail "the lab's logs are not named: $(cat "$work/out.txt")"
expect_log() {
  for _ in $(seq 30); do
    grep -q -- "$2" "$logs/$1.log" && return 0
    sleep 0.1
  done
  fail "$1 did not log '$2': $(cat "$logs/$1.log")"
}
expect_log MX1 "route input 1 to outputs 1, 2"
expect_log MX1 "route input 3 to outputs 3, 4, 5, 6, 7, 8"
expect_log MV1 "layout 4 windows"
expect_log SW1 "transition complete"
grep -qx "192.0.2.10: layout is not 16 windows" "$work/out.txt" ||
  fail "the nightly check did not report the multiviewer: $(cat "$work/out.txt")"

echo "PASS: the README's Scripting examples ran as written against the lab"
