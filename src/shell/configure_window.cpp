#include "shell/configure_window.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QShowEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <string>
#include <utility>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/ip_address_field.h"
#include "controls/page_painting.h"
#include "link/serial_port_list.h"
#include "link/trace_events.h"
#include "link/transmit.h"
#include "resources/skin.h"

namespace panoptix {
namespace {

constexpr int kBackgroundBitmap = 191;
constexpr int kIconConnected = 212;
constexpr int kIconNotConnected = 211;
constexpr int kIconSize = 32;
constexpr uint32_t kClosePortWaitMs = 500;
constexpr int kComboHeight = 23;
constexpr int32_t kModeSelectionLan = 0;
constexpr int32_t kModeSelectionSerial = 1;

// The window was laid out in dialog units of its 8-point dialog font: 3/2 pixel across and
// 13/8 pixel down per unit.
QRect FromDialogUnits(int x, int y, int width, int height) {
    return {x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8};
}

struct LabelPlacement {
    const char* text;
    QRect rect;
};

const LabelPlacement kLabels[] = {
    {"Connection Mode", FromDialogUnits(23, 28, 56, 8)},
    {"Dev IP", FromDialogUnits(57, 75, 22, 8)},
    {"Serial Port", FromDialogUnits(45, 128, 34, 8)},
    {"Baud Rate", FromDialogUnits(45, 151, 34, 8)},
};

const char* const kBaudRates[] = {"9600", "19200", "38400", "57600", "115200"};

// The window's buttons wear the skin's grey text-button look, like the pages' buttons, rather
// than the platform's white buttons on the dark background.
CButtonST* MakeButton(const QString& caption, QWidget* parent) {
    auto* button = new CButtonST(parent);
    button->setText(caption);
    panoptix::UseSkinTextButtonColours(*button);
    return button;
}

}  // namespace

ConfigureWindow::ConfigureWindow(PanoptixState& state, QWidget* parent, DeviceFinder find_device)
    : QDialog(parent), state_(state), find_device_(std::move(find_device)) {
    setWindowTitle(QStringLiteral("Configure"));
    CreateControls();
    ApplyPageControlColours(this);
    OnInitDialog();
}

ConfigureWindow::~ConfigureWindow() {
    trace::ConfigureFreed();
}

void ConfigureWindow::CreateControls() {
    QFont font = this->font();
    font.setPixelSize(12);
    setFont(font);
    const QFontMetrics metrics(font);
    for (const LabelPlacement& placement : kLabels) {
        auto* label = new QLabel(QString::fromLatin1(placement.text), this);
        QRect rect = placement.rect;
        // The label keeps its right edge beside its control and grows to the left if the
        // font needs more room than the dialog units give.
        const int needed = metrics.horizontalAdvance(label->text()) + 4;
        if (needed > rect.width()) {
            rect.setLeft(rect.right() + 1 - needed);
        }
        rect.setHeight(std::max(rect.height(), metrics.height()));
        label->setGeometry(rect);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setAutoFillBackground(true);
    }

    mode_list_ = new QComboBox(this);
    mode_list_->setGeometry(FromDialogUnits(118, 26, 99, 0).adjusted(0, 0, 0, kComboHeight));
    SetControlId(mode_list_, configure_window_id::kModeList);

    ip_address_ = new IpAddressField(this);
    ip_address_->setGeometry(FromDialogUnits(118, 73, 99, 12));
    ip_address_->setAutoFillBackground(true);
    SetControlId(ip_address_, configure_window_id::kIpAddress);

    change_ip_ = MakeButton(QStringLiteral("Change  IP"), this);
    change_ip_->setGeometry(FromDialogUnits(118, 90, 50, 14));
    SetControlId(change_ip_, configure_window_id::kChangeIp);

    // "Find" sits right of the address field, on its line.
    find_ = MakeButton(QStringLiteral("Find"), this);
    find_->setGeometry(FromDialogUnits(222, 72, 36, 14));
    find_->setToolTip(
        QStringLiteral("Ask the device at this address, also behind a router, "
                       "and add it to the device list"));
    if (!find_device_) {
        find_->hide();
    }
    SetControlId(find_, configure_window_id::kFind);

    port_list_ = new QComboBox(this);
    port_list_->setGeometry(FromDialogUnits(118, 124, 99, 0).adjusted(0, 0, 0, kComboHeight));
    SetControlId(port_list_, configure_window_id::kPortList);

    baud_list_ = new QComboBox(this);
    baud_list_->setGeometry(FromDialogUnits(118, 149, 99, 0).adjusted(0, 0, 0, kComboHeight));
    SetControlId(baud_list_, configure_window_id::kBaudList);

    connect_ = MakeButton(QStringLiteral("Connect"), this);
    connect_->setGeometry(FromDialogUnits(118, 172, 50, 14));
    SetControlId(connect_, configure_window_id::kConnect);

    // The status icon is painted by the dialog; the control only marks its place.
    status_icon_ = new QWidget(this);
    status_icon_->setGeometry(FromDialogUnits(179, 169, 20, 20));
    status_icon_->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetControlId(status_icon_, configure_window_id::kStatusIcon);

    connect(mode_list_, &QComboBox::activated, this, &ConfigureWindow::OnModeChanged);
    connect(connect_, &QAbstractButton::clicked, this, &ConfigureWindow::OnConnect);
    connect(change_ip_, &QAbstractButton::clicked, this, &ConfigureWindow::OnChangeIp);
    connect(find_, &QAbstractButton::clicked, this, &ConfigureWindow::OnFind);
}

void ConfigureWindow::OnInitDialog() {
    trace::ConfigureOpened();
    status_icon_rect_ = status_icon_->geometry();

    // Filling the lists is not an operator's choice: no handler runs for it.
    const QSignalBlocker block_mode(mode_list_);
    FillPortList();

    // The rate opened last is offered again; a rate not in the list leaves "9600".
    for (const char* baud : kBaudRates) {
        baud_list_->addItem(QString::fromLatin1(baud));
    }
    const QString baud = QString::number(CurrentSerialChoice(state_).baud_rate);
    baud_list_->setCurrentIndex(std::max(0, baud_list_->findText(baud)));

    mode_list_->insertItem(kModeSelectionLan, QStringLiteral("LAN Port"));
    mode_list_->insertItem(kModeSelectionSerial, QStringLiteral("Serial Port"));
    mode_list_->setCurrentIndex(ConnectionModeNumber(state_.link.mode()));

    const DeviceEntry* selected = state_.link.SelectedEntry();
    ip_address_->SetAddressText(selected != nullptr ? QString::fromStdString(selected->IpText())
                                                    : QString());

    SetSerialControlsEnabled(false);
    // A find asks by UDP: it waits for the LAN mode.
    find_->setEnabled(state_.link.mode() == ConnectionMode::Lan);
}

void ConfigureWindow::FillPortList() {
    const QString shown = port_list_->currentText();
    port_list_->clear();
    for (const std::string& port : ListSerialPorts()) {
        port_list_->addItem(QString::fromStdString(port));
    }
    int index = port_list_->findText(shown);
    if (index < 0) {
        // A port remembered from before that is gone now is not selected.
        index = port_list_->findText(QString::fromStdString(CurrentSerialChoice(state_).port));
    }
    port_list_->setCurrentIndex(index >= 0 ? index : (port_list_->count() > 0 ? 0 : -1));
}

void ConfigureWindow::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FillPortList();
    }
    QDialog::showEvent(event);
}

void ConfigureWindow::SetSerialControlsEnabled(bool enabled) {
    connect_->setEnabled(enabled);
    port_list_->setEnabled(enabled);
    baud_list_->setEnabled(enabled);
}

void ConfigureWindow::SetLanControlsEnabled(bool enabled) {
    ip_address_->setEnabled(enabled);
    change_ip_->setEnabled(enabled);
    find_->setEnabled(enabled);
}

void ConfigureWindow::OnModeChanged(int index) {
    // The selection is taken as a signed 8-bit value: no selection is -1 and does nothing.
    const auto selection = static_cast<int8_t>(static_cast<uint8_t>(index & 0xFF));
    if (selection == kModeSelectionSerial) {
        SetSerialControlsEnabled(true);
        SetLanControlsEnabled(false);
        state_.link.SetMode(ConnectionMode::Serial, ModeChangeSource::Settings);
    } else if (selection == kModeSelectionLan) {
        SetSerialControlsEnabled(false);
        SetLanControlsEnabled(true);
        state_.link.SetMode(ConnectionMode::Lan, ModeChangeSource::Settings);
        // An open port stays open and the button keeps its text; only the flag is cleared.
        connected_flag_ = 0;
        RepaintStatusIcon();
    }
}

void ConfigureWindow::OnConnect() {
    CnComm& port = state_.link.SerialPort();
    if (connected_flag_ != 0) {
        port.ClosePort(kClosePortWaitMs);
        connect_->setText(QStringLiteral("Connect"));
        port_list_->setEnabled(true);
        baud_list_->setEnabled(true);
        connected_flag_ = ~connected_flag_;
        RepaintStatusIcon();
        return;
    }

    const QString baud_text = baud_list_->currentText();
    const QString port_name = port_list_->currentText();
    if (port.IsOpen()) {
        trace::CloseCom();
        port.ClosePort(kClosePortWaitMs);
    }
    const uint32_t baud_rate = baud_text.toUInt();
    const bool opened = port.OpenPort(port_name.toStdString(), baud_rate);
    Trace(opened ? "com open success \n" : "com open failed \n");
    if (!port.IsOpen()) {
        return;
    }
    connect_->setText(QStringLiteral("Disconnect"));
    port_list_->setEnabled(false);
    baud_list_->setEnabled(false);
    connected_flag_ = ~connected_flag_;
    RepaintStatusIcon();
}

void ConfigureWindow::OnChangeIp() {
    const auto octets = ip_address_->Octets();
    uint8_t ip[4] = {};
    std::copy(octets.begin(), octets.end(), ip);
    // With no LAN device selected the send shows "Please choose a device" and nothing goes out.
    SendAddressChange(state_.link, AddressOnOwnSubnet(ip));
}

void ConfigureWindow::OnFind() {
    if (find_device_) {
        find_device_(ip_address_->AddressText().toStdString());
    }
}

void ConfigureWindow::RepaintStatusIcon() {
    update(status_icon_rect_);
}

void ConfigureWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(20, 80, 460, 80);
    painter.drawLine(20, 190, 460, 190);
    const int icon_id = connected_flag_ != 0 ? kIconConnected : kIconNotConnected;
    painter.drawPixmap(status_icon_rect_.topLeft(), skin::Icon(icon_id).pixmap(kIconSize));
}

void ConfigureWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(event);  // Esc cancels
        return;
    }
    // Enter presses the focused button; anywhere else it ends the dialog the OK way: hidden,
    // without the cancel trace.
    if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) {
        if (button->isEnabled()) {
            button->click();
        }
        return;
    }
    hide();
}

void ConfigureWindow::reject() {
    trace::ConfigureClosed();
    QDialog::reject();
}

}  // namespace panoptix
