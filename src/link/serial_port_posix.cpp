#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace panoptix::serial_line {
namespace {

bool BaudConstant(uint32_t baud_rate, speed_t& speed) {
    switch (baud_rate) {
        case 9600:
            speed = B9600;
            return true;
        case 19200:
            speed = B19200;
            return true;
        case 38400:
            speed = B38400;
            return true;
        case 57600:
            speed = B57600;
            return true;
        case 115200:
            speed = B115200;
            return true;
        default:
            return false;
    }
}

bool IsTransient(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

}  // namespace

bool IsSupportedBaudRate(uint32_t baud_rate) {
    speed_t speed;
    return BaudConstant(baud_rate, speed);
}

int OpenSerialDevice(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

void CloseSerialDevice(int fd) {
    if (fd >= 0) {
        ::close(fd);
    }
}

bool ConfigureSerialLine(int fd, uint32_t baud_rate) {
    speed_t speed;
    if (!BaudConstant(baud_rate, speed)) {
        return false;
    }
    termios line{};
    if (::tcgetattr(fd, &line) != 0) {
        return false;
    }
    ::cfmakeraw(&line);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF | IXANY);
    // Reads return what is there at once; the engine does its own waiting with poll.
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    if (::cfsetispeed(&line, speed) != 0 || ::cfsetospeed(&line, speed) != 0) {
        return false;
    }
    if (::tcsetattr(fd, TCSANOW, &line) != 0) {
        return false;
    }
    // tcsetattr succeeds when any part was taken; check that the parts that matter were.
    termios applied{};
    if (::tcgetattr(fd, &applied) != 0) {
        return false;
    }
    return (applied.c_cflag & CSIZE) == CS8 && (applied.c_cflag & PARENB) == 0 &&
           ::cfgetospeed(&applied) == speed;
}

bool FlushSerialQueues(int fd) {
    return ::tcflush(fd, TCIOFLUSH) == 0;
}

void SetExclusiveUse(int fd, bool exclusive) {
    ::ioctl(fd, exclusive ? TIOCEXCL : TIOCNXCL);
}

int QueuedInputCount(int fd) {
    int count = 0;
    if (::ioctl(fd, FIONREAD, &count) != 0 || count < 0) {
        return -1;
    }
    return count;
}

int ReadAvailable(int fd, uint8_t* buffer, int count) {
    // In raw mode with no minimum a read of an empty queue returns 0 instead of EAGAIN; both
    // mean "nothing now". A hang-up shows up in poll, not here.
    const ssize_t n = ::read(fd, buffer, static_cast<size_t>(count));
    if (n >= 0) {
        return static_cast<int>(n);
    }
    return IsTransient(errno) ? 0 : -1;
}

int WriteAvailable(int fd, const uint8_t* bytes, int count) {
    const ssize_t n = ::write(fd, bytes, static_cast<size_t>(count));
    if (n >= 0) {
        return static_cast<int>(n);
    }
    return IsTransient(errno) ? 0 : -1;
}

PortEvents WaitForPortEvents(int port_fd, PortInterest interest, int wake_fd, int timeout_ms) {
    short port_events = 0;
    if (interest != PortInterest::Output) {
        port_events |= POLLIN;
    }
    if (interest != PortInterest::Input) {
        port_events |= POLLOUT;
    }
    pollfd fds[2] = {{port_fd, port_events, 0}, {wake_fd, POLLIN, 0}};
    PortEvents events;
    const int ready = ::poll(fds, 2, timeout_ms);
    if (ready < 0) {
        // An interrupted wait is reported as a time-out; callers recompute what is left.
        events.line_fault = errno != EINTR;
        return events;
    }
    events.woken = fds[1].revents != 0;
    // A hung-up line stays "readable" for ever; report it so that callers pause instead of
    // spinning. Bytes still queued are read by the callers' next non-blocking read.
    events.line_fault = (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    events.readable = !events.line_fault && (fds[0].revents & POLLIN) != 0;
    events.writable = !events.line_fault && (fds[0].revents & POLLOUT) != 0;
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
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        return false;
    }
    pipe.read_fd = fds[0];
    pipe.write_fd = fds[1];
    return true;
}

void SignalWake(const WakePipe& pipe) {
    const uint8_t byte = 1;
    // A full pipe already wakes the reader, so a failed write needs no handling.
    [[maybe_unused]] const ssize_t n = ::write(pipe.write_fd, &byte, 1);
}

void DrainWake(const WakePipe& pipe) {
    uint8_t bytes[64];
    while (::read(pipe.read_fd, bytes, sizeof bytes) > 0) {
    }
}

void CloseWakePipe(WakePipe& pipe) {
    for (int* fd : {&pipe.read_fd, &pipe.write_fd}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

int DuplicateDescriptor(int fd) {
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

}  // namespace panoptix::serial_line
