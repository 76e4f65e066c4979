#pragma once
// CnComm: the serial port engine. One object owns the one serial port of the system; it is
// driven by termios (8N1, 9600 to 115200 baud) and runs one monitoring thread that waits for
// port events. Reading is done by polling from the user-interface thread: callers ask how many
// bytes wait and read that many. All operations are called from that one thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace panoptix {

class CnComm {
  public:
    // The longest port name accepted (62 characters; the name buffer holds 64 with the NUL).
    static constexpr size_t kMaxPortNameLength = 62;
    // Time-outs that bound a read asking for more than has arrived.
    static constexpr uint32_t kReadIntervalTimeoutMs = 100;
    static constexpr uint32_t kReadTotalTimeoutMs = 500;
    static constexpr uint32_t kDefaultCloseWaitMs = 500;
    // A write that the port cannot take at once is finished within 1 ms per byte + 10000 ms.
    static constexpr uint32_t kWriteTimeoutPerByteMs = 1;
    static constexpr uint32_t kWriteTimeoutMs = 10000;

    CnComm();
    // Closes the port, waiting up to 500 ms for the monitoring thread.
    virtual ~CnComm();
    CnComm(const CnComm&) = delete;
    CnComm& operator=(const CnComm&) = delete;

    // Opens and configures the port and starts the monitoring thread. A name of 63 or more
    // characters, and a baud rate other than 9600, 19200, 38400, 57600 or 115200, are refused
    // without touching the system (an open port stays open). Otherwise an open port is closed
    // first; on any later failure the port ends up closed.
    bool OpenPort(std::string_view port_name, uint32_t baud_rate);
    // Stops the monitoring thread (waiting up to wait_ms for it) and closes the port. A thread
    // that has not ended by then is let go and ends by itself.
    void ClosePort(uint32_t wait_ms = kDefaultCloseWaitMs);
    // The port counts as open exactly when its descriptor is valid.
    bool IsOpen() const;
    // The name and baud rate the open port was opened with; "" and 0 while closed.
    std::string PortName() const;
    uint32_t BaudRate() const;

    // Bytes waiting in the input queue, or -1 when the port is closed or the query fails.
    int InputCount() const;
    // Reads up to count bytes. Returns what has arrived once count bytes are in, 100 ms pass
    // without a further byte, or 500 ms pass in all. 0 when closed or count is not positive.
    int ReadPort(uint8_t* buffer, int count);
    // Hands the bytes to the port without waiting and returns how many went out at once; 0
    // when closed, count is not positive, the port failed, or earlier output still waits. What
    // the port does not take at once is finished by the monitoring thread in order, within the
    // write time-out, so a frame never leaves cut short; closing the port gives it up.
    int WritePort(const uint8_t* bytes, int count);
    // Bytes handed to WritePort that have not gone out yet.
    size_t PendingOutputBytes() const;
    // Reads and discards whatever the input queue holds at this moment (nothing when the count
    // cannot be read).
    void DrainInput();
    // Sleeps on the descriptor until input is readable or timeout_ms passes; true if readable.
    // A closed port sleeps the whole time; a hung-up line pauses at most 10 ms.
    bool WaitForInput(uint32_t timeout_ms) const;

    // Passes the monitoring thread has made since the port was opened (diagnostics; 0 while
    // closed).
    uint64_t MonitorPassCount() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace panoptix
