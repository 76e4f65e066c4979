// The serial port on Windows: CreateFileW on \\.\COMn with overlapped I/O, 8N1 with no flow
// control, queues of 4096 bytes each, and WaitCommEvent for the waits.
//
// The engine sees descriptors: small integers that name an open port (or a wake event) in a
// table here. A duplicate names the same port, which is closed when its last name is.
//
// Reads never wait in the driver: the time-outs make ReadFile return what has arrived, and the
// engine bounds its own reads (100 ms between bytes, 500 ms in all). What a read takes from the
// driver goes into the port's own input queue first, and the input count is that queue plus what
// ClearCommError still reports in the driver; so the count is right also where a driver reports
// no input count (Wine on a pseudo-terminal does so).
//
// A write hands its bytes to the driver in one overlapped WriteFile and counts them as moved;
// the driver finishes them within the write time-out (1 ms per byte + 10000 ms), and the next
// write waits for that one to end. At most one WaitCommEvent is outstanding per port: whichever
// thread waits next takes over the one already started.
#include <windows.h>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "link/serial_port.h"

namespace panoptix::serial_line {
namespace {

constexpr DWORD kQueueBytes = 4096;
constexpr DWORD kWriteTimeoutPerByteMs = 1;
constexpr DWORD kWriteTimeoutMs = 10000;
// EV_RXCHAR | EV_TXEMPTY | EV_CTS | EV_DSR | EV_RLSD | EV_BREAK | EV_ERR | EV_RING.
constexpr DWORD kEventMask = 0x1FD;
constexpr DWORD kLineFaultEvents = EV_BREAK | EV_ERR;

HANDLE NewManualResetEvent() {
    return ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

// One open port with everything its overlapped operations need.
struct Port {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::mutex mutex;
    // Bytes taken from the driver that no caller has read yet, oldest first.
    std::deque<uint8_t> input;
    OVERLAPPED read_record{};
    OVERLAPPED event_record{};
    DWORD event_mask = 0;
    bool event_wait_pending = false;
    OVERLAPPED write_record{};
    std::vector<uint8_t> write_bytes;  // stays put while its write is pending
    bool write_pending = false;

    Port() {
        read_record.hEvent = NewManualResetEvent();
        event_record.hEvent = NewManualResetEvent();
        write_record.hEvent = NewManualResetEvent();
    }
    ~Port() {
        if (handle != INVALID_HANDLE_VALUE) {
            // A changed mask completes a pending WaitCommEvent; anything else is cancelled, and
            // both records are waited for before they go away.
            ::SetCommMask(handle, 0);
            ::CancelIoEx(handle, nullptr);
            DWORD done = 0;
            if (event_wait_pending) {
                ::GetOverlappedResult(handle, &event_record, &done, TRUE);
            }
            if (write_pending) {
                ::GetOverlappedResult(handle, &write_record, &done, TRUE);
            }
            ::PurgeComm(handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
            ::CloseHandle(handle);
        }
        for (HANDLE event : {read_record.hEvent, event_record.hEvent, write_record.hEvent}) {
            if (event != nullptr) {
                ::CloseHandle(event);
            }
        }
    }
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    bool Valid() const {
        return handle != INVALID_HANDLE_VALUE && read_record.hEvent != nullptr &&
               event_record.hEvent != nullptr && write_record.hEvent != nullptr;
    }

    // Before every read and write: line errors purge the transfer in that direction.
    void ClearLineErrors(DWORD purge) {
        DWORD errors = 0;
        COMSTAT status{};
        if (::ClearCommError(handle, &errors, &status) && errors != 0) {
            ::PurgeComm(handle, purge);
        }
    }

    // Moves what the driver holds into the input queue, up to the queue's size. False when the
    // port failed. Lock held.
    bool TakeArrivedInput() {
        uint8_t chunk[kQueueBytes];
        while (input.size() < kQueueBytes) {
            const DWORD room = kQueueBytes - static_cast<DWORD>(input.size());
            DWORD got = 0;
            if (!::ReadFile(handle, chunk, room, &got, &read_record)) {
                if (::GetLastError() != ERROR_IO_PENDING) {
                    return false;
                }
                // The time-outs say "return at once", but a driver may still queue the read
                // until a byte comes (Wine does on a pseudo-terminal): cancelled, it ends with
                // what it has taken, if anything.
                ::CancelIoEx(handle, &read_record);
                if (!::GetOverlappedResult(handle, &read_record, &got, TRUE) &&
                    ::GetLastError() != ERROR_OPERATION_ABORTED) {
                    return false;
                }
            }
            if (got == 0) {
                break;
            }
            input.insert(input.end(), chunk, chunk + got);
        }
        return true;
    }

    // Ends the bookkeeping of a write the driver has finished. Lock held.
    void CollectWrite() {
        DWORD done = 0;
        if (write_pending && (::GetOverlappedResult(handle, &write_record, &done, FALSE) ||
                              ::GetLastError() != ERROR_IO_INCOMPLETE)) {
            write_pending = false;
        }
    }

    // Takes the result of a WaitCommEvent that has ended; the mask it reported, or 0. Lock held.
    DWORD CollectEventWait() {
        DWORD done = 0;
        if (!event_wait_pending) {
            return 0;
        }
        if (::GetOverlappedResult(handle, &event_record, &done, FALSE)) {
            event_wait_pending = false;
            return event_mask;
        }
        if (::GetLastError() != ERROR_IO_INCOMPLETE) {
            event_wait_pending = false;
            return EV_ERR;
        }
        return 0;
    }

    // Starts a WaitCommEvent unless one is outstanding. Returns the mask of one that ended at
    // once (EV_ERR when it could not be started), else 0. Lock held.
    DWORD StartEventWait() {
        if (event_wait_pending) {
            return 0;
        }
        event_mask = 0;
        ::ResetEvent(event_record.hEvent);
        if (::WaitCommEvent(handle, &event_mask, &event_record)) {
            return event_mask != 0 ? event_mask : EV_RXCHAR;
        }
        if (::GetLastError() != ERROR_IO_PENDING) {
            return EV_ERR;
        }
        event_wait_pending = true;
        return 0;
    }
};

struct WakeEvent {
    HANDLE event = NewManualResetEvent();
    ~WakeEvent() {
        if (event != nullptr) {
            ::CloseHandle(event);
        }
    }
};

// The descriptors: each names a port or a wake event.
struct Entry {
    std::shared_ptr<Port> port;
    std::shared_ptr<WakeEvent> wake;
};

struct Table {
    std::mutex mutex;
    std::map<int, Entry> entries;
    int next = 3;

    int Add(Entry entry) {
        std::lock_guard lock(mutex);
        while (entries.count(next) != 0 || next < 3) {
            next = next < 3 ? 3 : next + 1;
        }
        const int id = next++;
        entries.emplace(id, std::move(entry));
        return id;
    }
    Entry Find(int id) {
        std::lock_guard lock(mutex);
        const auto found = entries.find(id);
        return found == entries.end() ? Entry{} : found->second;
    }
    void Remove(int id) {
        Entry removed;  // released outside the lock: closing a port may wait for the driver
        std::lock_guard lock(mutex);
        const auto found = entries.find(id);
        if (found != entries.end()) {
            removed = std::move(found->second);
            entries.erase(found);
        }
    }
};

Table& Descriptors() {
    static Table table;
    return table;
}

std::shared_ptr<Port> FindPort(int fd) {
    return fd < 0 ? nullptr : Descriptors().Find(fd).port;
}

std::shared_ptr<WakeEvent> FindWake(int fd) {
    return fd < 0 ? nullptr : Descriptors().Find(fd).wake;
}

std::wstring DevicePath(const std::string& name) {
    // COM10 and above open only by their device path; a name given as a path stays as it is.
    const std::string path = name.rfind("\\\\", 0) == 0 ? name : "\\\\.\\" + name;
    const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                            static_cast<int>(path.size()), nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                          wide.data(), units);
    return wide;
}

}  // namespace

bool IsSupportedBaudRate(uint32_t baud_rate) {
    switch (baud_rate) {
        case 9600:
        case 19200:
        case 38400:
        case 57600:
        case 115200:
            return true;
        default:
            return false;
    }
}

int OpenSerialDevice(const std::string& path) {
    const std::wstring device = DevicePath(path);
    if (device.empty()) {
        return -1;
    }
    auto port = std::make_shared<Port>();
    port->handle =
        ::CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!port->Valid()) {
        return -1;
    }
    return Descriptors().Add({std::move(port), nullptr});
}

void CloseSerialDevice(int fd) {
    if (fd >= 0) {
        Descriptors().Remove(fd);
    }
}

bool ConfigureSerialLine(int fd, uint32_t baud_rate) {
    const auto port = FindPort(fd);
    if (!port || !IsSupportedBaudRate(baud_rate)) {
        return false;
    }
    std::lock_guard lock(port->mutex);
    DCB line{};
    line.DCBlength = sizeof line;
    if (!::GetCommState(port->handle, &line)) {
        return false;
    }
    line.BaudRate = baud_rate;
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fAbortOnError = FALSE;
    if (!::SetCommState(port->handle, &line)) {
        return false;
    }
    COMMTIMEOUTS timeouts{};
    // ReadFile returns at once with what has arrived.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = kWriteTimeoutPerByteMs;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    if (!::SetupComm(port->handle, kQueueBytes, kQueueBytes) ||
        !::SetCommTimeouts(port->handle, &timeouts) || !::SetCommMask(port->handle, kEventMask)) {
        return false;
    }
    DCB applied{};
    applied.DCBlength = sizeof applied;
    return ::GetCommState(port->handle, &applied) && applied.BaudRate == baud_rate &&
           applied.ByteSize == 8 && applied.Parity == NOPARITY;
}

bool FlushSerialQueues(int fd) {
    const auto port = FindPort(fd);
    if (!port) {
        return false;
    }
    std::lock_guard lock(port->mutex);
    port->input.clear();
    return ::PurgeComm(port->handle,
                       PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR) != FALSE;
}

void SetExclusiveUse(int, bool) {
    // CreateFileW opened the port without sharing: nobody else can open it meanwhile.
}

int QueuedInputCount(int fd) {
    const auto port = FindPort(fd);
    if (!port) {
        return -1;
    }
    std::lock_guard lock(port->mutex);
    if (!port->TakeArrivedInput()) {
        return -1;
    }
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(port->handle, &errors, &status)) {
        return -1;
    }
    return static_cast<int>(port->input.size() + status.cbInQue);
}

int ReadAvailable(int fd, uint8_t* buffer, int count) {
    const auto port = FindPort(fd);
    if (!port) {
        return -1;
    }
    if (count <= 0) {
        return 0;
    }
    std::lock_guard lock(port->mutex);
    port->ClearLineErrors(PURGE_RXABORT);
    const bool took = port->TakeArrivedInput();
    if (!took && port->input.empty()) {
        return -1;
    }
    const size_t n = std::min(port->input.size(), static_cast<size_t>(count));
    std::copy_n(port->input.begin(), n, buffer);
    port->input.erase(port->input.begin(), port->input.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<int>(n);
}

int WriteAvailable(int fd, const uint8_t* bytes, int count) {
    const auto port = FindPort(fd);
    if (!port) {
        return -1;
    }
    if (count <= 0) {
        return 0;
    }
    std::lock_guard lock(port->mutex);
    port->CollectWrite();
    if (port->write_pending) {
        return 0;  // the driver is still busy with the last write
    }
    port->ClearLineErrors(PURGE_TXABORT);
    port->write_bytes.assign(bytes, bytes + count);
    DWORD done = 0;
    ::ResetEvent(port->write_record.hEvent);
    if (::WriteFile(port->handle, port->write_bytes.data(), static_cast<DWORD>(count), &done,
                    &port->write_record)) {
        return static_cast<int>(done);
    }
    if (::GetLastError() != ERROR_IO_PENDING) {
        return -1;
    }
    port->write_pending = true;
    return count;
}

PortEvents WaitForPortEvents(int port_fd, PortInterest interest, int wake_fd, int timeout_ms) {
    const auto port = FindPort(port_fd);
    const auto wake = FindWake(wake_fd);
    const bool want_input = interest != PortInterest::Output;
    const bool want_output = interest != PortInterest::Input;
    PortEvents events;

    // What holds already, after collecting what has ended. Lock held.
    const auto look = [&](DWORD mask) {
        if ((mask & kLineFaultEvents) != 0) {
            events.line_fault = true;
        }
        if (want_input) {
            if (!port->TakeArrivedInput()) {
                events.line_fault = true;
            }
            events.readable = !port->input.empty();
        }
        if (want_output) {
            port->CollectWrite();
            events.writable = !port->write_pending;
        }
        return events.readable || events.writable || events.line_fault;
    };

    std::vector<HANDLE> waits;
    if (port) {
        std::lock_guard lock(port->mutex);
        if (look(port->CollectEventWait())) {
            return events;
        }
        if (want_input) {
            // Input that came after the look above is in the event history, so the wait ends
            // at once for it.
            const DWORD ended = port->StartEventWait();
            if (ended != 0 && look(ended)) {
                return events;
            }
            if (port->event_wait_pending) {
                waits.push_back(port->event_record.hEvent);
            }
        }
        if (want_output && port->write_pending) {
            waits.push_back(port->write_record.hEvent);
        }
    }
    if (wake) {
        waits.push_back(wake->event);
    }
    const DWORD wait_ms = timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms);
    if (waits.empty()) {
        ::Sleep(wait_ms);
        return events;
    }
    const DWORD result =
        ::WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, wait_ms);
    if (result == WAIT_TIMEOUT) {
        return events;
    }
    if (result == WAIT_FAILED) {
        events.line_fault = true;
        return events;
    }
    if (wake) {
        events.woken = ::WaitForSingleObject(wake->event, 0) == WAIT_OBJECT_0;
    }
    if (port) {
        std::lock_guard lock(port->mutex);
        look(port->CollectEventWait());
    }
    return events;
}

WaitResult WaitForEvent(int port_fd, int wake_fd, int timeout_ms) {
    const PortEvents events = WaitForPortEvents(port_fd, PortInterest::Input, wake_fd, timeout_ms);
    if (events.woken) {
        return WaitResult::Woken;
    }
    if (events.line_fault) {
        return WaitResult::LineFault;
    }
    return events.readable ? WaitResult::Readable : WaitResult::TimedOut;
}

bool CreateWakePipe(WakePipe& pipe) {
    auto wake = std::make_shared<WakeEvent>();
    if (wake->event == nullptr) {
        return false;
    }
    // One event serves both ends.
    pipe.read_fd = pipe.write_fd = Descriptors().Add({nullptr, std::move(wake)});
    return true;
}

void SignalWake(const WakePipe& pipe) {
    if (const auto wake = FindWake(pipe.write_fd)) {
        ::SetEvent(wake->event);
    }
}

void DrainWake(const WakePipe& pipe) {
    if (const auto wake = FindWake(pipe.read_fd)) {
        ::ResetEvent(wake->event);
    }
}

void CloseWakePipe(WakePipe& pipe) {
    if (pipe.read_fd >= 0) {
        Descriptors().Remove(pipe.read_fd);
    }
    if (pipe.write_fd >= 0 && pipe.write_fd != pipe.read_fd) {
        Descriptors().Remove(pipe.write_fd);
    }
    pipe.read_fd = pipe.write_fd = -1;
}

int DuplicateDescriptor(int fd) {
    const auto port = FindPort(fd);
    return port ? Descriptors().Add({port, nullptr}) : -1;
}

}  // namespace panoptix::serial_line
