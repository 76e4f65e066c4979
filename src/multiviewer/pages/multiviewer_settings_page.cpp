#include "multiviewer/pages/multiviewer_settings_page.h"

#include <QPainter>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/ip_address_field.h"
#include "multiviewer/core/multiviewer_tables.h"
#include "multiviewer/pages/multiviewer_control_ids.h"

namespace panoptix {
namespace {

// Upper part: six lists in two columns of three rows, and "Set  Default" below the right one.
constexpr int kRowHeight = 24;
constexpr int kRowPitch = 36;
constexpr int kRowsTop = 32;
constexpr int kLeftCaptionX = 22;
constexpr int kLeftListX = 150;
constexpr int kRightCaptionX = 250;
constexpr int kRightListX = 375;
constexpr int kCaptionWidth = 124;
constexpr int kListWidth = 90;

constexpr QRect RowRect(int x, int width, int row) {
    return {x, kRowsTop + kRowPitch * row, width, kRowHeight};
}

constexpr QRect kSetDefaultRect{kRightListX - 20, kRowsTop + 3 * kRowPitch, 110, 28};
constexpr QLine kDivider{20, 180, 470, 180};

// Lower part: the three address fields and "Set  IP".
constexpr int kAddressCaptionX = 60;
constexpr int kAddressFieldX = 180;
constexpr int kAddressTop = 204;
constexpr int kAddressPitch = 40;
constexpr QSize kAddressFieldSize{180, 26};
constexpr QRect kSetIpRect{kAddressFieldX, kAddressTop + 3 * kAddressPitch + 4, 110, 28};

constexpr QRect AddressCaptionRect(int row) {
    return {kAddressCaptionX, kAddressTop + kAddressPitch * row, 116, kAddressFieldSize.height()};
}
constexpr QRect AddressFieldRect(int row) {
    return {QPoint(kAddressFieldX, kAddressTop + kAddressPitch * row), kAddressFieldSize};
}

constexpr char kSubnetMask[] = "255.255.255.0";

QStringList ResolutionEntries() {
    QStringList entries;
    for (const ResolutionRow& row : kResolutionTable) {
        entries << QString::fromUtf8(row.text.data(), static_cast<qsizetype>(row.text.size()));
    }
    return entries;
}

// The grey text buttons of the page.
CButtonST* MakeTextButton(QWidget* page, int control_id, const QString& caption,
                          const QRect& rect) {
    auto* button = new CButtonST(page);
    button->setGeometry(rect);
    button->setText(caption);
    SetControlId(button, control_id);
    UseSkinTextButtonColours(*button);
    return button;
}

IpAddressField* MakeAddressField(QWidget* page, int control_id, const QRect& rect) {
    auto* field = new IpAddressField(page);
    field->setGeometry(rect);
    SetControlId(field, control_id);
    return field;
}

}  // namespace

MultiviewerSettingsPage::MultiviewerSettingsPage(DeviceLink& link, MultiviewerState& multiviewer,
                                                 QWidget* parent)
    : MultiviewerSubPage(link, multiviewer, parent) {
    CreateControls();
    FinishControls();
}

QString MultiviewerSettingsPage::ProposedGateway(const QString& ip_text) {
    const qsizetype last_dot = ip_text.lastIndexOf(QLatin1Char('.'));
    return ip_text.left(last_dot + 1) + QLatin1Char('1');
}

void MultiviewerSettingsPage::CreateControls() {
    auto* set_default = MakeTextButton(this, mv_id::kSetDefaultButton,
                                       QStringLiteral("Set  Default"), kSetDefaultRect);
    auto* set_ip = MakeTextButton(this, mv_id::kSetIpButton, QStringLiteral("Set  IP"), kSetIpRect);
    connect(set_default, &QAbstractButton::clicked, this, &MultiviewerSettingsPage::OnSetDefault);
    connect(set_ip, &QAbstractButton::clicked, this, &MultiviewerSettingsPage::OnSetIp);

    const QString ip_text = Link().SelectedEntry() != nullptr
                                ? QString::fromStdString(Link().SelectedEntry()->IpText())
                                : QString();
    const char* const address_captions[] = {"IP Address", "Subnet Mask", "Gateway"};
    const int address_ids[] = {mv_id::kIpAddressField, mv_id::kSubnetMaskField,
                               mv_id::kGatewayField};
    IpAddressField* fields[3] = {};
    for (int row = 0; row < 3; ++row) {
        AddCaption(QString::fromUtf8(address_captions[row]), AddressCaptionRect(row));
        fields[row] = MakeAddressField(this, address_ids[row], AddressFieldRect(row));
    }
    ip_address_ = fields[0];
    subnet_mask_ = fields[1];
    gateway_ = fields[2];
    ip_address_->SetAddressText(ip_text);
    subnet_mask_->SetAddressText(QString::fromLatin1(kSubnetMask));
    gateway_->SetAddressText(ProposedGateway(ip_text));

    const ListRow rows[] = {
        {mv_id::kAudioMeterEnableList, "Audio Meter Enable",
         RowRect(kLeftCaptionX, kCaptionWidth, 0), RowRect(kLeftListX, kListWidth, 0)},
        {mv_id::kAudioSourceList, "Audio Source", RowRect(kLeftCaptionX, kCaptionWidth, 1),
         RowRect(kLeftListX, kListWidth, 1)},
        {mv_id::kBorderEnableList, "Border Enable", RowRect(kLeftCaptionX, kCaptionWidth, 2),
         RowRect(kLeftListX, kListWidth, 2)},
        {mv_id::kResolutionEnableList, "Resolution Enable",
         RowRect(kRightCaptionX, kCaptionWidth, 0), RowRect(kRightListX, kListWidth, 0)},
        {mv_id::kResolutionTypeList, "Resolution Type", RowRect(kRightCaptionX, kCaptionWidth, 1),
         RowRect(kRightListX, kListWidth, 1)},
        {mv_id::kLockStateList, "Lock State", RowRect(kRightCaptionX, kCaptionWidth, 2),
         RowRect(kRightListX, kListWidth, 2)},
    };
    audio_meter_ = AddListRow(rows[0], OffOnEntries());
    audio_source_ = AddListRow(rows[1], NumberedEntries("CH_%d", 1, kMultiviewerWindows));
    border_ = AddListRow(rows[2], OffOnEntries());
    resolution_enable_ = AddListRow(rows[3], OffOnEntries());
    resolution_type_ = AddListRow(rows[4], ResolutionEntries());
    lock_ = AddListRow(rows[5], OffOnEntries());
    ShowState();

    for (QComboBox* list :
         {audio_meter_, audio_source_, border_, resolution_enable_, resolution_type_, lock_}) {
        const int list_id = ControlIdOf(list);
        connect(list, &QComboBox::activated, this,
                [this, list_id](int entry) { OnListChanged(list_id, entry); });
    }
}

void MultiviewerSettingsPage::ShowState() {
    const All16ViewPageData& block = Multiviewer().m_all_16_view_page_data;
    SelectQuietly(resolution_type_, block.resolution_type);
    SelectQuietly(resolution_enable_, block.resolution_enable);
    SelectQuietly(audio_meter_, block.audio_enable);
    SelectQuietly(audio_source_, block.audio_source - 1);
    SelectQuietly(border_, block.border_enable);
    SelectQuietly(lock_, block.lock_state);
}

void MultiviewerSettingsPage::OnListChanged(int list_id, int entry) {
    if (entry < 0) {
        return;
    }
    const auto value = static_cast<uint8_t>(entry);
    const CommandRoute via = CommandLink();
    switch (list_id) {
        case mv_id::kAudioMeterEnableList:
            ChooseAudioMeters(Link(), Multiviewer(), via, value);
            break;
        case mv_id::kAudioSourceList:
            SendAudioSource(Link(), Multiviewer(), via, static_cast<uint8_t>(value + 1));
            break;
        case mv_id::kResolutionEnableList:
            ChooseResolutionLabels(Link(), Multiviewer(), via, value);
            break;
        case mv_id::kResolutionTypeList:
            ChooseResolutionType(Link(), Multiviewer(), via, value);
            break;
        case mv_id::kBorderEnableList:
            ChooseBorder(Link(), Multiviewer(), via, value);
            break;
        case mv_id::kLockStateList:
            ChooseLock(Link(), Multiviewer(), via, value);
            break;
        default:
            break;
    }
}

void MultiviewerSettingsPage::OnSetDefault() {
    if (!RestoreDefaults(Link(), Multiviewer(), CommandLink())) {
        return;  // nothing went out: the lists keep showing the block
    }
    SelectQuietly(resolution_type_, 0);
    SelectQuietly(resolution_enable_, 0);
    SelectQuietly(audio_meter_, 1);
    SelectQuietly(audio_source_, 0);
    SelectQuietly(border_, 1);
}

void MultiviewerSettingsPage::OnSetIp() {
    NetworkAddress& address = Multiviewer().new_network_address;
    const auto ip = ip_address_->Octets();
    const auto mask = subnet_mask_->Octets();
    const auto gateway = gateway_->Octets();
    std::copy(ip.begin(), ip.end(), address.ip);
    std::copy(mask.begin(), mask.end(), address.mask);
    std::copy(gateway.begin(), gateway.end(), address.gateway);
    SendNetworkAddress(Link(), Multiviewer());
}

void MultiviewerSettingsPage::PaintPage(QPainter& painter) {
    UseSectionLinePen(painter);
    painter.drawLine(kDivider);
}

}  // namespace panoptix
