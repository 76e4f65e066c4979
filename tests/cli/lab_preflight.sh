# Sourced by the CLI's lab scripts: how they skip and fail, and the tools they need before a lab
# can come up. A test that cannot run here is skipped (exit 77) with a message.
skip() {
  echo "SKIP: $*"
  exit 77
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[[ $(id -u) -eq 0 ]] || skip "needs root to create network namespaces"
command -v ip >/dev/null || skip "ip is missing (scripts/deps installs iproute2)"
command -v python3 >/dev/null || skip "python3 is missing"
