#pragma once
// The rules of the matrix page's setting sub page: a second view of the connection every page
// uses. It writes the connection mode m_eState and opens and closes the one serial port, as the
// "Configure" window does (the Connect rule is theirs in common, link/serial_connection.h). The
// sub page keeps only port_connected: 0 when created, whatever the port's state, and complemented
// by every successful Connect or Disconnect.
#include <cstdint>
#include <string_view>

#include "link/device_link.h"

namespace panoptix {

struct MatrixSetting {
    int32_t port_connected = 0;  // 0 = this sub page has not opened the port
};

// What the rules draw on the sub page.
class MatrixSettingView {
  public:
    virtual ~MatrixSettingView() = default;
    // The mode list's entry (0 "LAN Port", 1 "Serial Port"; -1 none).
    virtual void ShowMode(int index) = 0;
    virtual void ShowIpAddress(std::string_view ip_text) = 0;
    virtual void SetIpFieldEnabled(bool enabled) = 0;
    // The serial port list, the baud rate list and the Connect button together.
    virtual void SetSerialControlsEnabled(bool enabled) = 0;
    // The serial port list and the baud rate list only.
    virtual void SetPortListsEnabled(bool enabled) = 0;
    virtual void SetConnectCaption(std::string_view caption) = 0;
    // The lamp: connected (icon 212) or not (icon 211).
    virtual void ShowLamp(bool connected) = 0;
};

// The Connect button's captions.
inline constexpr std::string_view kConnectCaption = "Connect";
inline constexpr std::string_view kDisconnectCaption = "Disconnect";

// At opening: the mode list shows m_eState, the IP field the selected device's address (empty
// with none), the button reads "Connect", the lamp is off, and the serial controls are disabled
// with the IP field enabled whatever the mode: the operator re-chooses the mode to enable them.
// The page fills the lists itself (the serial ports, then kBaudRateTexts with entry 0 selected).
void OpenMatrixSetting(const DeviceLink& link, const MatrixSetting& setting,
                       MatrixSettingView& view);

// The operator chose mode list entry index (every choice, the shown entry included): 0 is the
// LAN (serial controls disabled, IP field enabled), 1 the serial port (the reverse); the link's
// mode follows, changed as the page's own (the main window keeps this page and empties the
// device list, which belongs to the other link). Any other index (no selection) does nothing.
void ChooseConnectionMode(DeviceLink& link, MatrixSettingView& view, int index);

// Connect clicked with the lists' selected texts. Connected: the port closes, the button reads
// "Connect", the lists are enabled. Otherwise an open port is closed and port_name opened at the
// rate of baud_text; if it opened the button reads "Disconnect" and the lists are disabled, and
// if it did not nothing on the sub page changes. The lamp follows port_connected.
void ClickConnect(MatrixSetting& setting, DeviceLink& link, MatrixSettingView& view,
                  std::string_view port_name, std::string_view baud_text);

}  // namespace panoptix
