#pragma once
// The part of the main window's shared state that the device link owns. The main window derives
// from it (together with the device blocks); Qt-free operations take it by reference.
#include <array>
#include <cstdint>
#include <string>

#include "link/cn_comm.h"
#include "link/device_entry.h"

namespace panoptix {

// m_eState: how searches and commands travel. Other values are possible and mean "neither".
inline constexpr int32_t kModeLan = 0;
inline constexpr int32_t kModeSerial = 1;

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

struct LinkState {
    int32_t m_eState = kModeLan;
    int8_t m_device_index = -1;
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

    // The row at m_device_index, or nullptr when no device is selected.
    const DeviceEntry* SelectedEntry() const {
        return m_device_index < 0 ? nullptr : &device_table[static_cast<size_t>(m_device_index)];
    }
    // The row whose device bytes a frame carries: the selected one, or an all-zero row.
    const DeviceEntry& FrameEntry() const {
        static const DeviceEntry kNoDevice{};
        const DeviceEntry* entry = SelectedEntry();
        return entry != nullptr ? *entry : kNoDevice;
    }
};

}  // namespace panoptix
