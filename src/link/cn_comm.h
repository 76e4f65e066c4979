#pragma once
// CnComm: the serial port engine. One object owns the one serial port of the system; it is
// driven by termios (8N1, 9600 to 115200 baud) and runs one monitoring thread that waits for
// port events. Reading is done by polling from the user-interface thread: callers ask how many
// bytes wait and read that many.
#include <cstdint>
#include <string_view>

namespace panoptix {

class CnComm {
  public:
    CnComm();
    virtual ~CnComm();
    CnComm(const CnComm&) = delete;
    CnComm& operator=(const CnComm&) = delete;

    // Opens and configures the port and starts the monitoring thread. A name of 63 or more
    // characters is refused without touching the system. An open port is closed first.
    bool OpenPort(std::string_view port_name, uint32_t baud_rate);
    // Stops the monitoring thread (waiting up to wait_ms for it) and closes the port.
    void ClosePort(uint32_t wait_ms = 500);
    bool IsOpen() const;

    // Bytes waiting in the input queue, or -1 when the port is closed or the query fails.
    int InputCount() const;
    // Reads up to count bytes; never waits for ever. 0 when closed or count is 0.
    int ReadPort(uint8_t* buffer, int count);
    // Bytes written; 0 when closed, count is 0 or the write could not be started.
    int WritePort(const uint8_t* bytes, int count);
    // Reads and discards whatever the input queue holds at this moment.
    void DrainInput();
    // Sleeps on the descriptor until input is readable or timeout_ms passes; true if readable.
    bool WaitForInput(uint32_t timeout_ms) const;

  private:
    struct Impl;
    Impl* impl_;
};

}  // namespace panoptix
