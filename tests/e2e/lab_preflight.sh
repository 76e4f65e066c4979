# Sourced by the lab scripts of the tests: how they skip and fail, and the check that they run
# as root (network namespaces) with the tools they name. A test that cannot run here is skipped
# (exit 77) with a message.
skip() {
  echo "SKIP: $*"
  exit 77
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# need_tools TOOL...: skips the test unless it runs as root and every TOOL is on the PATH.
need_tools() {
  [[ $(id -u) -eq 0 ]] || skip "needs root to create network namespaces"
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/deps installs it)"
  done
}
