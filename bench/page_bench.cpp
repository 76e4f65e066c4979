// The device pages in the real main window against simulated devices (run inside the panel
// namespace of a lab made by scripts/lab; bench/run gui does it). See README.md.
//
//   panoptix-page-bench KIND [STALL_SECONDS] [PRESSES]
//       KIND: multiviewer, switcher, matrix, quadview; or quadview-silent (the quad-view page
//       alone against a UDP socket on 127.0.0.1 that never answers; any namespace, no search);
//       or crowd (a search that N devices answer, N given in place of PRESSES)
//
// For a device kind it searches the lab, opens that device's page, visits its sub-pages and
// prints the resident memory peak (VmHWM); then it times click to datagram over PRESSES
// synthesised clicks of one button (the first sendto after the press, caught by wrapping
// sendto at link time), with the link's pauses after a send skipped (SleepMs is wrapped the
// same way, only in this program); then the longest gap of a 1 ms probe timer while the page
// idles STALL_SECONDS with its device answering. The switcher adds an Auto at each rate.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_id.h"
#include "link/clock.h"
#include "link/operator_messages.h"
#include "link/trace.h"
#include "matrix/pages/matrix_control_ids.h"
#include "matrix/pages/matrix_page.h"
#include "multiviewer/pages/multiviewer_control_ids.h"
#include "multiviewer/pages/multiviewer_page.h"
#include "quadview/core/quadview_control_ids.h"
#include "quadview/pages/quadview_page.h"
#include "shell/configure_window.h"
#include "shell/main_window.h"
#include "switcher/core/switcher_controls.h"

namespace {

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

long long ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::atomic<long long> g_first_send_ns{0};
std::atomic<long long> g_first_send_cpu_ns{0};
std::atomic<int> g_sends{0};
std::atomic<bool> g_skip_pauses{false};

}  // namespace

// Link-time wraps (-Wl,--wrap): the moment a datagram has left the socket, and the pause after
// a send, which the click bench skips.
extern "C" ssize_t __real_sendto(int fd, const void* buffer, size_t size, int flags,
                                 const sockaddr* to, socklen_t to_size);
extern "C" ssize_t __wrap_sendto(int fd, const void* buffer, size_t size, int flags,
                                 const sockaddr* to, socklen_t to_size) {
    const ssize_t sent = __real_sendto(fd, buffer, size, flags, to, to_size);
    long long expected = 0;
    if (g_first_send_ns.compare_exchange_strong(expected, MonotonicNs())) {
        g_first_send_cpu_ns = ThreadCpuNs();
    }
    ++g_sends;
    return sent;
}
extern "C" void __real__ZN8panoptix7SleepMsEj(uint32_t duration_ms);
extern "C" void __wrap__ZN8panoptix7SleepMsEj(uint32_t duration_ms) {
    if (!g_skip_pauses) {
        __real__ZN8panoptix7SleepMsEj(duration_ms);
    }
}

namespace panoptix::bench {
namespace {

class QuietMessages : public OperatorMessages {
  public:
    void ShowError(std::string_view) override {}
};

std::string StatusField(const char* name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name, 0) == 0) {
            return line.substr(std::strlen(name));
        }
    }
    return "?";
}

double StatusMb(const char* name) {
    return std::atof(StatusField(name).c_str()) / 1024.0;
}

void Settle(int ms = 50) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void Click(QWidget* widget) {
    if (widget != nullptr) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return -1;
    }
    std::sort(values.begin(), values.end());
    const auto at = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

// Clicks the buttons by turns, times from the press to the first datagram sent.
// Before each press, the next of prepare (if any) is clicked, untimed.
void ClickToDatagram(const char* what, const std::vector<QWidget*>& buttons, int presses,
                     const std::vector<QWidget*>& prepare = {}) {
    if (std::find(buttons.begin(), buttons.end(), nullptr) != buttons.end() || buttons.empty()) {
        std::printf("click to datagram, %s: button not found\n", what);
        return;
    }
    g_skip_pauses = true;
    std::vector<double> ms;
    std::vector<double> cpu_ms;  // the user-interface thread's CPU time in the same stretch
    int silent = 0;
    for (int i = 0; i < presses; ++i) {
        QWidget* button = buttons[static_cast<size_t>(i) % buttons.size()];
        if (!prepare.empty()) {
            Click(prepare[static_cast<size_t>(i) % prepare.size()]);
            QCoreApplication::processEvents();
        }
        g_first_send_ns = 0;
        const long long start_cpu_ns = ThreadCpuNs();
        const long long start_ns = MonotonicNs();
        Click(button);
        const long long sent_ns = g_first_send_ns;
        if (sent_ns == 0) {
            ++silent;
        } else {
            ms.push_back(static_cast<double>(sent_ns - start_ns) / 1e6);
            cpu_ms.push_back(static_cast<double>(g_first_send_cpu_ns - start_cpu_ns) / 1e6);
        }
        QCoreApplication::processEvents();
    }
    g_skip_pauses = false;
    std::printf(
        "click to datagram, %-26s median %6.3f ms  p99 %6.3f ms  max %6.3f ms  "
        "(%zu presses sent%s; goal < 1 ms median, < 5 ms p99)\n"
        "  UI thread on a CPU in the same stretch: median %6.3f ms  p99 %6.3f ms  max %6.3f ms\n",
        what, Percentile(ms, 0.5), Percentile(ms, 0.99), Percentile(ms, 1.0), ms.size(),
        silent ? (", " + std::to_string(silent) + " sent nothing").c_str() : "",
        Percentile(cpu_ms, 0.5), Percentile(cpu_ms, 0.99), Percentile(cpu_ms, 1.0));
}

// The longest gap between two ticks of the probe, and the CPU time the user-interface thread
// itself used within that gap: a gap spent running one of the panel's handlers shows as CPU
// time of about the gap's length; a gap in which the thread waited for a core (a loaded
// machine) or slept shows as little.
struct Stall {
    double gap_ms = 0;
    double cpu_ms = 0;
};

std::string Describe(const Stall& stall) {
    char text[96];
    std::snprintf(text, sizeof text, "%.1f ms (UI thread on a CPU %.1f ms of it)", stall.gap_ms,
                  stall.cpu_ms);
    return text;
}

// The event loop runs for seconds (after start, if given) while a 1 ms timer notes the longest
// gap between its ticks.
Stall LongestStall(int seconds, const std::function<void()>& start = {}) {
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    long long last_ns = MonotonicNs();
    long long last_cpu_ns = ThreadCpuNs();
    Stall worst;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const long long now = MonotonicNs();
        const long long cpu = ThreadCpuNs();
        const double gap_ms = static_cast<double>(now - last_ns) / 1e6;
        if (gap_ms > worst.gap_ms) {
            worst = {gap_ms, static_cast<double>(cpu - last_cpu_ns) / 1e6};
        }
        last_ns = now;
        last_cpu_ns = cpu;
    });
    probe.start();
    if (start) {
        QTimer::singleShot(5, start);
    }
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return worst;
}

// With PANOPTIX_BENCH_SCREENSHOTS=DIR, what the window shows is saved as DIR/NAME.png (to check
// that a change of the drawing code leaves every pixel as it was).
void SaveScreenshot(QWidget* window, const std::string& name) {
    const QString folder = qEnvironmentVariable("PANOPTIX_BENCH_SCREENSHOTS");
    if (folder.isEmpty() || window == nullptr) {
        return;
    }
    Settle();
    window->grab().save(folder + "/" + QString::fromStdString(name) + ".png", "PNG");
}

void PrintMemory(const char* what) {
    std::printf("resident memory, %-34s VmHWM %6.1f MB  (VmRSS %6.1f MB)\n", what,
                StatusMb("VmHWM:"), StatusMb("VmRSS:"));
}

uint8_t TypeOf(std::string_view kind) {
    if (kind == "multiviewer")
        return 0xA1;
    if (kind == "switcher")
        return 0xA5;
    if (kind == "matrix")
        return 0x81;
    return 0x60;
}

int RunInLab(std::string_view kind, int stall_seconds, int presses) {
    MainWindow dialog;
    dialog.show();
    Settle();
    SaveScreenshot(&dialog, "main");
    dialog.OnSearch();
    Settle();
    int index = -1;
    for (int i = 0; i < dialog.DeviceCombo()->count(); ++i) {
        const uint8_t type = dialog.State().link.Table()[static_cast<size_t>(i)].device_type;
        if (type == TypeOf(kind) || (kind == "matrix" && type == 0x82)) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        std::printf("page bench: no %s answered the search\n", std::string(kind).c_str());
        return 1;
    }
    {
        const QSignalBlocker block(dialog.DeviceCombo());
        dialog.DeviceCombo()->setCurrentIndex(index);
    }
    dialog.State().link.Select(static_cast<int8_t>(index));
    dialog.OpenDevicePage();
    Settle();
    QWidget* page = dialog.CurrentPage();
    std::vector<QWidget*> buttons;
    std::vector<QWidget*> prepare;
    const std::string what = std::string(kind) + " page";
    SaveScreenshot(&dialog, std::string(kind));
    if (kind == "multiviewer") {
        for (int id : {mv_id::kUmdPageButton, mv_id::kColorPageButton, mv_id::kSetPageButton,
                       mv_id::kControlPageButton}) {
            Click(FindControl(page, id));
            Settle();
            SaveScreenshot(&dialog, std::string(kind) + "-" + std::to_string(id));
        }
        dialog.OnSettings();
        Settle();
        SaveScreenshot(dialog.ConfigureDialog(), "settings");
        PrintMemory((what + ", sub-pages + settings").c_str());
        buttons = {FindControl(page, mv_id::kFirstLayoutButton),
                   FindControl(page, mv_id::kFirstLayoutButton + 1)};
    } else if (kind == "switcher") {
        for (int id : {sw_id::kWipe, sw_id::kPip, sw_id::kKey1, sw_id::kKey2, sw_id::kDip,
                       sw_id::kMix, sw_id::kBackground}) {
            Click(FindControl(page, id));
            Settle();
            SaveScreenshot(&dialog, std::string(kind) + "-" + std::to_string(id));
        }
        PrintMemory((what + ", settings pages").c_str());
        buttons = {FindControl(page, sw_id::kProgramRow[0]),
                   FindControl(page, sw_id::kProgramRow[1])};
    } else if (kind == "matrix") {
        auto* matrix = qobject_cast<MatrixPage*>(page);
        Click(FindControl(page, matrix_id::kSettingTab));
        Settle();
        SaveScreenshot(&dialog, "matrix-setting");
        Click(FindControl(page, matrix_id::kControlTab));
        Settle();
        SaveScreenshot(&dialog, "matrix-control");
        PrintMemory((what + ", both sub pages").c_str());
        if (matrix != nullptr && matrix->SubPage() != nullptr) {
            buttons = {FindControl(matrix->SubPage(), matrix_id::kOneToAll)};
            // ONE TO ALL sends the chosen input: an input is chosen (untimed) before each press.
            prepare = {FindControl(page, matrix_id::InputId(1)),
                       FindControl(page, matrix_id::InputId(2))};
        }
    } else {
        PrintMemory(what.c_str());
        buttons = {FindControl(page, qv_id::LayoutButtonId(0)),
                   FindControl(page, qv_id::LayoutButtonId(1))};
    }
    ClickToDatagram(what.c_str(), buttons, presses, prepare);
    Settle(200);
    std::printf("longest stall, %s, %d s, device answering: %s  (goal <= 20 ms)\n", what.c_str(),
                stall_seconds, Describe(LongestStall(stall_seconds)).c_str());
    if (kind == "switcher") {
        const int rates[] = {sw_id::kRate1, sw_id::kRate2, sw_id::kRate3};
        for (int r = 0; r < 3; ++r) {
            Click(FindControl(page, rates[r]));
            Settle(300);
            QWidget* automatic = FindControl(page, sw_id::kAuto);
            const Stall stall = LongestStall(4, [automatic] { Click(automatic); });
            std::printf(
                "longest stall, switcher Auto at r%d (4 s from the press): %s  "
                "(goal <= 20 ms)\n",
                r + 1, Describe(stall).c_str());
        }
    }
    return 0;
}

// A search that many simulated devices answer, started by a click on scan: the search blocks
// the window for its 2 s window by design, then the first device's page opens (and queries
// it). Its stall is reported apart from the others.
int RunCrowdSearch(int expected_devices) {
    MainWindow dialog;
    dialog.show();
    Settle();
    QWidget* scan = FindControl(&dialog, main_dialog_id::kScan);
    const Stall stall = LongestStall(5, [scan] { Click(scan); });
    std::printf(
        "longest stall, search that %d devices answer (blocks by design for its 2 s window, "
        "then the first device's page opens): %s; %d listed\n",
        expected_devices, Describe(stall).c_str(), dialog.DeviceCombo()->count());
    return dialog.DeviceCombo()->count() == expected_devices ? 0 : 1;
}

// The quad-view page alone against a socket on 127.0.0.1 that takes requests and never answers.
int RunQuadSilent(int stall_seconds) {
    const int device_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(device_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(device_fd, reinterpret_cast<sockaddr*>(&address), &size);
    DeviceLink link;
    link.Endpoints().device_port = ntohs(address.sin_port);
    link.Endpoints().local_port = static_cast<uint16_t>(ntohs(address.sin_port) + 1);
    link.Endpoints().broadcast_address = "127.0.0.1";
    link.device_table[0].SetIpText("127.0.0.1");
    link.device_table[0].device_type = 0x60;
    link.Select(0);
    QuadviewState quad;
    {
        QuadviewPage page(link, quad, nullptr);
        page.show();
        Settle();
        std::printf(
            "longest stall, quad-view page, %d s, silent device: %s  "
            "(goal: no stall, <= 20 ms)\n",
            stall_seconds, Describe(LongestStall(stall_seconds)).c_str());
    }
    ::close(device_fd);
    return 0;
}

}  // namespace
}  // namespace panoptix::bench

int main(int argc, char** argv) {
    using namespace panoptix;
    if (argc < 2) {
        std::fprintf(stderr, "usage: panoptix-page-bench KIND [STALL_SECONDS] [PRESSES]\n");
        return 2;
    }
    QApplication app(argc, argv);
    // The main windows of the bench remember nothing in the user's settings.
    const QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const std::string_view kind = argv[1];
    const int stall_seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    const int presses = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000;
    SetTraceSink([](std::string_view) {});
    bench::QuietMessages messages;
    SetOperatorMessages(&messages);
    int result = 0;
    if (kind == "quadview-silent") {
        result = bench::RunQuadSilent(stall_seconds);
    } else if (kind == "crowd") {
        result = bench::RunCrowdSearch(presses);
    } else {
        result = bench::RunInLab(kind, stall_seconds, presses);
    }
    std::fflush(stdout);
    SetOperatorMessages(nullptr);
    return result;
}
