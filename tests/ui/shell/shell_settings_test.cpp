// The user's settings file: what the main window keeps is what the next one restores (the list
// and its selection only: no page opens and nothing is sent until the operator picks), a file
// that cannot be used starts from the defaults with one trace, and the "Configure" window reads
// the serial ports again whenever it is shown, selecting a remembered port only if it is there.
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "controls/user_settings_file.h"
#include "main_window_fixture.h"
#include "shell/remembered_settings.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing_support::ComboTexts;
using testing_support::MainWindowTest;
using testing_support::TraceRecorder;

QString SettingsPath() {
    return OpenUserSettings()->fileName();
}

void WriteSettingsFile(const std::string& text) {
    QDir().mkpath(QFileInfo(SettingsPath()).path());
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

// The lines the settings reading wrote.
std::vector<std::string> SettingsTraces(const TraceRecorder& traces) {
    std::vector<std::string> lines;
    for (const std::string& line : traces.lines()) {
        if (line.starts_with("user settings:")) {
            lines.push_back(line);
        }
    }
    return lines;
}

TEST_F(MainWindowTest, TheNextStartRestoresTheConnectionAndTheListWithoutOpeningAPage) {
    RegisterStandInPages({DevicePageKind::Matrix, DevicePageKind::Multiviewer});
    // The mode first: a change of mode empties the list.
    dialog_->State().link.SetMode(ConnectionMode::Serial);
    dialog_->State().link.m_main_com_dev_type = 0x81;
    // A name with a comma and a non-ASCII letter, as a model name may be.
    ListDevices({0x81, 0xA1, 0x60}, {u"device 0", u"MV16, Studio \u00C4_192.0.2.11"});
    dialog_->State().link.device_table[1].SetIpText("192.0.2.11");
    dialog_->State().link.device_table[1].device_address = 7;
    dialog_->DeviceCombo()->setCurrentIndex(1);  // the operator's choice opens its page
    ASSERT_NE(Page(), nullptr);
    dialog_->State().serial_choice = {"/dev/ttyUSB7", 57600};
    dialog_.reset();  // the window goes: its settings are written

    TraceRecorder traces;
    dialog_ = std::make_unique<MainWindow>();
    EXPECT_THAT(SettingsTraces(traces),
                ElementsAre("user settings: mode 1, 3 devices, entry 1 selected \n"));
    EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()),
                ElementsAre("device 0", "MV16, Studio Ä_192.0.2.11", "device 2"));
    EXPECT_EQ(dialog_->DeviceCombo()->currentIndex(), 1);
    EXPECT_EQ(dialog_->State().link.m_device_index, 1);
    EXPECT_EQ(dialog_->State().link.device_table[1].IpText(), "192.0.2.11");
    EXPECT_EQ(dialog_->State().link.device_table[1].device_address, 7);
    EXPECT_EQ(dialog_->State().link.device_table[2].device_type, 0x60);
    EXPECT_EQ(dialog_->State().link.mode(), ConnectionMode::Serial);
    EXPECT_EQ(dialog_->State().link.m_main_com_dev_type, 0x81);
    EXPECT_EQ(dialog_->State().serial_choice.port, "/dev/ttyUSB7");
    EXPECT_EQ(dialog_->State().serial_choice.baud_rate, 57600u);
    EXPECT_FALSE(dialog_->State().link.serial_port.IsOpen());
    EXPECT_EQ(dialog_->CurrentPage(), nullptr) << "no page opens at start";
    EXPECT_EQ(dialog_->PageAreaText(),
              QStringLiteral("Choose a device in the list to open its page"));
    EXPECT_EQ(traces.CountStartingWith("m_device_index"), 0u) << "no page was even tried";

    // The operator picks the entry shown: now its page opens (on the serial link, by the type
    // byte of the serial reply).
    RegisterStandInPages({DevicePageKind::Matrix});
    emit dialog_->DeviceCombo()->activated(1);
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Page()->kind(), DevicePageKind::Matrix);
    // Picking it again changes nothing, as before.
    QWidget* page = dialog_->CurrentPage();
    emit dialog_->DeviceCombo()->activated(1);
    EXPECT_EQ(dialog_->CurrentPage(), page);
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeUsedStartsFromTheDefaultsWithOneTrace) {
    dialog_.reset();
    const std::string device = "[devices]\ncount=1\nselected=0\n1\\name=MX88_192.0.2.12\n";
    const struct {
        const char* what;
        std::optional<std::string> file;  // nullopt: no file
        const char* says;                 // a part of the trace; nullptr: any reason
    } cases[] = {
        {"missing", std::nullopt, "no file"},
        {"empty", "", "holds no connection or device settings"},
        {"not an INI file",
         "\x7f"
         "ELF\x02\x01\x01\xff\xfe garbage\n\x01\x02",
         nullptr},
        {"a word for a number", "[connection]\nmode=serial\n", "connection/mode \"serial\""},
        {"an unknown mode", "[connection]\nmode=2\n", "connection/mode \"2\""},
        {"a list for a number", "[connection]\nmode=0, 1\n", "connection/mode \"0,"},
        {"a baud rate not offered", "[connection]\nbaud_rate=12345\n", "connection/baud_rate"},
        {"a port name too long", "[connection]\nserial_port=/dev/" + std::string(70, 'x') + "\n",
         "connection/serial_port"},
        {"200 devices", "[devices]\ncount=200\nselected=0\n", "devices/count \"200\""},
        {"a selection beyond the list",
         "[devices]\ncount=1\nselected=1\n1\\name=MX\n1\\ip=\n1\\address=1\n1\\type=129\n",
         "devices/selected \"1\""},
        {"an address that is none", device + "1\\ip=192.0.2.300\n1\\address=1\n1\\type=129\n",
         "devices/1/ip \"192.0.2.300\""},
        {"a type byte beyond 255", device + "1\\ip=192.0.2.12\n1\\address=1\n1\\type=999\n",
         "devices/1/type \"999\""},
        {"a device without its address", device + "1\\ip=192.0.2.12\n1\\type=129\n",
         "devices/1/address is missing"},
        // A good mode beside a bad device: nothing of the file is taken.
        {"a good mode and a bad device",
         "[connection]\nmode=1\n" + device + "1\\ip=1.2.3\n1\\address=1\n1\\type=129\n",
         "devices/1/ip \"1.2.3\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(SettingsPath());
        if (c.file) {
            WriteSettingsFile(*c.file);
        }
        TraceRecorder traces;
        auto dialog = std::make_unique<MainWindow>();
        const auto said = SettingsTraces(traces);
        ASSERT_EQ(said.size(), 1u);
        EXPECT_NE(said[0].find("starting from the defaults"), std::string::npos) << said[0];
        if (c.says != nullptr) {
            EXPECT_NE(said[0].find(c.says), std::string::npos) << said[0];
        }
        EXPECT_EQ(dialog->State().link.mode(), ConnectionMode::Lan);
        EXPECT_EQ(dialog->DeviceCombo()->count(), 0);
        EXPECT_EQ(dialog->State().link.m_device_index, -1);
        EXPECT_EQ(dialog->State().serial_choice.port, "");
        EXPECT_EQ(dialog->State().serial_choice.baud_rate, 9600u);
        EXPECT_EQ(dialog->PageAreaText(), QStringLiteral("Press SCAN to search for devices"));
    }

    // Unreadable: a folder where the file should be.
    QFile::remove(SettingsPath());
    ASSERT_TRUE(QDir().mkpath(SettingsPath()));
    {
        TraceRecorder traces;
        auto dialog = std::make_unique<MainWindow>();
        EXPECT_EQ(SettingsTraces(traces).size(), 1u);
        EXPECT_EQ(dialog->State().link.mode(), ConnectionMode::Lan);
        EXPECT_EQ(dialog->DeviceCombo()->count(), 0);
    }
    QDir(SettingsPath()).removeRecursively();
}

// A port link in /dev that leads to a pseudo-terminal, listed as a serial port while it is there.
class PortLink {
  public:
    explicit PortLink(const std::string& target)
        : path_("/dev/pnxcfg" + std::to_string(::getpid())) {
        made_ = ::symlink(target.c_str(), path_.c_str()) == 0;
    }
    ~PortLink() {
        if (made_) {
            ::unlink(path_.c_str());
        }
    }
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;
    bool made() const { return made_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool made_ = false;
};

TEST_F(MainWindowTest, ConfigureReadsThePortsAtEveryShowAndSelectsARememberedPortOnlyIfThere) {
    const testing_support::PtyPeer device(testing_support::PtyPeer::Line::HeldOpen);
    const std::string port = "/dev/pnxcfg" + std::to_string(::getpid());
    dialog_->State().serial_choice = {port, 38400};

    dialog_->OnSettings();
    ConfigureWindow* configure = dialog_->ConfigureDialog();
    auto* ports = FindControlAs<QComboBox>(configure, configure_window_id::kPortList);
    auto* bauds = FindControlAs<QComboBox>(configure, configure_window_id::kBaudList);
    EXPECT_EQ(ports->findText(QString::fromStdString(port)), -1);
    EXPECT_NE(ports->currentText().toStdString(), port) << "a port that is gone is not selected";
    EXPECT_EQ(bauds->currentText(), QStringLiteral("38400"));

    // Plugged in while the window is hidden: it is there when the window is shown again.
    configure->hide();
    const PortLink link(device.PortName());
    if (!link.made()) {
        GTEST_SKIP() << "cannot make a port link in /dev (needs root)";
    }
    dialog_->OnSettings();
    EXPECT_NE(ports->findText(QString::fromStdString(port)), -1);

    // A new window (the next start) selects the remembered port now that it exists.
    dialog_.reset();
    dialog_ = std::make_unique<MainWindow>();
    dialog_->State().serial_choice = {port, 115200};
    dialog_->OnSettings();
    ports = FindControlAs<QComboBox>(dialog_->ConfigureDialog(), configure_window_id::kPortList);
    EXPECT_EQ(ports->currentText().toStdString(), port);
}

}  // namespace
}  // namespace panoptix
