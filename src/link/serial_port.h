#pragma once
// The platform calls behind the serial port engine, declared without any platform header. The
// build picks the implementation: serial_port_posix.cpp (termios, ioctl and poll on a
// descriptor) on POSIX systems, serial_port_win32.cpp (overlapped Win32 serial I/O and
// WaitCommEvent) on Windows. Handles are plain integers, -1 for none. Nothing here keeps
// state; the engine and its monitoring thread own the handles.
#include <cstdint>
#include <string>

namespace panoptix::serial_line {

// The line speeds the settings dialog offers.
bool IsSupportedBaudRate(uint32_t baud_rate);

// Opens the device for reading and writing, non-blocking, not as a controlling terminal.
// Returns the descriptor or -1.
int OpenSerialDevice(const std::string& path);
void CloseSerialDevice(int fd);

// Raw mode, 8 data bits, no parity (and no parity check), one stop bit, no flow control, the
// given speed. False when the device is not a terminal or refuses the settings.
bool ConfigureSerialLine(int fd, uint32_t baud_rate);

// Discards what waits in both directions.
bool FlushSerialQueues(int fd);

// Keeps other programs from opening the port while it is ours (best effort).
void SetExclusiveUse(int fd, bool exclusive);

// Bytes waiting in the input queue, or -1 when the query fails.
int QueuedInputCount(int fd);

// One non-blocking read or write. Returns the bytes moved (> 0), 0 when nothing can move right
// now, or -1 when the descriptor failed.
int ReadAvailable(int fd, uint8_t* buffer, int count);
int WriteAvailable(int fd, const uint8_t* bytes, int count);

enum class WaitResult {
    Readable,   // input waits on the port
    TimedOut,   // nothing happened within the time
    Woken,      // the wake descriptor became readable
    LineFault,  // the line hung up or reports an error; waiting on it again would not block
};

// Sleeps until the port has input, wake_fd (if >= 0) becomes readable, or timeout_ms passes
// (-1: no limit). A port of -1 is not watched.
WaitResult WaitForEvent(int port_fd, int wake_fd, int timeout_ms);

// What a wait watches on the port besides the wake descriptor.
enum class PortInterest { Input, Output, InputAndOutput };

// What ended a wait; several may hold at once, none when the time passed.
struct PortEvents {
    bool readable = false;    // input waits on the port
    bool writable = false;    // the port takes output again
    bool woken = false;       // the wake descriptor became readable
    bool line_fault = false;  // hang-up or error: waiting on the line again would not block
};

// Sleeps until one of the watched events happens or timeout_ms passes (-1: no limit). An
// interrupted wait reports nothing, as if the time had passed. A port of -1 is not watched.
PortEvents WaitForPortEvents(int port_fd, PortInterest interest, int wake_fd, int timeout_ms);

// A pipe whose read end wakes a waiting thread. Both ends are non-blocking and close on exec.
struct WakePipe {
    int read_fd = -1;
    int write_fd = -1;
};
bool CreateWakePipe(WakePipe& pipe);
void SignalWake(const WakePipe& pipe);
// Empties the read end, so that the next wait sleeps again.
void DrainWake(const WakePipe& pipe);
void CloseWakePipe(WakePipe& pipe);

// A second descriptor for the same open port, so that a thread can watch it independently of
// when the engine closes its own.
int DuplicateDescriptor(int fd);

}  // namespace panoptix::serial_line
