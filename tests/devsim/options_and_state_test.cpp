// The simulator's command line and its state file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device_factory.h"
#include "devsim_options.h"
#include "multiviewer_model.h"
#include "state_file.h"

namespace panoptix::devsim {
namespace {

using ::testing::HasSubstr;

bool Parse(std::vector<std::string_view> args, DevsimOptions& options, std::string& error) {
    return ParseOptions(args, options, error);
}

TEST(DevsimOptions, DefaultsFollowTheKind) {
    const std::tuple<const char*, uint8_t, const char*> kinds[] = {
        {"multiviewer", 0xA1, "MV16"},
        {"switcher", 0xA5, "SW12"},
        {"matrix", 0x81, "MX88"},
        {"quadview", 0x60, "QV4"},
    };
    for (const auto& [kind, type, name] : kinds) {
        DevsimOptions options;
        std::string error;
        ASSERT_TRUE(Parse({"--kind", kind}, options, error)) << error;
        EXPECT_EQ(options.type_byte, type);
        EXPECT_EQ(options.model_name, name);
        EXPECT_EQ(options.address_byte, 0x01);
        EXPECT_EQ(options.bind_address, "0.0.0.0");
        EXPECT_EQ(options.port, 7000);
        EXPECT_FALSE(options.serial);
    }
}

TEST(DevsimOptions, EveryOptionInBothSpellings) {
    DevsimOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--kind=matrix", "--name", "QL2293 ", "--type", "0x82", "--address=7",
                       "--bind", "192.0.2.10", "--port=7001", "--serial", "--state", "s.txt"},
                      options, error))
        << error;
    EXPECT_EQ(options.kind, DeviceKind::Matrix);
    EXPECT_EQ(options.model_name, "QL2293 ");
    EXPECT_EQ(options.type_byte, 0x82);
    EXPECT_EQ(options.address_byte, 7);
    EXPECT_EQ(options.bind_address, "192.0.2.10");
    EXPECT_EQ(options.port, 7001);
    EXPECT_TRUE(options.serial);
    EXPECT_EQ(options.serial_link, "");  // "--state" is the next option, not a link path
    EXPECT_EQ(options.state_file, "s.txt");

    DevsimOptions linked;
    ASSERT_TRUE(Parse({"--kind", "switcher", "--serial", "/tmp/sw.tty"}, linked, error));
    EXPECT_EQ(linked.serial_link, "/tmp/sw.tty");
    ASSERT_TRUE(Parse({"--serial=/tmp/x.tty", "--kind", "switcher"}, linked, error));
    EXPECT_EQ(linked.serial_link, "/tmp/x.tty");
}

TEST(DevsimOptions, MistakesAreNamed) {
    const std::pair<std::vector<std::string_view>, const char*> cases[] = {
        {{}, "--kind is required"},
        {{"--kind", "router"}, "--kind must be"},
        {{"--kind"}, "--kind needs a value"},
        {{"--kind", "matrix", "--type", "256"}, "--type: 256 is outside 0..255"},
        {{"--kind", "matrix", "--port", "0"}, "--port: 0 is outside"},
        {{"--kind", "matrix", "--bind", "192.0.2"}, "--bind needs an IPv4 address"},
        {{"--kind", "matrix", "--bind", "192.0.2.300"}, "--bind needs an IPv4 address"},
        {{"--kind", "matrix", "--name", "A-1"}, "cuts it short"},
        {{"--kind", "matrix", "--colour"}, "unknown option --colour"},
    };
    for (const auto& [args, message] : cases) {
        DevsimOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error));
        EXPECT_THAT(error, HasSubstr(message));
    }
    DevsimOptions options;
    std::string error;
    EXPECT_TRUE(Parse({"--help"}, options, error));
    EXPECT_TRUE(options.help);
}

TEST(StateFile, SetsTheInitialStateOfEachKind) {
    MultiviewerModel multiviewer({DeviceKind::Multiviewer, "MV", 0xA1, 1});
    std::string error;
    ASSERT_TRUE(ApplyStateText(multiviewer,
                               "# studio A\n"
                               "layout = 9\n"
                               "\n"
                               "resolution=0x0E\n"
                               "label.3=Studio \xC3\x9C\n"
                               "umd_back_color=2\n"
                               "umd_back_color.16=5\r\n",
                               error))
        << error;
    EXPECT_EQ(multiviewer.State().layout_code, 9);
    EXPECT_EQ(multiviewer.State().resolution_code, 14);
    EXPECT_EQ(multiviewer.State().labels[2], u"Studio \u00DC");
    EXPECT_EQ(multiviewer.State().umd_back_color[0], 2);
    EXPECT_EQ(multiviewer.State().umd_back_color[15], 5);

    for (DeviceKind kind : {DeviceKind::Switcher, DeviceKind::Matrix, DeviceKind::QuadView}) {
        auto model = MakeDeviceModel({kind, "X", DefaultTypeByte(kind), 1});
        const char* text = kind == DeviceKind::Switcher ? "program=4\npip_x=960\nchroma_red.1=9"
                           : kind == DeviceKind::Matrix ? "route=2\nroute.8=8"
                                                        : "show_mode=16\nsignal.4=0\nlabel.1=Cam";
        EXPECT_TRUE(ApplyStateText(*model, text, error)) << KindName(kind) << ": " << error;
    }
}

TEST(StateFile, BadLinesAreNamedWithTheirNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"layout=4\nlayout=5", "line 2: layout: not a layout"},
        {"resolution=2", "line 1: resolution: not a resolution code"},
        {"label.17=x", "line 1: label.17: index 17 is outside 1..16"},
        {"label.x=x", "line 1: label.x: the index is not a number"},
        {"label.1=ABCDEFGHIJKLMNOPQ", "at most 16"},
        {"umd_text_color=16", "16 is outside 0..15"},
        {"colour=3", "line 1: colour: not a multiviewer key"},
        {"layout 4", "line 1: expected key=value"},
        {"=4", "empty key"},
        {"layout.2=4", "takes no index"},
        {"lock_state=on", "\"on\" is not a number"},
    };
    for (const auto& [text, message] : cases) {
        MultiviewerModel model({DeviceKind::Multiviewer, "MV", 0xA1, 1});
        std::string error;
        EXPECT_FALSE(ApplyStateText(model, text, error)) << text;
        EXPECT_THAT(error, HasSubstr(message));
    }
}

TEST(StateFile, LoggedStateReadsBackAsTheSameState) {
    for (DeviceKind kind : {DeviceKind::Multiviewer, DeviceKind::Switcher, DeviceKind::Matrix,
                            DeviceKind::QuadView}) {
        SCOPED_TRACE(std::string(KindName(kind)));
        auto changed = MakeDeviceModel({kind, "A", DefaultTypeByte(kind), 1});
        // Change the state through commands, as the panel would.
        changed->ReceiveDatagram(std::vector<uint8_t>{'4', 'A', 'l', 'l', '.'});
        std::vector<uint8_t> frame(24);
        for (uint8_t command : {0x33, 0x80, 0x94, 0x3C, 0xA0}) {
            const uint8_t payload[] = {4, 9, 1, 0};
            BuildFrameWithDeviceBytes(DefaultTypeByte(kind), 1, LinkByte::Udp, command, payload,
                                      frame);
            changed->ReceiveDatagram(frame);
        }
        std::string text;
        for (const auto& line : changed->StateLines()) {
            text += line + "\n";
        }
        auto restored = MakeDeviceModel({kind, "A", DefaultTypeByte(kind), 1});
        std::string error;
        ASSERT_TRUE(ApplyStateText(*restored, text, error)) << error;
        EXPECT_EQ(restored->StateLines(), changed->StateLines());
        EXPECT_NE(MakeDeviceModel({kind, "A", DefaultTypeByte(kind), 1})->StateLines(),
                  changed->StateLines());
    }
}

}  // namespace
}  // namespace panoptix::devsim
