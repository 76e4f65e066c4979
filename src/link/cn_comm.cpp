#include "link/cn_comm.h"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <string>

#include "link/clock.h"
#include "link/serial_monitor.h"
#include "link/serial_port.h"

namespace panoptix {

using serial_line::WaitResult;

struct CnComm::Impl {
    int fd = -1;
    std::string port_name;
    uint32_t baud_rate = 0;
    std::unique_ptr<SerialMonitor> monitor;
};

namespace {

constexpr uint32_t kLineFaultPauseMs = 10;
// poll takes a signed time; longer waits would turn into "no limit".
constexpr uint32_t kLongestPollMs = std::numeric_limits<int>::max();

bool IsAcceptablePortName(std::string_view name) {
    // A NUL inside the name would silently open a different, shorter path.
    return name.size() <= CnComm::kMaxPortNameLength && name.find('\0') == std::string_view::npos;
}

}  // namespace

CnComm::CnComm() : impl_(std::make_unique<Impl>()) {}

CnComm::~CnComm() {
    ClosePort(kDefaultCloseWaitMs);
}

bool CnComm::OpenPort(std::string_view port_name, uint32_t baud_rate) {
    if (!IsAcceptablePortName(port_name) || !serial_line::IsSupportedBaudRate(baud_rate)) {
        return false;
    }
    impl_->port_name.assign(port_name);
    if (IsOpen()) {
        ClosePort(kDefaultCloseWaitMs);
    }
    impl_->fd = serial_line::OpenSerialDevice(impl_->port_name);
    if (impl_->fd < 0) {
        return false;
    }
    serial_line::SetExclusiveUse(impl_->fd, true);
    if (!serial_line::ConfigureSerialLine(impl_->fd, baud_rate) ||
        !serial_line::FlushSerialQueues(impl_->fd)) {
        ClosePort(kDefaultCloseWaitMs);
        return false;
    }
    impl_->monitor = SerialMonitor::Start(impl_->fd, {}, {kWriteTimeoutPerByteMs, kWriteTimeoutMs});
    if (!impl_->monitor) {
        ClosePort(kDefaultCloseWaitMs);
        return false;
    }
    impl_->baud_rate = baud_rate;
    return true;
}

void CnComm::ClosePort(uint32_t wait_ms) {
    if (!IsOpen()) {
        return;
    }
    if (impl_->monitor) {
        impl_->monitor->Stop(wait_ms);
        impl_->monitor.reset();
    }
    serial_line::FlushSerialQueues(impl_->fd);
    serial_line::SetExclusiveUse(impl_->fd, false);
    serial_line::CloseSerialDevice(impl_->fd);
    impl_->fd = -1;
}

bool CnComm::IsOpen() const {
    return impl_->fd >= 0;
}

std::string CnComm::PortName() const {
    return IsOpen() ? impl_->port_name : std::string();
}

uint32_t CnComm::BaudRate() const {
    return IsOpen() ? impl_->baud_rate : 0;
}

int CnComm::InputCount() const {
    if (!IsOpen()) {
        return -1;
    }
    return serial_line::QueuedInputCount(impl_->fd);
}

int CnComm::ReadPort(uint8_t* buffer, int count) {
    if (!IsOpen() || buffer == nullptr || count <= 0) {
        return 0;
    }
    const uint32_t start_ms = TickMs();
    uint32_t last_byte_ms = start_ms;
    int done = 0;
    bool woke_for_input = false;
    while (done < count) {
        const int n = serial_line::ReadAvailable(impl_->fd, buffer + done, count - done);
        if (n < 0) {
            break;
        }
        if (n > 0) {
            done += n;
            last_byte_ms = TickMs();
            woke_for_input = false;
            continue;
        }
        if (woke_for_input) {
            // Reported readable yet nothing came: do not wait on such a line again.
            break;
        }
        uint32_t wait_ms = RemainingMs(start_ms, kReadTotalTimeoutMs);
        if (done > 0) {
            wait_ms = std::min(wait_ms, RemainingMs(last_byte_ms, kReadIntervalTimeoutMs));
        }
        if (wait_ms == 0 || serial_line::WaitForEvent(impl_->fd, -1, static_cast<int>(wait_ms)) !=
                                WaitResult::Readable) {
            break;
        }
        woke_for_input = true;
    }
    return done;
}

int CnComm::WritePort(const uint8_t* bytes, int count) {
    if (!IsOpen() || bytes == nullptr || count <= 0) {
        return 0;
    }
    // What the port does not take now is finished by the monitoring thread, in order.
    if (!impl_->monitor) {
        return 0;
    }
    return impl_->monitor->Write(std::span(bytes, static_cast<size_t>(count)));
}

void CnComm::DrainInput() {
    int remaining = InputCount();
    std::array<uint8_t, 256> scratch;
    while (remaining > 0) {
        const int chunk = std::min(remaining, static_cast<int>(scratch.size()));
        const int n = serial_line::ReadAvailable(impl_->fd, scratch.data(), chunk);
        if (n <= 0) {
            break;
        }
        remaining -= n;
    }
}

bool CnComm::WaitForInput(uint32_t timeout_ms) const {
    if (!IsOpen()) {
        SleepMs(timeout_ms);
        return false;
    }
    const auto poll_ms = static_cast<int>(std::min<uint32_t>(timeout_ms, kLongestPollMs));
    switch (serial_line::WaitForEvent(impl_->fd, -1, poll_ms)) {
        case WaitResult::Readable:
            return true;
        case WaitResult::LineFault:
            SleepMs(std::min(timeout_ms, kLineFaultPauseMs));
            return false;
        case WaitResult::Woken:
        case WaitResult::TimedOut:
            return false;
    }
    return false;
}

size_t CnComm::PendingOutputBytes() const {
    return impl_->monitor ? impl_->monitor->PendingOutputBytes() : 0;
}

uint64_t CnComm::MonitorPassCount() const {
    return impl_->monitor ? impl_->monitor->PassCount() : 0;
}

}  // namespace panoptix
