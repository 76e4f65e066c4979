// CPU time of the panel's waits: what a LAN search, a status query and the serial engine cost
// while they wait for devices, against a loop that polls without sleeping. See README.md.
//
//   panoptix-bench idle        waits with nobody answering (loopback and a pseudo-terminal)
//   panoptix-bench crowd N     one real LAN search that N devices answer; only inside a network
//                              namespace of a lab (bench/run sets one up)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cpu_meter.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/discovery.h"
#include "link/operator_messages.h"
#include "link/trace.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer/core/status_query.h"

namespace panoptix::bench {
namespace {

class QuietMessages : public OperatorMessages {
  public:
    void ShowError(std::string_view) override {}
};

// A UDP socket on 127.0.0.1 that takes requests and never answers.
class SilentDevice {
  public:
    SilentDevice() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    ~SilentDevice() { ::close(fd_); }
    SilentDevice(const SilentDevice&) = delete;
    SilentDevice& operator=(const SilentDevice&) = delete;

    uint16_t port() const {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        return ntohs(address.sin_port);
    }

  private:
    int fd_ = -1;
};

uint16_t FreePort() {
    const SilentDevice probe;
    return probe.port();
}

void UseLoopback(DeviceLink& link, const SilentDevice& device) {
    link.Endpoints().device_port = device.port();
    link.Endpoints().local_port = FreePort();
    link.Endpoints().broadcast_address = "127.0.0.1";  // unicast: nothing leaves the machine
    link.device_table[0].SetIpText("127.0.0.1");
    link.device_table[0].device_type = device_type::kMultiviewer;
    link.Select(0);
}

// How waiting was done before it slept on the socket: try to receive, and at once again.
CpuSample SpinningWait(uint16_t local_port, uint32_t window_ms, int rounds) {
    const CpuMeter meter;
    for (int round = 0; round < rounds; ++round) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(local_port);
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        std::array<uint8_t, 1024> buffer{};
        const uint32_t start_ms = TickMs();
        while (RemainingMs(start_ms, window_ms) > 0) {
            ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
        }
        ::close(fd);
    }
    return meter.Stop();
}

void Print(const std::string& name, const CpuSample& sample, const std::string& note = "") {
    std::printf("%s\n", Describe(name, sample, note).c_str());
    std::fflush(stdout);
}

// The device end of a pseudo-terminal that reads what it gets and never answers.
class SilentPty {
  public:
    SilentPty() {
        int slave = -1;
        char name[128] = {};
        ::openpty(&master_, &slave, name, nullptr, nullptr);
        ::close(slave);
        name_ = name;
    }
    ~SilentPty() { Vanish(); }
    SilentPty(const SilentPty&) = delete;
    SilentPty& operator=(const SilentPty&) = delete;
    const std::string& name() const { return name_; }
    void Vanish() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

  private:
    int master_ = -1;
    std::string name_;
};

int RunIdle() {
    constexpr int kStatusRounds = 10;
    const SilentDevice device;

    {
        DeviceLink link;
        UseLoopback(link, device);
        const CpuMeter meter;
        const auto result = SearchLan(link, false);
        Print("LAN search, 2 s, nobody answers", meter.Stop(),
              result.combo_entries.size() == 1 ? "" : "(unexpected entries)");
        Print("  spinning loop, same 2 s", SpinningWait(FreePort(), kSearchWindowMs, 1));
    }
    {
        DeviceLink link;
        UseLoopback(link, device);
        MultiviewerState mv;
        const CpuMeter meter;
        for (int round = 0; round < kStatusRounds; ++round) {
            QueryStatusOverLan(link, mv);
        }
        Print("status query, 10 x 200 ms, no reply", meter.Stop());
        Print("  spinning loop, same 10 x 200 ms",
              SpinningWait(FreePort(), kLanStatusWindowMs, kStatusRounds));
    }
    {
        DeviceLink link;
        UseLoopback(link, device);
        SilentPty peer;
        if (!link.SerialPort().OpenPort(peer.name(), 115200)) {
            std::fprintf(stderr, "bench: cannot open %s\n", peer.name().c_str());
            return 1;
        }
        MultiviewerState mv;
        CpuMeter meter;
        QueryStatusOverSerial(link, mv);
        Print("serial status query, 5 s, silent", meter.Stop(), "(with the monitoring thread)");

        peer.Vanish();
        const CpuMeter hung_up_meter;
        QueryStatusOverSerial(link, mv);
        Print("serial status query, 5 s, hung up", hung_up_meter.Stop(), "(peer gone)");
        link.SerialPort().ClosePort();
    }
    return 0;
}

// True when this process runs in the panel namespace of the lab named by PANOPTIX_LAB (made
// by scripts/lab, /run/netns/<lab>-panel), where a broadcast reaches the lab and nothing else.
bool InLabPanelNamespace() {
    const char* lab = std::getenv("PANOPTIX_LAB");
    if (lab == nullptr || *lab == '\0') {
        return false;
    }
    const std::string lab_namespace = std::string("/run/netns/") + lab + "-panel";
    struct stat own {};
    struct stat panel {};
    if (::stat("/proc/self/ns/net", &own) != 0 || ::stat(lab_namespace.c_str(), &panel) != 0) {
        return false;
    }
    return own.st_ino == panel.st_ino && own.st_dev == panel.st_dev;
}

int RunCrowd(int expected_devices) {
    if (!InLabPanelNamespace()) {
        std::fprintf(stderr,
                     "bench: crowd broadcasts; it runs only in the panel namespace of the lab "
                     "named by PANOPTIX_LAB (bench/run makes one)\n");
        return 2;
    }
    DeviceLink link;  // the program's own endpoints: broadcast to 255.255.255.255, port 7000
    const CpuMeter meter;
    const auto result = SearchLan(link, false);
    const CpuSample sample = meter.Stop();
    const int listed = link.SelectedIndex() < 0 ? 0 : static_cast<int>(result.combo_entries.size());
    Print("LAN search, 2 s, " + std::to_string(expected_devices) + " devices answer", sample,
          "(" + std::to_string(listed) + " listed)");
    return listed == expected_devices ? 0 : 1;
}

}  // namespace
}  // namespace panoptix::bench

int main(int argc, char** argv) {
    using namespace panoptix;
    SetTraceSink([](std::string_view) {});  // measure the waits, not the terminal
    static bench::QuietMessages messages;
    SetOperatorMessages(&messages);

    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "idle") {
        return bench::RunIdle();
    }
    if (mode == "crowd" && argc > 2) {
        return bench::RunCrowd(std::atoi(argv[2]));
    }
    std::fprintf(stderr, "usage: panoptix-bench idle | crowd N\n");
    return 2;
}
