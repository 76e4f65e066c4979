#pragma once
// Which device page a selected device gets: the type byte of its reply chooses the page class.
// Qt-free so that the mapping is tested without widgets; the main window creates the page.
#include <cstdint>
#include <optional>

#include "link/device_entry.h"
#include "link/device_link.h"

namespace panoptix {

// A page per device kind: QuadView QuadviewPage, Matrix MatrixPage,
// Multiviewer MultiviewerPage, Switcher SwitcherPage.
using DevicePageKind = DeviceKind;

struct DevicePageForType {
    DevicePageKind kind = DevicePageKind::QuadView;
    // False for a type byte no page is made for: it still gets the quad-view panel.
    bool known_type = false;
};

// 0x60 quad-view, 0x81/0x82 matrix, 0xA1 multiviewer, 0xA5 switcher, anything else quad-view.
DevicePageForType PageForTypeByte(uint8_t type_byte);

// The type byte of the selected device by connection mode: on the LAN the selected row's type
// byte, on the serial link the type byte of the last reply the parser saw (" only com \n").
// Expects m_device_index >= 0.
std::optional<uint8_t> SelectedDeviceTypeByte(const DeviceLink& state);

}  // namespace panoptix
