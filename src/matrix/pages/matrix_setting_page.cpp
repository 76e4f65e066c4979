#include "matrix/pages/matrix_setting_page.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>

#include <algorithm>
#include <string>

#include "controls/control_id.h"
#include "controls/ip_address_field.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "link/serial_connection.h"
#include "link/serial_port_list.h"
#include "matrix/pages/matrix_control_ids.h"
#include "matrix/pages/matrix_page_keys.h"
#include "resources/skin.h"

namespace panoptix {
namespace {

constexpr QSize kPageSize{490, 420};
constexpr QRect kFrameRect{5, 5, 480, 410};
constexpr int kFontPixelSize = 12;

// Where the "Configure" window has its controls, so that both views of one connection read
// alike. Lists are 23 pixels high, the address field 19.
constexpr QRect kModeListRect{177, 42, 148, 23};
constexpr QRect kIpAddressRect{177, 118, 148, 19};
constexpr QRect kPortListRect{177, 201, 148, 23};
constexpr QRect kBaudListRect{177, 242, 148, 23};
constexpr QRect kConnectRect{177, 279, 75, 22};
constexpr QRect kLampRect{268, 274, 20, 20};
constexpr int kLampIconSize = 32;
constexpr int kIconConnected = 212;
constexpr int kIconNotConnected = 211;

// The captions end where the window's do; one that needs more room grows to the left.
struct CaptionRow {
    const char* text;
    QRect rect;
};
constexpr CaptionRow kCaptions[] = {
    {"Connection Mode", {34, 45, 84, 13}},
    {"Current IP", {85, 121, 33, 13}},
    {"Serial Port", {67, 208, 51, 13}},
    {"Baud Rate", {67, 245, 51, 13}},
};

// The Connect button's caption: dark red while hovered or pressed, green otherwise. Its shading
// runs through the skin's greys (shadow, face, highlight), like the other buttons of the page,
// rather than through the platform's light button face.
const QColor kConnectTextActive{178, 0, 0};
const QColor kConnectTextNormal{0, 128, 0};
const QColor kConnectShadow{22, 22, 24};
const QColor kConnectFace{42, 44, 48};
const QColor kConnectHighlight{72, 74, 80};

constexpr QLine kSectionLines[] = {{20, 80, 460, 80}, {20, 190, 460, 190}};

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QComboBox* MakeList(QWidget* parent, int control_id, const QRect& rect) {
    auto* list = new QComboBox(parent);
    list->setGeometry(rect);
    SetControlId(list, control_id);
    return list;
}

}  // namespace

MatrixSettingPage::MatrixSettingPage(DeviceLink& link, QWidget* parent)
    : QWidget(parent), link_(link) {
    resize(kPageSize);
    CreateControls();
    ApplyPageControlColours(this);
    SwallowEnterAndEsc(this);
    FillLists();
    OpenMatrixSetting(link_, setting_, *this);
}

void MatrixSettingPage::CreateControls() {
    QFont font = this->font();
    font.setPixelSize(kFontPixelSize);
    setFont(font);

    auto* frame = new CMyGroupBox(this);
    frame->setGeometry(kFrameRect);
    SetControlId(frame, matrix_id::kSettingFrame);

    const QFontMetrics metrics(font);
    for (const CaptionRow& row : kCaptions) {
        auto* caption = new QLabel(QString::fromLatin1(row.text), this);
        QRect rect = row.rect;
        const int needed = metrics.horizontalAdvance(caption->text()) + 4;
        if (needed > rect.width()) {
            rect.setLeft(rect.right() + 1 - needed);
        }
        rect.setHeight(std::max(rect.height(), metrics.height()));
        caption->setGeometry(rect);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    mode_list_ = MakeList(this, matrix_id::kModeList, kModeListRect);
    ip_address_ = new IpAddressField(this);
    ip_address_->setGeometry(kIpAddressRect);
    ip_address_->setAutoFillBackground(true);
    SetControlId(ip_address_, matrix_id::kIpAddress);
    port_list_ = MakeList(this, matrix_id::kPortList, kPortListRect);
    baud_list_ = MakeList(this, matrix_id::kBaudList, kBaudListRect);

    connect_ = new CShadeButtonST(this);
    connect_->setGeometry(kConnectRect);
    connect_->setText(FromView(kConnectCaption));
    SetControlId(connect_, matrix_id::kConnect);
    QPalette shading = connect_->palette();
    shading.setColor(QPalette::Dark, kConnectShadow);
    shading.setColor(QPalette::Button, kConnectFace);
    shading.setColor(QPalette::Light, kConnectHighlight);
    shading.setColor(QPalette::Highlight, kPageControlText);
    connect_->setPalette(shading);
    // Bold reads on the dark shading; one pixel smaller so that "Disconnect" fits the button.
    QFont caption_font = connect_->font();
    caption_font.setBold(true);
    caption_font.setPixelSize(kFontPixelSize - 1);
    connect_->setFont(caption_font);
    connect_->ApplyShading();
    connect_->SetColour(CButtonST::kTextActive, kConnectTextActive);
    connect_->SetColour(CButtonST::kTextNormal, kConnectTextNormal);

    // The lamp is painted by the sub page; the control only marks its place.
    auto* lamp = new QWidget(this);
    lamp->setGeometry(kLampRect);
    lamp->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetControlId(lamp, matrix_id::kLamp);
    lamp_rect_ = QRect(kLampRect.topLeft(), QSize(kLampIconSize, kLampIconSize));

    // Every operator choice counts, the entry already shown included.
    connect(mode_list_, &QComboBox::activated, this,
            [this](int index) { ChooseConnectionMode(link_, *this, index); });
    connect(connect_, &QAbstractButton::clicked, this, &MatrixSettingPage::OnConnect);
}

void MatrixSettingPage::FillLists() {
    // Filling the lists is not an operator's choice: no rule runs for it.
    const QSignalBlocker quiet_modes(mode_list_);
    for (const std::string_view mode : kConnectionModeTexts) {
        mode_list_->addItem(FromView(mode));
    }
    for (const std::string& port : ListSerialPorts()) {
        port_list_->addItem(QString::fromStdString(port));
    }
    port_list_->setCurrentIndex(port_list_->count() > 0 ? 0 : -1);
    for (const std::string_view baud : kBaudRateTexts) {
        baud_list_->addItem(FromView(baud));
    }
    baud_list_->setCurrentIndex(0);
}

void MatrixSettingPage::OnConnect() {
    const std::string port_name = port_list_->currentText().toStdString();
    const std::string baud_text = baud_list_->currentText().toStdString();
    ClickConnect(setting_, link_, *this, port_name, baud_text);
}

void MatrixSettingPage::ShowMode(int index) {
    const QSignalBlocker quiet(mode_list_);
    mode_list_->setCurrentIndex(index >= 0 && index < mode_list_->count() ? index : -1);
}

void MatrixSettingPage::ShowIpAddress(std::string_view ip_text) {
    ip_address_->SetAddressText(FromView(ip_text));
}

void MatrixSettingPage::SetIpFieldEnabled(bool enabled) {
    ip_address_->setEnabled(enabled);
}

void MatrixSettingPage::SetSerialControlsEnabled(bool enabled) {
    port_list_->setEnabled(enabled);
    baud_list_->setEnabled(enabled);
    connect_->setEnabled(enabled);
}

void MatrixSettingPage::SetPortListsEnabled(bool enabled) {
    port_list_->setEnabled(enabled);
    baud_list_->setEnabled(enabled);
}

void MatrixSettingPage::SetConnectCaption(std::string_view caption) {
    connect_->setText(FromView(caption));
}

void MatrixSettingPage::ShowLamp(bool connected) {
    lamp_lit_ = connected;
    update(lamp_rect_);
}

void MatrixSettingPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
    painter.setPen(QPen(Qt::black, 1));
    for (const QLine& line : kSectionLines) {
        painter.drawLine(line);
    }
    const int icon_id = lamp_lit_ ? kIconConnected : kIconNotConnected;
    painter.drawPixmap(lamp_rect_.topLeft(), skin::Icon(icon_id).pixmap(kLampIconSize));
}

}  // namespace panoptix
