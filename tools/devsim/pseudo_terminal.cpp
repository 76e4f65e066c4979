#include "pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace panoptix::devsim {
namespace {

// True when path is a symbolic link that points at target.
bool LinksTo(const std::string& path, const std::string& target) {
    char buffer[PATH_MAX] = {};
    const ssize_t size = readlink(path.c_str(), buffer, sizeof buffer - 1);
    return size > 0 && std::string(buffer, static_cast<size_t>(size)) == target;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    // Remove the link only while it is still ours.
    if (!link_path_.empty() && LinksTo(link_path_, slave_path_)) {
        unlink(link_path_.c_str());
    }
    if (slave_fd_ >= 0) {
        close(slave_fd_);
    }
    if (master_fd_ >= 0) {
        close(master_fd_);
    }
}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : master_fd_(std::exchange(other.master_fd_, -1)),
      slave_fd_(std::exchange(other.slave_fd_, -1)),
      slave_path_(std::move(other.slave_path_)),
      link_path_(std::exchange(other.link_path_, {})) {}

std::optional<PseudoTerminal> PseudoTerminal::Open(const std::string& link_path,
                                                   std::string& error) {
    PseudoTerminal terminal;
    char name[PATH_MAX] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    if (openpty(&terminal.master_fd_, &terminal.slave_fd_, name, &raw, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return std::nullopt;
    }
    terminal.slave_path_ = name;
    fcntl(terminal.master_fd_, F_SETFL, fcntl(terminal.master_fd_, F_GETFL) | O_NONBLOCK);
    fcntl(terminal.master_fd_, F_SETFD, FD_CLOEXEC);
    fcntl(terminal.slave_fd_, F_SETFD, FD_CLOEXEC);

    if (!link_path.empty()) {
        struct stat existing {};
        if (lstat(link_path.c_str(), &existing) == 0) {
            if (!S_ISLNK(existing.st_mode)) {
                error = link_path + " exists and is not a symbolic link";
                return std::nullopt;
            }
            unlink(link_path.c_str());
        }
        if (symlink(terminal.slave_path_.c_str(), link_path.c_str()) != 0) {
            error = "symlink " + link_path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        terminal.link_path_ = link_path;
    }
    return terminal;
}

int PseudoTerminal::Read(std::span<uint8_t> buffer) const {
    const ssize_t size = read(master_fd_, buffer.data(), buffer.size());
    if (size < 0) {
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    }
    return static_cast<int>(size);
}

size_t PseudoTerminal::Write(std::span<const uint8_t> bytes, int wait_ms) const {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t size = write(master_fd_, bytes.data() + written, bytes.size() - written);
        if (size > 0) {
            written += static_cast<size_t>(size);
            continue;
        }
        if (size < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
        // No room: the panel is not reading. Sleep on the descriptor for room.
        pollfd room{master_fd_, POLLOUT, 0};
        if (poll(&room, 1, wait_ms) <= 0) {
            break;
        }
    }
    return written;
}

}  // namespace panoptix::devsim
