#pragma once
// SIGINT, SIGTERM and SIGUSR1 as a readable descriptor (signalfd), so the main loop sleeps on
// one poll for datagrams, serial bytes and signals alike. SIGPIPE is ignored.
#include <optional>
#include <string>

namespace panoptix::devsim {

enum class SignalEvent { None, Stop, DumpState };

class SignalEvents {
  public:
    SignalEvents() = default;
    ~SignalEvents();
    SignalEvents(SignalEvents&& other) noexcept;
    SignalEvents& operator=(SignalEvents&&) = delete;
    SignalEvents(const SignalEvents&) = delete;
    SignalEvents& operator=(const SignalEvents&) = delete;

    static std::optional<SignalEvents> Open(std::string& error);
    int Fd() const { return fd_; }
    // The signal that made the descriptor readable.
    SignalEvent Take() const;

  private:
    int fd_ = -1;
};

}  // namespace panoptix::devsim
