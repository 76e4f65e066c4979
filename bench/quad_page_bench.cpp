// CPU time of the quad-view page while its device is silent: the page opens offscreen against
// a UDP socket on 127.0.0.1 that takes requests and never answers, then the event loop runs
// for 20 s, in which timer 1 sends four signal polls that each wait out their second. See
// README.md.
//
//   panoptix-quad-page-bench [SECONDS]      default 20
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cpu_meter.h"
#include "link/operator_messages.h"
#include "link/trace.h"
#include "quadview/pages/quadview_page.h"

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
    // The requests that reached it, by command byte: {0x90, 0xAA, other}.
    std::array<int, 3> DrainCounts() const {
        std::array<int, 3> counts{};
        std::array<uint8_t, 1024> buffer{};
        for (;;) {
            const ssize_t got = ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (got < 0) {
                return counts;
            }
            const uint8_t command = got > 16 ? buffer[16] : 0;
            ++counts[command == 0x90 ? 0 : command == 0xAA ? 1 : 2];
        }
    }

  private:
    int fd_ = -1;
};

}  // namespace
}  // namespace panoptix::bench

int main(int argc, char** argv) {
    using namespace panoptix;
    using namespace panoptix::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    SetTraceSink([](std::string_view) {});
    QuietMessages messages;
    SetOperatorMessages(&messages);

    const SilentDevice device;
    // The panel's side: a port that nothing held a moment ago.
    const uint16_t local_port = SilentDevice().port();
    DeviceLink link;
    link.Endpoints().device_port = device.port();
    link.Endpoints().local_port = local_port;
    link.Endpoints().broadcast_address = "127.0.0.1";  // unicast: nothing leaves the machine
    link.device_table[0].SetIpText("127.0.0.1");
    link.device_table[0].device_type = 0x60;
    link.Select(0);
    QuadviewState quad;

    int exit_code = 0;
    {
        QuadviewPage page(link, quad, nullptr);  // opening: two queries time out
        page.show();
        const auto opening = device.DrainCounts();
        const CpuMeter meter;
        QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &app, &QApplication::quit);
        exit_code = QApplication::exec();
        const CpuSample sample = meter.Stop();
        const auto polls = device.DrainCounts();
        const std::string note = "(" + std::to_string(polls[1]) + " signal polls sent, " +
                                 std::to_string(opening[0] + opening[1]) +
                                 " opening queries before)";
        std::printf("%s\n", Describe("quad-view page, " + std::to_string(seconds) +
                                         " s, silent device, event loop",
                                     sample, note)
                                .c_str());
    }
    SetOperatorMessages(nullptr);
    return exit_code;
}
