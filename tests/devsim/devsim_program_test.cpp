// panoptix-devsim as a program, on 127.0.0.1 and a pseudo-terminal: what a panel sends arrives,
// is answered on the same link and logged; signals end it cleanly and it removes its link.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "devsim_test_frames.h"
#include "support/udp_peer.h"

namespace panoptix::devsim {
namespace {

using ::testing::HasSubstr;
using testing::PanelFrame;
using testing_support::FreeLoopbackPort;
using testing_support::UdpPeer;

// The simulator as a child process whose standard output (the log) is read line by line.
class Simulator {
  public:
    explicit Simulator(std::vector<std::string> args) {
        int out[2];
        int err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(PANOPTIX_DEVSIM_PATH)};
            for (auto& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            execv(PANOPTIX_DEVSIM_PATH, argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Simulator() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        close(out_);
        close(err_);
    }

    // The next log line that contains text, sleeping on the pipe up to timeout_ms.
    std::string WaitForLine(const std::string& text, int timeout_ms = 3000) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            for (size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                lines_.push_back(line);
                if (line.find(text) != std::string::npos) {
                    return line;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd readable{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
                return "(no line with " + text + ")";
            }
            char chunk[4096];
            const ssize_t size = read(out_, chunk, sizeof chunk);
            if (size <= 0) {
                return "(log ended before " + text + ")";
            }
            buffer_.append(chunk, static_cast<size_t>(size));
        }
    }

    void Signal(int signal_number) { kill(pid_, signal_number); }

    // The exit status once the process has ended.
    int Wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string Errors() {
        std::string text;
        char chunk[1024];
        for (ssize_t size; (size = read(err_, chunk, sizeof chunk)) > 0;) {
            text.append(chunk, static_cast<size_t>(size));
        }
        return text;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string buffer_;
    std::vector<std::string> lines_;
};

std::vector<uint8_t> ReadExactly(int fd, size_t count, int timeout_ms = 3000) {
    std::vector<uint8_t> bytes;
    while (bytes.size() < count) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, timeout_ms) <= 0) {
            break;
        }
        uint8_t chunk[1024];
        const ssize_t size = read(fd, chunk, sizeof chunk);
        if (size <= 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + size);
    }
    return bytes;
}

class DevsimProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/devsim-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

TEST_F(DevsimProgram, AnswersOnUdpAndSerialAndLogsASession) {
    const uint16_t port = FreeLoopbackPort();
    const std::string link = (dir_ / "mv.tty").string();
    Simulator simulator({"--kind", "multiviewer", "--name", "ABC", "--bind", "127.0.0.1", "--port",
                         std::to_string(port), "--serial", link});
    EXPECT_THAT(simulator.WaitForLine(" on UDP "),
                HasSubstr("multiviewer ABC (type 0xA1, address 0x01) on UDP 127.0.0.1:" +
                          std::to_string(port) + ", broadcasts too"));
    EXPECT_THAT(simulator.WaitForLine("serial /dev/"), HasSubstr("(link " + link + ")"));
    ASSERT_TRUE(std::filesystem::is_symlink(link));

    UdpPeer panel;
    panel.SendTo(port, MakeDiscoveryRequest(LinkByte::Udp));
    const auto answer = panel.ReceiveBytes(2000);
    ASSERT_EQ(answer.size(), 27u);
    EXPECT_EQ(std::string(answer.begin() + 18, answer.begin() + 24), "ABC-1-");
    EXPECT_THAT(simulator.WaitForLine("search"), HasSubstr("search request -> answered as ABC"));

    panel.SendTo(port, PanelFrame(0xA1, 0x33, {4}));
    EXPECT_THAT(simulator.WaitForLine("layout"), HasSubstr("layout 4 windows"));
    panel.SendTo(port, PanelFrame(0xA1, 0x32));
    const auto status = panel.ReceiveBytes(2000);
    ASSERT_EQ(status.size(), 669u);
    EXPECT_EQ(status[18], 4);
    EXPECT_THAT(simulator.WaitForLine("status"), HasSubstr("status query -> sent 669 bytes"));

    panel.SendTo(port, testing::Bytes("hello!!"));
    EXPECT_THAT(simulator.WaitForLine("ignored"), HasSubstr("127.0.0.1:" /* the peer */));

    // The serial link: a status query written in three pieces, answered in full.
    const int tty = open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(tty, 0);
    termios raw{};
    tcgetattr(tty, &raw);
    cfmakeraw(&raw);
    tcsetattr(tty, TCSANOW, &raw);
    const auto query = PanelFrame(0, 0x32, {}, LinkByte::Serial, 0);
    ASSERT_EQ(write(tty, query.data(), 5), 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_EQ(write(tty, query.data() + 5, 10), 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_EQ(write(tty, query.data() + 15, 5), 5);
    const auto serial_status = ReadExactly(tty, 669);
    ASSERT_EQ(serial_status.size(), 669u);
    EXPECT_EQ(serial_status[6], 0);
    EXPECT_EQ(serial_status[18], 4);
    EXPECT_THAT(simulator.WaitForLine("serial status"), HasSubstr(" serial status query"));

    // A frame start that never completes is reported once the line goes quiet.
    const uint8_t broken[] = {0xA5, 0x6C, 0x30, 0x00, 0xA1};
    ASSERT_EQ(write(tty, broken, sizeof broken), 5);
    EXPECT_THAT(simulator.WaitForLine("incomplete"),
                HasSubstr("serial ignored 5 bytes: incomplete frame: 5 of 48 bytes"));
    close(tty);

    simulator.Signal(SIGUSR1);
    EXPECT_THAT(simulator.WaitForLine("layout="), HasSubstr("state layout=4"));

    simulator.Signal(SIGTERM);
    EXPECT_THAT(simulator.WaitForLine("stopped"), HasSubstr("multiviewer stopped"));
    EXPECT_EQ(simulator.Wait(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(DevsimProgram, StartsFromAStateFileAndRefusesABadOne) {
    const uint16_t port = FreeLoopbackPort();
    const auto good = dir_ / "good.state";
    std::ofstream(good) << "# a quad-view with channel 2 dark\nshow_mode=8\nsignal.2=0\n";
    Simulator simulator({"--kind", "quadview", "--bind", "127.0.0.1", "--port",
                         std::to_string(port), "--state", good.string()});
    simulator.WaitForLine(" on UDP ");
    UdpPeer panel;
    panel.SendTo(port, PanelFrame(0x60, 0x90));
    EXPECT_EQ(panel.ReceiveBytes(2000).at(22), 8);
    panel.SendTo(port, PanelFrame(0x60, 0xAA));
    EXPECT_EQ(panel.ReceiveBytes(2000).at(20), 0);
    simulator.Signal(SIGINT);
    EXPECT_EQ(simulator.Wait(), 0);

    const auto bad = dir_ / "bad.state";
    std::ofstream(bad) << "show_mode=8\nshow_mode=17\n";
    Simulator refused({"--kind", "quadview", "--bind", "127.0.0.1", "--port", std::to_string(port),
                       "--state", bad.string()});
    EXPECT_EQ(refused.Wait(), 2);
    EXPECT_THAT(refused.Errors(), HasSubstr("line 2: show_mode: 17 is outside 0..16"));
}

TEST_F(DevsimProgram, UsageAndMistakes) {
    Simulator help({"--help"});
    EXPECT_THAT(help.WaitForLine("  --kind KIND"), HasSubstr("multiviewer, switcher"));
    EXPECT_EQ(help.Wait(), 0);

    Simulator wrong({"--kind", "toaster"});
    EXPECT_EQ(wrong.Wait(), 2);
    EXPECT_THAT(wrong.Errors(), HasSubstr("--kind must be"));

    // The port is taken: the second simulator says so and ends.
    const uint16_t port = FreeLoopbackPort();
    Simulator first({"--kind", "switcher", "--bind", "127.0.0.1", "--port", std::to_string(port)});
    first.WaitForLine(" on UDP ");
    Simulator second({"--kind", "switcher", "--bind", "127.0.0.1", "--port", std::to_string(port)});
    EXPECT_EQ(second.Wait(), 1);
    EXPECT_THAT(second.Errors(), HasSubstr("bind 127.0.0.1:"));
}

}  // namespace
}  // namespace panoptix::devsim
