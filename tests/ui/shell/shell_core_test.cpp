// The shell's parts without widgets: which page a device gets, which serial ports are listed and
// which device lists are kept for the next start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/serial_port_list.h"
#include "shell/device_page_choice.h"
#include "shell/panoptix_state.h"
#include "shell/remembered_settings.h"
#include "support/pty_peer.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

namespace fs = std::filesystem;
using testing_support::TraceRecorder;

// A full table of 128 devices comes back as it was kept; a list whose texts could not be read
// back, or without a selection in it, is not kept at all, and a file selecting past its list is
// refused.
TEST(RememberedSettings, AFullListComesBackAndAnUnreadableOneIsNotKept) {
    PanoptixState state;
    state.link.SetMode(ConnectionMode::Serial);
    state.serial_choice = {"/dev/ttyUSB0", 115200};
    std::vector<std::string> texts;
    for (int i = 0; i < kDeviceTableRows; ++i) {
        DeviceEntry& row = state.link.device_table[static_cast<size_t>(i)];
        row.SetIpText("192.0.2." + std::to_string(i + 1));
        row.device_address = static_cast<uint8_t>(i);
        row.device_type = 0x81;
        texts.push_back("MX88 \"" + std::to_string(i) + "\", Stúdio_" + row.IpText());
    }
    const RememberedSettings kept = CaptureSettings(state, texts, 127);
    const SettingsReading read = ParseRememberedSettings(RememberedSettingsValues(kept));
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.settings.mode, kModeSerial);
    EXPECT_EQ(read.settings.serial_port, "/dev/ttyUSB0");
    EXPECT_EQ(read.settings.baud_rate, 115200u);
    ASSERT_EQ(read.settings.devices.size(), 128u);
    EXPECT_EQ(read.settings.selected, 127);
    EXPECT_EQ(read.settings.devices[127].name, texts[127]);
    EXPECT_EQ(read.settings.devices[127].entry.IpText(), "192.0.2.128");
    EXPECT_EQ(read.settings.devices[127].entry.device_address, 127);
    SettingsValues past_the_list = RememberedSettingsValues(kept);
    past_the_list["devices/selected"] = "128";
    EXPECT_EQ(ParseRememberedSettings(past_the_list).problem,
              "devices/selected \"128\" is not a number from -1 to 127");

    for (const auto& [text, selected] : {std::pair<std::string, int>{"MX\x01_192.0.2.1", 0},
                                         {std::string(513, 'M'), 0},
                                         {"MX88_192.0.2.1", -1},
                                         {"MX88_192.0.2.1", 128}}) {
        texts[5] = text;
        const RememberedSettings not_kept = CaptureSettings(state, texts, selected);
        EXPECT_TRUE(not_kept.devices.empty());
        EXPECT_EQ(not_kept.selected, -1);
        EXPECT_EQ(not_kept.mode, kModeSerial) << "the rest is kept";
    }
}

TEST(DevicePageChoice, TypeBytesChooseTheirPages) {
    struct Case {
        uint8_t type_byte;
        DevicePageKind kind;
        bool known;
    };
    const Case cases[] = {
        {0x60, DevicePageKind::QuadView, true},  {0x81, DevicePageKind::Matrix, true},
        {0x82, DevicePageKind::Matrix, true},    {0xA1, DevicePageKind::Multiviewer, true},
        {0xA5, DevicePageKind::Switcher, true},  {0x00, DevicePageKind::QuadView, false},
        {0x61, DevicePageKind::QuadView, false}, {0x80, DevicePageKind::QuadView, false},
        {0xA2, DevicePageKind::QuadView, false}, {0xFF, DevicePageKind::QuadView, false},
    };
    for (const Case& c : cases) {
        const DevicePageForType page = PageForTypeByte(c.type_byte);
        EXPECT_EQ(page.kind, c.kind) << "type 0x" << std::hex << int{c.type_byte};
        EXPECT_EQ(page.known_type, c.known) << "type 0x" << std::hex << int{c.type_byte};
    }
}

TEST(DevicePageChoice, TypeByteComesFromTheLinkInUse) {
    DeviceLink state;
    state.device_table[2].device_type = 0xA5;
    state.m_main_com_dev_type = 0x81;
    state.m_device_index = 2;

    {
        TraceRecorder traces;
        state.SetMode(ConnectionMode::Lan);
        EXPECT_EQ(SelectedDeviceTypeByte(state), std::optional<uint8_t>(0xA5));
        EXPECT_TRUE(traces.lines().empty());
    }
    {
        // On the serial link the row does not matter: the parser's last type byte does.
        TraceRecorder traces;
        state.SetMode(ConnectionMode::Serial);
        EXPECT_EQ(SelectedDeviceTypeByte(state), std::optional<uint8_t>(0x81));
        EXPECT_EQ(traces.lines(), std::vector<std::string>{" only com \n"});
    }
}

// A made-up sysfs and device folder, with a real pseudo-terminal to link to.
class SerialPortListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("panoptix-ports-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "sys");
        fs::create_directories(root_ / "dev");
        roots_.sys_tty = (root_ / "sys").string();
        roots_.dev = (root_ / "dev").string();
        ASSERT_TRUE(pty_.valid());
    }
    void TearDown() override { fs::remove_all(root_); }

    // A terminal in sysfs, with or without a driver and a serial-core UART type.
    void AddTerminal(const std::string& name, bool with_driver, int uart_type = -1) {
        const fs::path entry = root_ / "sys" / name;
        fs::create_directories(entry / "device");
        if (with_driver) {
            fs::create_directories(root_ / "drivers" / "port");
            fs::create_directory_symlink(root_ / "drivers" / "port", entry / "device" / "driver");
        }
        if (uart_type >= 0) {
            std::ofstream(entry / "type") << uart_type << "\n";
        }
        std::ofstream(root_ / "dev" / name).put('\0');  // stands in for the device node
    }

    std::string Dev(const std::string& name) const { return (root_ / "dev" / name).string(); }

    fs::path root_;
    SerialPortRoots roots_;
    const testing_support::PtyPeer pty_{testing_support::PtyPeer::Line::HeldOpen};
};

TEST_F(SerialPortListTest, ListsRealPortsAndLinksToPseudoTerminalsSortedByName) {
    AddTerminal("ttyS0", true, 4);     // a fitted 16550A
    AddTerminal("ttyS1", true, 0);     // a legacy port with no UART behind it
    AddTerminal("ttyUSB0", true);      // a USB adapter: no serial-core type
    AddTerminal("tty1", false);        // a virtual console: no driver
    AddTerminal("ttyAMA0", true, 91);  // an on-chip UART
    fs::create_symlink(pty_.PortName(), root_ / "dev" / "ttyVIRT0");        // the simulator's port
    fs::create_symlink(pty_.PortName(), root_ / "dev" / "a_virtual_port");  // any name will do
    fs::create_symlink("/dev/null", root_ / "dev" / "not_a_terminal");
    fs::create_symlink("/dev/pts/ptmx", root_ / "dev" / "ptmx");  // the multiplexer is no port
    fs::create_symlink(root_ / "dev" / "missing", root_ / "dev" / "dangling");
    fs::create_directories(root_ / "dev" / "pts");

    EXPECT_EQ(ListSerialPorts(roots_),
              (std::vector<std::string>{Dev("a_virtual_port"), Dev("ttyAMA0"), Dev("ttyS0"),
                                        Dev("ttyUSB0"), Dev("ttyVIRT0")}));
}

// What a real /dev holds besides ports: the process's own streams (links into /proc that end at
// the operator's terminal), the terminal itself, the console, and links that only reach a
// pseudo-terminal through another link. None of them is a port.
TEST_F(SerialPortListTest, NeverListsTheOperatorsOwnTerminal) {
    const fs::path dev = root_ / "dev";
    const int slave = ::open(pty_.PortName().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    const std::string slave_fd = "/proc/self/fd/" + std::to_string(slave);
    ASSERT_EQ(fs::canonical(slave_fd), fs::path(pty_.PortName()));  // it does end at the terminal
    for (const char* stream : {"stdin", "stdout", "stderr"}) {
        fs::create_symlink(slave_fd, dev / stream);
    }
    fs::create_symlink(slave_fd, dev / "a_proc_link");
    fs::create_directory_symlink("/proc/self/fd", dev / "fd");
    for (const char* name : {"tty", "console", "ptmx", "stdport"}) {
        fs::create_symlink(pty_.PortName(), dev / name);  // even when they lead straight to a pty
    }
    fs::create_symlink(pty_.PortName(), dev / "ttyVIRT0");
    fs::create_symlink(dev / "ttyVIRT0", dev / "link_to_a_link");
    fs::create_symlink("/dev/pts/999999", dev / "gone");  // no such terminal

    EXPECT_EQ(ListSerialPorts(roots_), std::vector<std::string>{Dev("ttyVIRT0")});
    ::close(slave);
}

TEST_F(SerialPortListTest, MissingFoldersGiveAnEmptyList) {
    roots_.sys_tty = (root_ / "no-sys").string();
    roots_.dev = (root_ / "no-dev").string();
    EXPECT_TRUE(ListSerialPorts(roots_).empty());
}

}  // namespace
}  // namespace panoptix
