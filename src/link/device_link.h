#pragma once
// The device link: how the panel reaches its devices. The main window's state holds one, next
// to every device's block; the cores, the pages and the CLI take it by reference.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "link/cn_comm.h"
#include "link/connection_mode.h"
#include "link/device_entry.h"
#include "link/device_id.h"
#include "link/device_list.h"

namespace panoptix {

inline constexpr size_t kRxBufferSize = 1024;

// The UDP endpoints; the program uses the defaults, in-process tests use other ports.
struct UdpEndpoints {
    uint16_t device_port = 7000;
    uint16_t local_port = 7000;
    std::string broadcast_address = "255.255.255.255";
};

// An IPv4 socket address: destination of every send and source of every receive.
struct PeerAddress {
    uint32_t address = 0;  // network byte order
    uint16_t port = 0;     // host byte order
};

// How the panel reaches its devices: the connection mode, the device table with its selection,
// the command socket and the serial port. The mode is asked with mode() and changed only with
// SetMode, which tells the observer (the main window) what changed it.
class DeviceLink {
  public:
    ConnectionMode mode() const { return mode_; }
    // The selected entry of the device list: a row of the table on the LAN, the one device on
    // the port on the serial link; -1 = none.
    int8_t SelectedIndex() const { return m_device_index; }
    void Select(int8_t index) { m_device_index = index; }
    const DeviceTable& Table() const { return device_table; }
    // The names the operator picks from, entry i for row i of the table.
    DeviceList& List() { return list_; }
    const DeviceList& List() const { return list_; }
    void SetRow(size_t row, const DeviceEntry& entry) { device_table.at(row) = entry; }
    void ClearTable() { device_table = {}; }
    CnComm& SerialPort() { return serial_port; }
    const CnComm& SerialPort() const { return serial_port; }
    UdpEndpoints& Endpoints() { return endpoints; }
    // What the last serial reply said: the device's type byte, its model name, and how many
    // devices a search reply named.
    uint8_t SerialDeviceType() const { return m_main_com_dev_type; }
    void SetSerialDeviceType(uint8_t type_byte) { m_main_com_dev_type = type_byte; }
    const std::u16string& SerialModelName() const { return model_name; }
    int8_t SerialReplyCount() const { return serial_reply_count; }
    // The command socket while an exchange waits on it, else -1.
    int CommandSocket() const { return m_udpSockfd; }
    // Sets the mode; a change is told to the observer, with who made it.
    void SetMode(ConnectionMode mode, ModeChangeSource source = ModeChangeSource::Settings);
    void OnModeChange(std::function<void(ModeChangeSource)> observer) {
        mode_changed_ = std::move(observer);
    }

    // The link's working state. Code outside src/link/ uses the calls above (scripts/check-layers
    // holds it to that); tests still set some of it up directly.
    int8_t m_device_index = -1;
    // How many devices the last serial search's reply named (the parser's result); 0 = none.
    int8_t serial_reply_count = 0;
    DeviceTable device_table{};
    int m_udpSockfd = -1;
    PeerAddress peer_address{};
    UdpEndpoints endpoints{};
    CnComm serial_port;

    // Serial receive accumulator and the members the reply parser fills.
    std::array<uint8_t, kRxBufferSize> status_rx_buffer{};
    int32_t status_rx_count = 0;
    uint8_t m_main_com_dev_type = 0;
    std::u16string model_name;

    // The row at m_device_index, or nullptr when no device is selected. On the serial link the
    // serial search fills no row: row 0 is all zeros there (a change of mode empties the table),
    // so a frame meant for the LAN is refused as sent to no device (udp_transport.h) and serial
    // frames carry zero device bytes.
    const DeviceEntry* SelectedEntry() const {
        return m_device_index < 0 ? nullptr : &device_table[static_cast<size_t>(m_device_index)];
    }
    // The row whose device bytes a frame carries: the selected one, or an all-zero row.
    const DeviceEntry& FrameEntry() const {
        static const DeviceEntry kNoDevice{};
        const DeviceEntry* entry = SelectedEntry();
        return entry != nullptr ? *entry : kNoDevice;
    }

  private:
    ConnectionMode mode_ = ConnectionMode::Lan;
    DeviceList list_;
    // Told of every change of the mode (the main window closes what belongs to the other link).
    std::function<void(ModeChangeSource)> mode_changed_;
};

// The selected device: its LAN row, or on the serial link the open port (else port_fallback,
// the port chosen last) with the type byte of the last reply; none without a selection.
std::optional<DeviceId> SelectedDeviceId(const DeviceLink& link, std::string_view port_fallback);

}  // namespace panoptix
