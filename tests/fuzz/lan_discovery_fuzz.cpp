// The LAN search's handling of replies. The search keeps its datagram-to-devices step to
// itself, so the target drives the whole search through loopback sockets: a scripted device on
// 127.0.0.1 answers the search request with the input's datagrams (the input split at every
// kDatagramSeparator; a seed without one is a single reply), and the search listens for a few
// milliseconds. Nothing is broadcast: the search's broadcast address is 127.0.0.1. Every table
// row and combo entry must be well formed, and never more than 128 devices listed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "fuzz_support.h"
#include "link/discovery.h"
#include "link/link_state.h"

namespace {

using panoptix::LinkState;

constexpr std::array<uint8_t, 4> kDatagramSeparator{0xF0, 0x0D, 0xF0, 0x0D};
constexpr uint32_t kSearchWindowMs = 3;
constexpr char kLoopback[] = "127.0.0.1";

std::vector<std::vector<uint8_t>> SplitDatagrams(std::span<const uint8_t> input) {
    std::vector<std::vector<uint8_t>> datagrams;
    while (true) {
        const auto at = std::search(input.begin(), input.end(), kDatagramSeparator.begin(),
                                    kDatagramSeparator.end());
        datagrams.emplace_back(input.begin(), at);
        if (at == input.end()) {
            return datagrams;
        }
        input = input.subspan(static_cast<size_t>(at - input.begin()) + kDatagramSeparator.size());
    }
}

int BoundLoopbackSocket(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    FUZZ_CHECK(fd >= 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    FUZZ_CHECK(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
    return fd;
}

uint16_t PortOf(int fd) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

// The scripted device: answers every request it receives with the current datagrams, sent to
// whoever asked. Lives for the whole run.
class LoopbackDevice {
  public:
    LoopbackDevice() : fd_(BoundLoopbackSocket(0)) {
        std::thread([this] { Serve(); }).detach();
    }

    uint16_t port() const { return PortOf(fd_); }

    void SetReplies(std::vector<std::vector<uint8_t>> datagrams) {
        std::lock_guard lock(mutex_);
        replies_ = std::move(datagrams);
    }

  private:
    void Serve() {
        std::array<uint8_t, 2048> request{};
        while (true) {
            pollfd entry{fd_, POLLIN, 0};
            if (::poll(&entry, 1, 1000) <= 0) {
                continue;
            }
            sockaddr_in sender{};
            socklen_t size = sizeof sender;
            if (::recvfrom(fd_, request.data(), request.size(), 0,
                           reinterpret_cast<sockaddr*>(&sender), &size) < 0) {
                continue;
            }
            std::lock_guard lock(mutex_);
            for (const auto& datagram : replies_) {
                ::sendto(fd_, datagram.data(), datagram.size(), 0,
                         reinterpret_cast<const sockaddr*>(&sender), sizeof sender);
            }
        }
    }

    int fd_;
    std::mutex mutex_;
    std::vector<std::vector<uint8_t>> replies_;
};

uint16_t FreeLocalPort() {
    const int probe = BoundLoopbackSocket(0);
    const uint16_t port = PortOf(probe);
    ::close(probe);
    return port;
}

void CheckResult(const LinkState& state, const panoptix::DeviceSearchResult& result) {
    FUZZ_CHECK(result.open_page);
    FUZZ_CHECK(!result.combo_entries.empty());
    FUZZ_CHECK(result.combo_entries.size() <= panoptix::kDeviceTableRows);
    FUZZ_CHECK(state.m_udpSockfd == -1);
    if (state.m_device_index == -1) {
        FUZZ_CHECK(result.combo_entries.size() == 1);
        FUZZ_CHECK(result.combo_entries[0] == panoptix::kNoDeviceFound);
        return;
    }
    FUZZ_CHECK(state.m_device_index == 0);
    for (size_t row = 0; row < result.combo_entries.size(); ++row) {
        FUZZ_CHECK(result.combo_entries[row].ends_with(u"_127.0.0.1"));
        FUZZ_CHECK(state.device_table[row].IpText() == kLoopback);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silenced = panoptix::fuzz::SilenceSideChannels();
    static LoopbackDevice device;
    static const uint16_t local_port = FreeLocalPort();
    (void)silenced;

    device.SetReplies(SplitDatagrams({data, size}));
    static LinkState state;
    state.endpoints.broadcast_address = kLoopback;
    state.endpoints.device_port = device.port();
    state.endpoints.local_port = local_port;
    const auto result = panoptix::SearchLan(state, true, kSearchWindowMs);
    CheckResult(state, result);
    return 0;
}
