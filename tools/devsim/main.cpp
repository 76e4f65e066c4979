// panoptix-devsim: one simulated device on UDP and, optionally, a pseudo-terminal. The device
// models do the work; this file only moves bytes between them and the descriptors.
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "chaos.h"
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

constexpr std::string_view kChaosWho = "chaos";

// With --chaos: the misbehaviour's plan, the replies it holds back and the serial line it has
// dropped.
struct ChaosRun {
    struct Held {
        uint32_t due_ms = 0;
        std::vector<uint8_t> bytes;
        std::optional<sockaddr_in> peer;  // none: the serial line
    };
    Chaos plan;
    std::vector<Held> held;
    std::optional<sockaddr_in> last_peer;  // who talked to the device last, by UDP
    std::optional<uint32_t> serial_back_ms;
};

// Ticks wrap; what matters is the signed distance.
int MsUntil(uint32_t due_ms) {
    return std::max(0, static_cast<int>(static_cast<int32_t>(due_ms - TickMs())));
}

class Simulator {
  public:
    Simulator(std::unique_ptr<DeviceModel> model, UdpEndpoint udp,
              std::optional<PseudoTerminal> serial, std::string serial_link, SignalEvents signals,
              std::optional<uint64_t> chaos_seed)
        : model_(std::move(model)),
          udp_(std::move(udp)),
          serial_(std::move(serial)),
          serial_link_(std::move(serial_link)),
          signals_(std::move(signals)) {
        if (chaos_seed) {
            const DeviceIdentity& identity = model_->Identity();
            chaos_.emplace(ChaosRun{Chaos(*chaos_seed, identity.type_byte, identity.address_byte,
                                          identity.kind == DeviceKind::Matrix, TickMs()),
                                    {},
                                    {},
                                    {}});
            WriteLogLine(kChaosWho, "seed " + std::to_string(*chaos_seed));
        }
    }

    void Run() {
        for (;;) {
            std::vector<pollfd> fds;
            fds.push_back({signals_.Fd(), POLLIN, 0});
            fds.push_back({udp_.UnicastFd(), POLLIN, 0});
            fds.push_back({udp_.BroadcastFd(), POLLIN, 0});  // -1 is skipped by poll
            fds.push_back({serial_open_ ? serial_->MasterFd() : -1, POLLIN, 0});
            int timeout_ms = accumulator_.Pending() > 0
                                 ? static_cast<int>(RemainingMs(last_serial_ms_, kSerialQuietMs))
                                 : -1;
            if (chaos_) {
                const int chaos_ms = ChaosTimeoutMs();
                timeout_ms = timeout_ms < 0 ? chaos_ms : std::min(timeout_ms, chaos_ms);
            }
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
            if (chaos_) {
                RunChaos();
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
        if (chaos_) {
            chaos_->last_peer = datagram->peer;
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
        if (chaos_ && !response.reply.empty()) {
            AnswerWithChaos(who, response, peer);
            return;
        }
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

    // The reply as the misbehaving device sends it: maybe not, late, cut, corrupt or twice.
    void AnswerWithChaos(std::string_view who, const Response& response, const sockaddr_in* peer) {
        WriteLogLine(who, response.account);
        ChaosReply fate = chaos_->plan.OnReply(response.reply, TickMs());
        if (!fate.account.empty()) {
            WriteLogLine(kChaosWho, std::string(who) + ": " + fate.account);
        }
        std::optional<sockaddr_in> to;
        if (peer != nullptr) {
            to = *peer;
        }
        switch (fate.fate) {
            case ReplyFate::Drop:
            case ReplyFate::Silent:
                return;
            case ReplyFate::Late:
                chaos_->held.push_back({TickMs() + fate.delay_ms, std::move(fate.bytes), to});
                return;
            case ReplyFate::Twice:
                SendRaw(fate.bytes, to);
                SendRaw(fate.bytes, to);
                return;
            case ReplyFate::Send:
            case ReplyFate::Cut:
            case ReplyFate::Corrupt:
                SendRaw(fate.bytes, to);
                return;
        }
    }

    // Sends bytes by UDP to peer, or on the serial line while it is there; notes what failed.
    void SendRaw(std::span<const uint8_t> bytes, const std::optional<sockaddr_in>& peer) {
        if (peer) {
            if (!udp_.Send(bytes, *peer)) {
                WriteLogLine(kChaosWho, "a UDP send failed");
            }
        } else if (serial_open_) {
            serial_->Write(bytes, kSerialWriteWaitMs);
        } else {
            WriteLogLine(kChaosWho,
                         "no serial line: " + std::to_string(bytes.size()) + " bytes not sent");
        }
    }

    int ChaosTimeoutMs() const {
        int timeout_ms = MsUntil(chaos_->plan.NextEventMs());
        for (const ChaosRun::Held& held : chaos_->held) {
            timeout_ms = std::min(timeout_ms, MsUntil(held.due_ms));
        }
        if (chaos_->serial_back_ms) {
            timeout_ms = std::min(timeout_ms, MsUntil(*chaos_->serial_back_ms));
        }
        return timeout_ms;
    }

    // Sends the late replies that are due, brings the serial line back, runs the timed events.
    void RunChaos() {
        std::vector<ChaosRun::Held> due;
        auto& held = chaos_->held;
        for (auto it = held.begin(); it != held.end();) {
            if (MsUntil(it->due_ms) == 0) {
                due.push_back(std::move(*it));
                it = held.erase(it);
            } else {
                ++it;
            }
        }
        for (const ChaosRun::Held& reply : due) {
            WriteLogLine(kChaosWho,
                         "a late " + std::to_string(reply.bytes.size()) + "-byte reply goes now");
            SendRaw(reply.bytes, reply.peer);
        }
        if (chaos_->serial_back_ms && MsUntil(*chaos_->serial_back_ms) == 0) {
            chaos_->serial_back_ms.reset();
            std::string error;
            auto terminal = PseudoTerminal::Open(serial_link_, error);
            if (terminal) {
                serial_.emplace(std::move(*terminal));
                serial_open_ = true;
                WriteLogLine(
                    kSerialWho,
                    "back: " + serial_->SlavePath() +
                        (serial_link_.empty() ? std::string() : " (link " + serial_link_ + ")"));
            } else {
                WriteLogLine(kSerialWho, "cannot come back: " + error);
            }
        }
        if (MsUntil(chaos_->plan.NextEventMs()) > 0) {
            return;
        }
        const ChaosEvent event = chaos_->plan.TakeEvent(TickMs());
        switch (event.kind) {
            case ChaosEventKind::Silence:
                WriteLogLine(kChaosWho, event.account);
                break;
            case ChaosEventKind::SerialDrop:
                if (!serial_open_) {
                    WriteLogLine(kChaosWho, event.account + ": no serial line to drop");
                    break;
                }
                WriteLogLine(kChaosWho, event.account);
                serial_open_ = false;
                serial_.reset();
                if (accumulator_.Pending() > 0) {
                    WriteLogLine(kChaosWho, std::to_string(accumulator_.Pending()) +
                                                " bytes held from the line are discarded");
                    accumulator_.Flush();
                }
                chaos_->serial_back_ms = TickMs() + event.duration_ms;
                break;
            case ChaosEventKind::Unrequested:
                // A device without a serial line sends it by UDP.
                if (event.on_serial && (serial_open_ || chaos_->serial_back_ms)) {
                    WriteLogLine(kChaosWho, event.account + " on the serial line");
                    SendRaw(event.bytes, std::nullopt);
                } else if (chaos_->last_peer) {
                    WriteLogLine(kChaosWho, event.account + " to " + PeerText(*chaos_->last_peer));
                    SendRaw(event.bytes, chaos_->last_peer);
                } else {
                    WriteLogLine(kChaosWho, event.account + ": nobody has talked to the device");
                }
                break;
        }
    }

    std::unique_ptr<DeviceModel> model_;
    UdpEndpoint udp_;
    std::optional<PseudoTerminal> serial_;
    std::string serial_link_;
    bool serial_open_ = serial_.has_value();
    SignalEvents signals_;
    SerialAccumulator accumulator_;
    uint32_t last_serial_ms_ = 0;
    std::optional<ChaosRun> chaos_;
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
    Simulator simulator(std::move(model), std::move(*udp), std::move(serial), options.serial_link,
                        std::move(*signals), options.chaos_seed);
    simulator.Run();
    return 0;
}

}  // namespace
}  // namespace panoptix::devsim

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    return panoptix::devsim::Run(args);
}
