#include "signal_events.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace panoptix::devsim {

SignalEvents::~SignalEvents() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

SignalEvents::SignalEvents(SignalEvents&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

std::optional<SignalEvents> SignalEvents::Open(std::string& error) {
    signal(SIGPIPE, SIG_IGN);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) {
        error = std::string("sigprocmask: ") + std::strerror(errno);
        return std::nullopt;
    }
    SignalEvents events;
    events.fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (events.fd_ < 0) {
        error = std::string("signalfd: ") + std::strerror(errno);
        return std::nullopt;
    }
    return events;
}

SignalEvent SignalEvents::Take() const {
    signalfd_siginfo info{};
    if (read(fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
        return SignalEvent::None;
    }
    return info.ssi_signo == SIGUSR1 ? SignalEvent::DumpState : SignalEvent::Stop;
}

}  // namespace panoptix::devsim
