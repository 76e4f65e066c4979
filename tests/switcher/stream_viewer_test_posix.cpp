// The STREAM ON launch in a temporary folder with a stand-in companion: a shell script that
// notes its process id and, while a "linger" file exists, keeps running.
#include "switcher/core/stream_viewer.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "support/recorders.h"

namespace panoptix {
namespace {

namespace fs = std::filesystem;
using testing_support::MessageRecorder;
using testing_support::TraceRecorder;

constexpr const char* kCompanion =
    "#!/bin/sh\n"
    "here=$(dirname \"$0\")\n"
    "echo $$ >> \"$here/started\"\n"
    "while [ -f \"$here/linger\" ]; do sleep 0.05; done\n";

class StreamViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/panoptix-stream-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        folder_ = root_;
    }
    void TearDown() override {
        std::error_code error;
        fs::remove(folder_ + "/linger", error);
        for (const int pid : Started()) {
            ::kill(pid, SIGTERM);
        }
        fs::remove_all(root_, error);
    }

    std::string Ini() const { return folder_ + "/Configure.ini"; }

    void WriteCompanion(mode_t mode = 0755) {
        Write(folder_ + "/Streamlet.exe", kCompanion);
        ::chmod((folder_ + "/Streamlet.exe").c_str(), mode);
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<int> Started() const {
        std::istringstream in(Read(folder_ + "/started"));
        std::vector<int> pids;
        for (int pid = 0; in >> pid;) {
            pids.push_back(pid);
        }
        return pids;
    }
    // Waits (up to five seconds) until count companions have noted their start.
    bool WaitForStarts(size_t count) const {
        for (int waited_ms = 0; waited_ms < 5000; waited_ms += 20) {
            if (Started().size() >= count) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    std::string root_;
    std::string folder_;
    TraceRecorder traces_;
    MessageRecorder messages_;
};

TEST_F(StreamViewerTest, WithoutASettingsFileItIsCreatedAndTheCompanionStarts) {
    WriteCompanion();
    EXPECT_EQ(LaunchStreamViewerIn(folder_), StreamViewerLaunch::Started);
    EXPECT_EQ(Read(Ini()), "[Settings]\r\ndecode_state=on\r\n");
    EXPECT_TRUE(WaitForStarts(1));
    EXPECT_EQ(traces_.lines().front(), folder_);
}

TEST_F(StreamViewerTest, AnyOtherValueBecomesOnAndEveryOtherLineStays) {
    WriteCompanion();
    Write(Ini(), "[Main]\r\nport=7000\r\n\r\n[Settings]\r\ndecode_state=On\r\nlast = 1\r\n");
    EXPECT_EQ(LaunchStreamViewerIn(folder_), StreamViewerLaunch::Started);
    EXPECT_EQ(Read(Ini()),
              "[Main]\r\nport=7000\r\n\r\n[Settings]\r\ndecode_state=on\r\nlast = 1\r\n");
    EXPECT_TRUE(WaitForStarts(1));
}

TEST_F(StreamViewerTest, OnWhileACopyRunsStartsNoSecond) {
    WriteCompanion();
    Write(folder_ + "/linger", "");
    ASSERT_EQ(LaunchStreamViewerIn(folder_), StreamViewerLaunch::Started);
    ASSERT_TRUE(WaitForStarts(1));
    EXPECT_EQ(LaunchStreamViewerIn(folder_), StreamViewerLaunch::AlreadyOpen);
    EXPECT_EQ(traces_.Count("decode page have open\n"), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(Started().size(), 1u);
}

TEST_F(StreamViewerTest, OnWithNoCopyRunningStartsItAgain) {
    WriteCompanion();
    const std::string settings = "[Settings]\ndecode_state=on\n";
    Write(Ini(), settings);
    EXPECT_EQ(LaunchStreamViewerIn(folder_), StreamViewerLaunch::Started);
    EXPECT_TRUE(WaitForStarts(1));
    EXPECT_EQ(Read(Ini()), settings);
}

TEST_F(StreamViewerTest, AFailedLaunchPutsTheFileBackAndSaysSo) {
    struct Case {
        const char* name;
        bool companion;
        bool settings;
    };
    size_t failures = 0;
    for (const Case c : {Case{"no companion", false, true}, Case{"not executable", true, true},
                         Case{"no companion, no settings file", false, false}}) {
        SCOPED_TRACE(c.name);
        fs::remove(Ini());
        fs::remove(folder_ + "/Streamlet.exe");
        messages_.texts.clear();
        if (c.companion) {
            WriteCompanion(0644);
        }
        const std::string settings = "[Settings]\r\ndecode_state=closed\r\n";
        if (c.settings) {
            Write(Ini(), settings);
        }
        EXPECT_EQ(LaunchStreamViewerIn(folder_), StreamViewerLaunch::Failed);
        EXPECT_EQ(fs::exists(Ini()), c.settings);
        if (c.settings) {
            EXPECT_EQ(Read(Ini()), settings);
        }
        EXPECT_EQ(messages_.texts, std::vector<std::string>{"Cannot start Streamlet.exe"});
        EXPECT_EQ(traces_.Count("Cannot start " + folder_ + "/Streamlet.exe \n"), ++failures);
    }
    EXPECT_TRUE(Started().empty());
}

TEST_F(StreamViewerTest, AFolderLongerThanThreeHundredBytes) {
    std::string folder = root_;
    while (folder.size() <= 300) {
        folder += "/a-rather-long-folder-name-for-the-program";
    }
    fs::create_directories(folder);
    folder_ = folder;
    WriteCompanion();
    EXPECT_EQ(LaunchStreamViewerIn(folder_), StreamViewerLaunch::Started);
    EXPECT_EQ(Read(Ini()), "[Settings]\r\ndecode_state=on\r\n");
    EXPECT_TRUE(WaitForStarts(1));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
    const auto folder = ProgramFolder();
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, fs::canonical("/proc/self/exe").parent_path().string());
}

}  // namespace
}  // namespace panoptix
