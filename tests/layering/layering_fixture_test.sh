#!/usr/bin/env bash
# The layering check on small made-up trees: a clean one passes, and each kind of fault fails
# with its own line.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

write() {  # write PATH LINE...: a source file below the made-up src/
  mkdir -p "$(dirname "$tree/src/$1")"
  printf '%s\n' "${@:2}" >"$tree/src/$1"
}

write link/udp_socket_posix.cpp '#include <sys/socket.h>' '#include "link/udp_socket.h"'
write link/udp_socket.h '#include <cstdint>'
write mixer/core/mixer_state.h '#include "link/udp_socket.h"' '#include "preview/core/canvas.h"'
write preview/core/canvas.h '#include <cstdint>'
write preview/painting/canvas_painter.h '#include <QImage>' '#include "preview/core/canvas.h"'
write router/pages/router_page.cpp '#include "preview/painting/canvas_painter.h"'
write controls/button.h '#include <QWidget>' '#include "mixer/core/mixer_state.h"'
write mixer/pages/mixer_page.cpp '#include "controls/button.h"' '#include "mixer/core/mixer_state.h"'
write shell/main_window.cpp '#include "mixer/pages/mixer_page.h"'
write app/main.cpp '#include "shell/main_window.h"'
"$check" "$tree" >/dev/null || { echo "a clean tree was refused"; exit 1; }

expect_fault() {  # expect_fault TEXT: the check fails and says TEXT
  local out
  if out=$("$check" "$tree" 2>&1); then
    echo "not caught: $1"
    exit 1
  fi
  grep -qF "$1" <<<"$out" || { echo "expected '$1' in:"; echo "$out"; exit 1; }
}

write mixer/pages/mixer_page.cpp '#include "shell/main_window.h"'
expect_fault 'mixer/pages/mixer_page.cpp (device pages) includes shell/main_window.h (shell)'
write mixer/pages/mixer_page.cpp '#include "controls/button.h"'

write mixer/core/mixer_state.h '#include <QString>'
expect_fault 'mixer/core/mixer_state.h (device core) includes a Qt header'
write mixer/core/mixer_state.h '#include "link/udp_socket.h"' '#include "preview/core/canvas.h"'

write router/pages/router_page.cpp '#include "mixer/core/mixer_state.h"'
expect_fault 'router/pages/router_page.cpp (device router) includes mixer/core/mixer_state.h of another device (mixer)'
write router/pages/router_page.cpp '#include "preview/painting/canvas_painter.h"'

write link/udp_transport.cpp '#include <poll.h>'
expect_fault 'link/udp_transport.cpp includes a platform header'
rm "$tree/src/link/udp_transport.cpp"

write mixer/core/mixer_send.cpp '#include "link/udp_socket.h"' 'bool Open(DeviceLink& link) { return link.serial_port.IsOpen(); }'
expect_fault 'mixer/core/mixer_send.cpp reads a field of the device link: link.serial_port'
write mixer/core/mixer_send.cpp '#include "link/udp_socket.h"' 'bool Open(DeviceLink& link) { return link.SerialPort().IsOpen(); }'

write mixer/mixer_rules.cpp '#include <cstdint>'
expect_fault 'mixer/mixer_rules.cpp lies in no layer folder'
echo "layering check: every fault of the made-up trees caught"
