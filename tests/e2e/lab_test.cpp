// End to end: the panel's link code, run in the panel's namespace of a lab, against simulated
// devices of all four kinds in their own namespaces, over real sockets, a real broadcast and
// pseudo-terminals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "lab.h"
#include "link/clock.h"
#include "link/command_frame.h"
#include "link/discovery.h"
#include "link/operator_messages.h"
#include "link/trace.h"
#include "link/udp_transport.h"
#include "multiviewer/core/multiviewer_commands.h"
#include "multiviewer/core/status_query.h"

namespace panoptix::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

class RecordedMessages : public OperatorMessages {
  public:
    void ShowError(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

std::string Utf8(const std::u16string& text) {
    return std::string(text.begin(), text.end());  // the names here are ASCII
}

// Selects the table row of the device at address, as choosing it in the combo box does.
bool SelectDevice(DeviceLink& link, const std::string& address) {
    for (int row = 0; row < kDeviceTableRows; ++row) {
        if (link.device_table[static_cast<size_t>(row)].IpText() == address) {
            link.m_device_index = static_cast<int8_t>(row);
            return true;
        }
    }
    return false;
}

// The lab of one test: devices of all four kinds, each with a pseudo-terminal.
class LabTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string missing = MissingPrerequisite();
        if (!missing.empty()) {
            GTEST_SKIP() << missing;
        }
        SetTraceSink([](std::string_view) {});
        SetOperatorMessages(&messages_);
        lab_ = std::make_unique<Lab>("a");
        std::string error;
        ASSERT_TRUE(lab_->Up(ExtraArgs(), error)) << error;
    }

    void TearDown() override {
        if (lab_ == nullptr) {
            return;
        }
        const std::string prefix = lab_->Prefix();
        EXPECT_EQ(lab_->DownAndCheck(), "");
        EXPECT_EQ(RootLinksOfLab(prefix), "") << "the lab must not touch this namespace";
        EXPECT_THAT(ChildProcesses(), ::testing::IsEmpty());
        EXPECT_THAT(messages_.shown, ::testing::IsEmpty());
        SetOperatorMessages(nullptr);
        SetTraceSink(nullptr);
    }

    virtual std::vector<std::string> ExtraArgs() {
        return {"--multiviewer", "1", "--switcher", "1", "--matrix", "1",
                "--quadview",    "1", "--serial"};
    }

    // A LAN search from the panel's namespace.
    DeviceSearchResult SearchFromPanel(DeviceLink& link, uint32_t window_ms = kSearchWindowMs) {
        DeviceSearchResult result;
        EXPECT_EQ(InNamespace(lab_->PanelNamespace(),
                              [&] { result = SearchLan(link, false, window_ms); }),
                  "");
        return result;
    }

    void InPanel(const std::function<void()>& body) {
        EXPECT_EQ(InNamespace(lab_->PanelNamespace(), body), "");
    }

    RecordedMessages messages_;
    std::unique_ptr<Lab> lab_;
};

TEST_F(LabTest, LanSearchListsEveryDeviceWithItsNameAndAddress) {
    DeviceLink link;
    const DeviceSearchResult result = SearchFromPanel(link);
    EXPECT_TRUE(result.open_page);
    EXPECT_EQ(link.m_device_index, 0);
    std::vector<std::string> entries;
    for (const auto& entry : result.combo_entries) {
        entries.push_back(Utf8(entry));
    }
    EXPECT_THAT(entries, UnorderedElementsAre("MV1_192.0.2.10", "SW1_192.0.2.11", "MX1_192.0.2.12",
                                              "QV1_192.0.2.13"));
    // Each row carries the replying device's type and address bytes.
    std::set<std::pair<std::string, int>> rows;
    for (size_t row = 0; row < entries.size(); ++row) {
        EXPECT_EQ(link.device_table[row].device_address, 0x01);
        rows.emplace(link.device_table[row].IpText(), link.device_table[row].device_type);
    }
    EXPECT_THAT(rows, UnorderedElementsAre(std::pair<std::string, int>{"192.0.2.10", 0xA1},
                                           std::pair<std::string, int>{"192.0.2.11", 0xA5},
                                           std::pair<std::string, int>{"192.0.2.12", 0x81},
                                           std::pair<std::string, int>{"192.0.2.13", 0x60}));
    for (const char* name : {"MV1", "SW1", "MX1", "QV1"}) {
        EXPECT_THAT(lab_->WaitForLog(name, "search request"),
                    HasSubstr("192.0.2.1:7000 search request -> answered as " + std::string(name)));
    }
}

TEST_F(LabTest, MultiviewerStatusQueryDecodesTheSimulatorsState) {
    DeviceLink link;
    SearchFromPanel(link);
    ASSERT_TRUE(SelectDevice(link, "192.0.2.10"));

    // The simulator's defaults: sixteen windows, 1080p60, "CAM k" labels, input k in window k.
    MultiviewerState mv;
    InPanel([&] { QueryStatusOverLan(link, mv); });
    EXPECT_EQ(mv.m_cur_window_count, 16);
    EXPECT_EQ(mv.m_all_16_view_page_data.view_mode_type, 6);
    EXPECT_EQ(mv.m_all_16_view_page_data.resolution_type, 0);
    EXPECT_EQ(mv.m_all_16_view_page_data.umd_enable, 1);
    EXPECT_EQ(mv.umd_shown, 1);
    EXPECT_EQ(mv.umd_name[0], u"CAM 1");
    EXPECT_EQ(mv.umd_name[15], u"CAM 16");
    EXPECT_EQ(mv.window_source[15], 16);
    EXPECT_EQ(mv.m_all_16_view_page_data.border_enable, 1);
    EXPECT_EQ(mv.m_all_16_view_page_data.umd_back_color[3], 1);
    EXPECT_THAT(lab_->WaitForLog("MV1", "status query"),
                HasSubstr("192.0.2.1:7000 status query -> sent 669 bytes"));
}

TEST_F(LabTest, CommandsToTheMultiviewerShowUpInItsNextStatusReply) {
    DeviceLink link;
    SearchFromPanel(link);
    ASSERT_TRUE(SelectDevice(link, "192.0.2.10"));
    MultiviewerState mv;
    mv.umd_name[2] = u"AB";
    InPanel([&] {
        SendLayout(link, mv, CommandRoute::Lan, 4);
        SendUmdLabel(link, mv, CommandRoute::Lan, 3);
        SendWindowSource(link, mv, CommandRoute::Lan, 5, 3);
        SendResolutionType(link, mv, CommandRoute::Lan, 1);
        mv.m_all_16_view_page_data.umd_color_channel = 0;
        SendUmdBackColor(link, mv, CommandRoute::Lan, 9);
    });

    MultiviewerState fresh;
    InPanel([&] { QueryStatusOverLan(link, fresh); });
    EXPECT_EQ(fresh.m_cur_window_count, 4);
    EXPECT_EQ(fresh.m_all_16_view_page_data.view_mode_type, 1);
    EXPECT_EQ(fresh.umd_name[2], u"AB");
    EXPECT_EQ(fresh.window_source[2], 5);
    EXPECT_EQ(fresh.m_all_16_view_page_data.resolution_type, 3);  // code 1: 1080i50
    EXPECT_EQ(fresh.m_all_16_view_page_data.umd_back_color[15], 9);

    // The simulator's log reads as what the panel did.
    const std::string log = lab_->WaitForLog("MV1", "status query");
    EXPECT_THAT(log, HasSubstr("192.0.2.1:7000 layout 4 windows\n"));
    EXPECT_THAT(log, HasSubstr("192.0.2.1:7000 label window 3 \"AB\"\n"));
    EXPECT_THAT(log, HasSubstr("192.0.2.1:7000 window 3 source SDI 5\n"));
    EXPECT_THAT(log, HasSubstr("192.0.2.1:7000 resolution 1080i50 (code 1)\n"));
    EXPECT_THAT(log, HasSubstr("192.0.2.1:7000 UMD background colour 9 on all windows\n"));
    EXPECT_THAT(log, ::testing::Not(HasSubstr("ignored")));
}

TEST_F(LabTest, SerialSearchAndStatusQueryOverThePseudoTerminal) {
    DeviceLink link;
    link.SetMode(ConnectionMode::Serial);
    ASSERT_TRUE(link.serial_port.OpenPort(lab_->Device("MV1").tty, 115200));

    const DeviceSearchResult result = SearchSerial(link, {});
    EXPECT_EQ(link.serial_reply_count, 1);
    EXPECT_EQ(link.m_device_index, 0);  // the list's one entry
    EXPECT_EQ(link.m_main_com_dev_type, 0xA1);
    ASSERT_EQ(result.combo_entries.size(), 1u);
    EXPECT_EQ(result.combo_entries[0], u"MV1");

    // The serial status query, after a layout command written to the port.
    MultiviewerState mv;
    SendLayout(link, mv, CommandRoute::Serial, 9);
    MultiviewerState fresh;
    QueryStatusOverSerial(link, fresh);
    EXPECT_EQ(fresh.m_status_query_done, 1);
    EXPECT_EQ(fresh.m_cur_window_count, 9);
    EXPECT_EQ(fresh.umd_name[0], u"CAM 1");
    link.serial_port.ClosePort();

    const std::string log = lab_->WaitForLog("MV1", "serial status query");
    EXPECT_THAT(log, HasSubstr("serial search request -> answered as MV1\n"));
    // The serial line reaches one device whatever the table's row says: the simulator notes
    // whose device bytes these frames carry after the line.
    EXPECT_THAT(log, HasSubstr("serial layout 9 windows"));
    EXPECT_THAT(log, HasSubstr("serial status query -> sent 669 bytes"));

    // The other kinds answer the serial search with their own name and type byte.
    const std::pair<const char*, uint8_t> others[] = {{"SW1", 0xA5}, {"MX1", 0x81}, {"QV1", 0x60}};
    for (const auto& [name, type] : others) {
        DeviceLink other;
        ASSERT_TRUE(other.serial_port.OpenPort(lab_->Device(name).tty, 115200));
        const DeviceSearchResult found = SearchSerial(other, {});
        ASSERT_EQ(found.combo_entries.size(), 1u) << name;
        EXPECT_EQ(Utf8(found.combo_entries[0]), name);
        EXPECT_EQ(other.m_main_com_dev_type, type);
        other.serial_port.ClosePort();
    }
}

TEST_F(LabTest, SwitcherMatrixAndQuadViewLogWhatThePanelSent) {
    DeviceLink link;
    SearchFromPanel(link);
    auto send_to = [&](const char* address, std::vector<uint8_t> bytes, uint32_t pause_ms = 10) {
        ASSERT_TRUE(SelectDevice(link, address));
        InPanel([&] { SendOneShot(link, bytes, pause_ms); });
    };
    auto frame_to = [&](const char* address, uint8_t command, std::vector<uint8_t> payload) {
        ASSERT_TRUE(SelectDevice(link, address));
        send_to(address, MakeCommandFrame(*link.SelectedEntry(), LinkByte::Udp, command, payload));
    };

    // Switcher: program 3, preview 5, then the automatic transition with its lever steps.
    frame_to("192.0.2.11", 0x80, {3});
    frame_to("192.0.2.11", 0x81, {5});
    frame_to("192.0.2.11", 0x84, {});
    for (int progress = 1; progress <= 128; progress = progress == 1 ? 8 : progress + 8) {
        frame_to("192.0.2.11", 0x82, {1, static_cast<uint8_t>(progress)});
    }
    const std::string switcher = lab_->WaitForLog("SW1", "transition complete");
    EXPECT_THAT(switcher, HasSubstr("192.0.2.1:7000 program source 3\n"));
    EXPECT_THAT(switcher, HasSubstr("192.0.2.1:7000 preview source 5\n"));
    EXPECT_THAT(switcher, HasSubstr("192.0.2.1:7000 auto transition (program 3, preview 5)\n"));
    EXPECT_THAT(switcher, HasSubstr("lever direction 1 progress 128 -> transition complete: "
                                    "program 5, preview 3\n"));

    // Matrix: its texts.
    send_to("192.0.2.12", {'3', 'A', 'l', 'l', '.'}, 20);
    send_to("192.0.2.12", {'1', 'V', '2', ',', '3', '.'}, 20);
    const std::string matrix = lab_->WaitForLog("MX1", "outputs 2, 3");
    EXPECT_THAT(matrix, HasSubstr("192.0.2.1:7000 route input 3 to all outputs\n"));
    EXPECT_THAT(matrix, HasSubstr("192.0.2.1:7000 route input 1 to outputs 2, 3\n"));

    // Quad-view: a show mode, then both queries.
    frame_to("192.0.2.13", 0x94, {8});
    std::vector<uint8_t> status;
    std::vector<uint8_t> signal;
    InPanel([&] {
        const auto query = MakeCommandFrame(*link.SelectedEntry(), LinkByte::Udp, 0x90);
        status = QueryWithReply(link, query, ReplyWait{0x90, 1000, TickMs()}, 10);
        const auto signal_query = MakeCommandFrame(*link.SelectedEntry(), LinkByte::Udp, 0xAA);
        signal = QueryWithReply(link, signal_query, ReplyWait{0xAA, 1000, TickMs()}, 10);
    });
    ASSERT_GE(status.size(), 258u);
    EXPECT_EQ(status[22], 8);
    ASSERT_GE(signal.size(), 26u);
    EXPECT_THAT(std::vector<uint8_t>(signal.begin() + 18, signal.begin() + 26),
                ElementsAre(1, 0, 1, 0, 1, 0, 1, 0));
    const std::string quad = lab_->WaitForLog("QV1", "signal query");
    EXPECT_THAT(quad, HasSubstr("192.0.2.1:7000 show mode 8 (window 1 full screen)\n"));
    EXPECT_THAT(quad, HasSubstr("192.0.2.1:7000 status query -> sent 261 bytes\n"));
}

// A multiviewer on the panel's LAN, and FAR1 on a second subnet behind a router namespace.
class LabFarSubnetTest : public LabTest {
  protected:
    std::vector<std::string> ExtraArgs() override { return {"--multiviewer", "1", "--far"}; }

    static constexpr uint32_t kWindowMs = 1000;  // the lab answers within milliseconds
};

TEST_F(LabFarSubnetTest, FindReachesTheDeviceBehindTheRouterThatTheBroadcastDoesNot) {
    DeviceLink link;
    const DeviceSearchResult search = SearchFromPanel(link, kWindowMs);
    std::vector<std::u16string> entries = search.combo_entries;
    ASSERT_THAT(entries, ElementsAre(u"MV1_192.0.2.10"));

    DeviceFindResult far;
    DeviceFindResult near;
    InPanel([&] {
        far = FindLanDevice(link, "192.0.2.140", entries, kWindowMs);
        near = FindLanDevice(link, "192.0.2.10", entries, kWindowMs);
    });
    EXPECT_EQ(far.added, 1u);
    EXPECT_EQ(near.named, 1u);  // MV1 answers and is listed already
    EXPECT_EQ(near.added, 0u);
    EXPECT_THAT(entries, ElementsAre(u"MV1_192.0.2.10", u"FAR1_192.0.2.140"));
    EXPECT_EQ(link.device_table[1].IpText(), "192.0.2.140");
    EXPECT_EQ(link.device_table[1].device_type, 0xA1);
    EXPECT_EQ(link.device_table[1].device_address, 0x01);

    // FAR1 heard one request, the find's, from the panel's own address (the router forwards,
    // it does not translate); the broadcast never reached it.
    const std::string far_log = lab_->WaitForLog("FAR1", "search request");
    const std::string request = "192.0.2.1:7000 search request -> answered as FAR1";
    EXPECT_THAT(far_log, HasSubstr(request));
    EXPECT_EQ(far_log.find(request), far_log.rfind(request)) << far_log;

    // The broadcast address of the panel's LAN is taken for no device: the find's socket may
    // not broadcast, so nothing goes out.
    DeviceFindResult directed;
    InPanel([&] { directed = FindLanDevice(link, "192.0.2.127", entries, kWindowMs); });
    EXPECT_FALSE(directed.sent);
    EXPECT_THAT(messages_.shown,
                ElementsAre("Find: the search request could not be sent to 192.0.2.127"));
    messages_.shown.clear();
    const std::string near_log = lab_->Log("MV1");
    size_t requests = 0;
    for (size_t at = near_log.find("search request"); at != std::string::npos;
         at = near_log.find("search request", at + 1)) {
        ++requests;
    }
    EXPECT_EQ(requests, 2u) << near_log;  // the broadcast and the find of 192.0.2.10
    EXPECT_EQ(link.m_udpSockfd, -1);
}

// 128 simulated devices in one namespace, all answering one search.
class LabScaleTest : public LabTest {
  protected:
    std::vector<std::string> ExtraArgs() override { return {"--scale", "128"}; }
};

TEST_F(LabScaleTest, OneSearchListsAll128Devices) {
    DeviceLink link;
    const DeviceSearchResult result = SearchFromPanel(link);
    ASSERT_EQ(result.combo_entries.size(), 128u);
    std::set<std::string> entries;
    for (const auto& entry : result.combo_entries) {
        entries.insert(Utf8(entry));
    }
    for (const auto& [name, device] : lab_->Devices()) {
        EXPECT_EQ(entries.count(name + "_" + device.address), 1u) << name;
    }
    EXPECT_EQ(entries.size(), 128u);
}

}  // namespace
}  // namespace panoptix::e2e
