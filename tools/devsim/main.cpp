// panoptix-devsim: one simulated device on UDP and, optionally, a pseudo-terminal. The device
// models do the work; this file only moves bytes between them and the descriptors.
#include <poll.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "device_factory.h"
#include "devsim_options.h"
#include "link/clock.h"
#include "log_line.h"
#include "pseudo_terminal.h"
#include "serial_accumulator.h"
#include "signal_events.h"
#include "state_file.h"
#include "text_codec.h"
#include "udp_endpoint.h"

namespace panoptix::devsim {
namespace {

// A serial unit left incomplete this long after the last byte is dropped.
constexpr uint32_t kSerialQuietMs = 1000;
// How long a serial reply may wait for room before the rest is dropped.
constexpr int kSerialWriteWaitMs = 200;
constexpr std::string_view kSerialWho = "serial";

class Simulator {
  public:
    Simulator(std::unique_ptr<DeviceModel> model, UdpEndpoint udp,
              std::optional<PseudoTerminal> serial, SignalEvents signals)
        : model_(std::move(model)),
          udp_(std::move(udp)),
          serial_(std::move(serial)),
          signals_(std::move(signals)) {}

    void Run() {
        for (;;) {
            std::vector<pollfd> fds;
            fds.push_back({signals_.Fd(), POLLIN, 0});
            fds.push_back({udp_.UnicastFd(), POLLIN, 0});
            fds.push_back({udp_.BroadcastFd(), POLLIN, 0});  // -1 is skipped by poll
            fds.push_back({serial_open_ ? serial_->MasterFd() : -1, POLLIN, 0});
            const int timeout_ms =
                accumulator_.Pending() > 0
                    ? static_cast<int>(RemainingMs(last_serial_ms_, kSerialQuietMs))
                    : -1;
            const int ready = poll(fds.data(), fds.size(), timeout_ms);
            if (ready < 0) {
                continue;  // EINTR
            }
            if (fds[0].revents != 0 && !OnSignal()) {
                return;
            }
            for (size_t i : {size_t{1}, size_t{2}}) {
                if (fds[i].revents != 0) {
                    OnDatagram(fds[i].fd);
                }
            }
            if (fds[3].revents != 0) {
                OnSerialInput();
            }
            if (accumulator_.Pending() > 0 && RemainingMs(last_serial_ms_, kSerialQuietMs) == 0) {
                for (const CutBytes& cut : accumulator_.Flush()) {
                    Answer(kSerialWho, model_->ReceiveSerial(cut), nullptr);
                }
            }
        }
    }

  private:
    // False when the simulator is to stop.
    bool OnSignal() {
        switch (signals_.Take()) {
            case SignalEvent::Stop:
                WriteLogLine(KindName(model_->Identity().kind), "stopped");
                return false;
            case SignalEvent::DumpState:
                for (const std::string& line : model_->StateLines()) {
                    WriteLogLine("state", line);
                }
                return true;
            case SignalEvent::None:
                return true;
        }
        return true;
    }

    void OnDatagram(int fd) {
        const auto datagram = udp_.Receive(fd);
        if (!datagram || udp_.IsOwn(datagram->peer)) {
            return;
        }
        const std::string who = PeerText(datagram->peer);
        if (datagram->full_size > datagram->bytes.size()) {
            WriteLogLine(who, "ignored " + std::to_string(datagram->full_size) +
                                  " bytes: datagram longer than any command");
            return;
        }
        Answer(who, model_->ReceiveDatagram(datagram->bytes), &datagram->peer);
    }

    void OnSerialInput() {
        uint8_t buffer[4096];
        const int size = serial_->Read(buffer);
        if (size < 0) {
            WriteLogLine(kSerialWho, "the pseudo-terminal failed; serial input stops");
            serial_open_ = false;
            return;
        }
        if (size == 0) {
            return;
        }
        last_serial_ms_ = TickMs();
        accumulator_.Append({buffer, static_cast<size_t>(size)});
        while (auto cut = accumulator_.Next()) {
            Answer(kSerialWho, model_->ReceiveSerial(*cut), nullptr);
        }
    }

    // Logs what was received and sends the reply back: to peer by UDP, else on the serial line.
    void Answer(std::string_view who, const Response& response, const sockaddr_in* peer) {
        std::string account = response.account;
        if (!response.reply.empty()) {
            if (peer != nullptr) {
                if (!udp_.Send(response.reply, *peer)) {
                    account += " (the reply could not be sent)";
                }
            } else if (serial_open_) {
                const size_t written = serial_->Write(response.reply, kSerialWriteWaitMs);
                if (written < response.reply.size()) {
                    account += " (" + std::to_string(response.reply.size() - written) +
                               " bytes dropped: nobody reads the serial line)";
                }
            }
        }
        WriteLogLine(who, account);
    }

    std::unique_ptr<DeviceModel> model_;
    UdpEndpoint udp_;
    std::optional<PseudoTerminal> serial_;
    bool serial_open_ = serial_.has_value();
    SignalEvents signals_;
    SerialAccumulator accumulator_;
    uint32_t last_serial_ms_ = 0;
};

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "panoptix-devsim: %s\n", message.c_str());
    return code;
}

int Run(std::span<const std::string_view> args) {
    DevsimOptions options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        return Fail(error + " (see --help)", 2);
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    auto model = MakeDeviceModel(
        DeviceIdentity{options.kind, options.model_name, options.type_byte, options.address_byte});
    if (!options.state_file.empty()) {
        std::string text;
        if (!ReadFile(options.state_file, text)) {
            return Fail("cannot read " + options.state_file, 2);
        }
        if (!ApplyStateText(*model, text, error)) {
            return Fail(options.state_file + ": " + error, 2);
        }
    }
    // Signals first, so that a stop request during start-up is not lost.
    auto signals = SignalEvents::Open(error);
    if (!signals) {
        return Fail(error, 1);
    }
    auto udp = UdpEndpoint::Open(options.bind_address, options.port, error);
    if (!udp) {
        return Fail(error, 1);
    }
    std::optional<PseudoTerminal> serial =
        options.serial ? PseudoTerminal::Open(options.serial_link, error) : std::nullopt;
    if (options.serial && !serial) {
        return Fail(error, 1);
    }

    const std::string kind(KindName(options.kind));
    WriteLogLine(kind, options.model_name + " (type " + HexByte(options.type_byte) + ", address " +
                           HexByte(options.address_byte) + ") on UDP " + options.bind_address +
                           ":" + std::to_string(options.port) +
                           (udp->BroadcastFd() >= 0 ? ", broadcasts too" : ""));
    if (serial) {
        WriteLogLine(kSerialWho,
                     serial->SlavePath() + (options.serial_link.empty()
                                                ? std::string()
                                                : " (link " + options.serial_link + ")"));
    }
    Simulator simulator(std::move(model), std::move(*udp), std::move(serial), std::move(*signals));
    simulator.Run();
    return 0;
}

}  // namespace
}  // namespace panoptix::devsim

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    return panoptix::devsim::Run(args);
}
