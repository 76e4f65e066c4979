#include "shell/main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QWindow>

#include <algorithm>
#include <optional>

#include "controls/control_id.h"
#include "controls/enter_esc_filter.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "controls/user_settings_file.h"
#include "controls/wait_cursor.h"
#include "link/discovery.h"
#include "link/trace_events.h"
#include "link/udp_transport.h"
#include "multiviewer/core/status_decoder.h"
#include "resources/skin.h"
#include "shell/about_box.h"
#include "shell/configure_window.h"
#include "shell/remembered_settings.h"

namespace panoptix {
namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 720;
constexpr int kApplicationIconId = 128;
constexpr int kBackgroundBitmap = 195;
constexpr int kConfigureWindowBackgroundBitmap = 191;
constexpr QPoint kVersionTextAt{1160, 690};
// The version is written once, in the top-level CMakeLists.txt (project VERSION).
constexpr char kVersionText[] = "Ver " PANOPTIX_VERSION;
constexpr QColor kVersionTextColour{150, 150, 150};
constexpr char kAboutItem[] = "关于 Panoptix(&A)...";

// The skinned buttons of the window. The title buttons and scan are 3 pixels wider than their
// pictures and carry a short caption, so the picture is drawn at x = 3; settings has none and
// its picture is centred.
struct SkinButtonPlacement {
    int control_id;
    QRect rect;
    int bitmap_id;
    const char* caption;
};
const SkinButtonPlacement kSkinButtons[] = {
    {main_dialog_id::kMinimise, {1150, 0, 47, 35}, 198, " "},
    {main_dialog_id::kMaximise, {1200, 0, 34, 35}, 197, " "},
    {main_dialog_id::kClose, {1236, 0, 42, 35}, 188, " "},
    {main_dialog_id::kSettings, {2, 690, 25, 30}, 199, ""},
    {main_dialog_id::kScan, {560, 55, 138, 50}, 196, " "},
};

constexpr QRect kDeviceComboRect{80, 68, 480, 24};
constexpr QRect kPagePlaceholderRect{20, 110, 1240, 580};
constexpr QColor kListText{60, 180, 255};
constexpr QColor kListBackground{58, 58, 58};
constexpr QColor kStaticBackground{102, 102, 102};

// The empty page area's text, centred in the page well below the watermark.
constexpr QRect kPageAreaTextRect{16, 410, 1248, 30};
constexpr QColor kPageAreaTextColour{92, 97, 106};

// Edit and list controls of the main window: light blue on dark grey.
void ApplyListColours(QWidget* control) {
    QPalette palette = control->palette();
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(role, kListText);
    }
    for (const auto role : {QPalette::Base, QPalette::Window, QPalette::Button}) {
        palette.setColor(role, kListBackground);
    }
    control->setPalette(palette);
}

// Static controls of the main window: black on mid grey.
void ApplyStaticColours(QWidget* control) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Window, kStaticBackground);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    // paintEvent covers every pixel with the backdrop: Qt need not clear the window first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    CreateControls();
    OnInitDialog();
    RestoreSettings();
    state_.link.OnModeChange([this](ModeChangeSource source) { OnConnectionModeChanged(source); });
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    SaveSettings();
    qApp->removeEventFilter(this);
    state_.link.OnModeChange(nullptr);
    // The pages and the settings window go while the state they use is still here (the state
    // is a member of this window and is destroyed before the window's children).
    delete current_page_.data();
    for (const QPointer<QWidget>& retired : retired_pages_) {
        delete retired.data();
    }
    delete configure_window_;
    configure_window_ = nullptr;
}

void MainWindow::CreateControls() {
    for (const SkinButtonPlacement& placement : kSkinButtons) {
        auto* button = new CShadeButtonST(this);
        button->setGeometry(placement.rect);
        button->setText(QString::fromLatin1(placement.caption));
        button->SetPictureById(placement.bitmap_id);
        button->SetTransparent();
        button->SetBorder(false);
        button->setFocusPolicy(Qt::NoFocus);
        SetControlId(button, placement.control_id);
        switch (placement.control_id) {
            case main_dialog_id::kMinimise:
                minimise_ = button;
                connect(button, &QAbstractButton::clicked, this, &QWidget::showMinimized);
                break;
            case main_dialog_id::kMaximise:
                maximise_ = button;  // does nothing
                break;
            case main_dialog_id::kClose:
                close_ = button;
                connect(button, &QAbstractButton::clicked, this, &QWidget::close);
                break;
            case main_dialog_id::kSettings:
                settings_ = button;
                connect(button, &QAbstractButton::clicked, this, &MainWindow::OnSettings);
                break;
            case main_dialog_id::kScan:
                scan_ = button;
                connect(button, &QAbstractButton::clicked, this, &MainWindow::OnSearch);
                break;
            default:
                break;
        }
    }

    device_combo_ = new QComboBox(this);
    device_combo_->setGeometry(kDeviceComboRect);
    ApplyListColours(device_combo_);
    ApplyListColours(device_combo_->view());
    SetControlId(device_combo_, main_dialog_id::kDeviceCombo);
    connect(device_combo_, &QComboBox::currentIndexChanged, this,
            &MainWindow::OnDeviceSelectionChanged);
    connect(device_combo_, &QComboBox::activated, this, &MainWindow::OnDevicePicked);

    // The placeholder only marks the page area; pages are shown in its place.
    page_placeholder_ = new QWidget(this);
    page_placeholder_->setGeometry(kPagePlaceholderRect);
    page_placeholder_->hide();
    SetControlId(page_placeholder_, main_dialog_id::kPagePlaceholder);

    auto* version = new QLabel(QString::fromLatin1(kVersionText), this);
    ApplyStaticColours(version);
    version->hide();
    SetControlId(version, main_dialog_id::kVersionLabel);
}

void MainWindow::OnInitDialog() {
    setWindowIcon(skin::Icon(kApplicationIconId));

    setGeometry(0, 0, kWindowWidth, kWindowHeight);
    setFixedSize(kWindowWidth, kWindowHeight);
    setWindowTitle(QStringLiteral("kora_multiview"));

    client_rect_ = rect();
    trace::WindowLeft(client_rect_.left());
    trace::WindowTop(client_rect_.top());
    trace::WindowRight(client_rect_.left() + client_rect_.width());
    trace::WindowBottom(client_rect_.top() + client_rect_.height());
    trace::WindowWidth(client_rect_.width());
    trace::WindowHeight(client_rect_.height());

    page_rect_ = page_placeholder_->geometry();
    StartNetworking();
}

void MainWindow::OnSearch() {
    if (state_.link.mode() == ConnectionMode::Lan) {
        trace::NetSearch();
        SearchLanDevices();
    } else if (state_.link.mode() == ConnectionMode::Serial) {
        trace::ComSearch();
        SearchSerialDevices();
    }
}

void MainWindow::SearchLanDevices() {
    const WaitCursor wait;
    // The search itself closes any socket and clears the selection first; the page goes too.
    CloseCommandSocket(state_.link);
    state_.link.Select(-1);
    CloseCurrentPage(PageCloseTrace::InitMyRect);
    const bool combo_had_entries = device_combo_->count() > 0;
    ClearDeviceCombo();

    const DeviceSearchResult result = SearchLan(state_.link, combo_had_entries);
    if (!result.open_page) {
        return;  // the socket could not be opened: the list stays empty and no page opens
    }
    ShowDevices(result.combo_entries, state_.link.SelectedIndex() >= 0
                                          ? DeviceList::Entries::LanDevices
                                          : DeviceList::Entries::Other);
    if (state_.link.SelectedIndex() < 0) {
        SetPageAreaNote(PageAreaNote::NothingFound);
    }
    OpenDevicePage();
    SaveSettings();
    trace::SearchOver();
}

void MainWindow::SearchSerialDevices() {
    const WaitCursor wait;
    CloseCurrentPage(PageCloseTrace::InitMyRect);
    ClearDeviceCombo();

    // A multiviewer answering with its status reply updates its own block.
    const DeviceSearchResult result =
        SearchSerial(state_.link, [this](std::span<const uint8_t> frame) {
            const DeviceId device =
                SerialDeviceId(state_.link.SerialPort().PortName(), state_.link.SerialDeviceType());
            DecodeStatusReply(state_.multiviewers.For(device), frame, DecodeTraces::Off);
        });
    if (!result.open_page) {
        SetPageAreaNote(PageAreaNote::BeforeSearch);
        return;  // the port is not open
    }
    ShowDevices(result.combo_entries, DeviceList::Entries::Other);
    if (result.combo_entries.empty()) {
        SetPageAreaNote(PageAreaNote::NothingFound);
    }
    OpenDevicePage();
    SaveSettings();
}

void MainWindow::FindDevice(const std::string& address) {
    if (state_.link.mode() != ConnectionMode::Lan) {
        return;  // the button is disabled off the LAN
    }
    // A refused address is said at once; a find blocks for the search's window.
    std::optional<WaitCursor> wait;
    if (CheckDeviceAddress(address).fault == DeviceAddressFault::None) {
        wait.emplace();
    }
    const DeviceList& list = state_.link.List();
    const bool adds_to_list = list.HoldsLanDevices();
    std::vector<std::u16string> entries;
    if (adds_to_list) {
        entries = list.names();
    }
    const size_t listed = entries.size();
    const DeviceFindResult result = FindLanDevice(state_.link, address, entries);
    if (result.added == 0) {
        return;
    }
    if (adds_to_list) {
        state_.link.List().Show(entries, DeviceList::Entries::LanDevices);
        {
            const QSignalBlocker block(device_combo_);
            for (size_t i = listed; i < entries.size(); ++i) {
                device_combo_->addItem(QString::fromStdU16String(entries[i]));
            }
        }
        device_combo_->repaint();
        FlushWindowSystem();
        SaveSettings();
        return;
    }
    CloseCurrentPage(PageCloseTrace::InitMyRect);
    state_.link.Select(0);
    ShowDevices(entries, DeviceList::Entries::LanDevices);
    OpenDevicePage();
    SaveSettings();
}

void MainWindow::OpenDevicePage() {
    state_.link.List().PageOpened();
    trace::PageSelection(state_.link.SelectedIndex());
    if (state_.link.SelectedIndex() < 0 || device_combo_->count() == 0) {
        return;
    }
    const WaitCursor wait;  // a page may query its device as it opens
    CloseCommandSocket(state_.link);
    CloseCurrentPage(PageCloseTrace::None);

    QWidget* page = nullptr;
    const std::optional<DeviceId> device = SelectedDevice(state_);
    const std::optional<uint8_t> type_byte = SelectedDeviceTypeByte(state_.link);
    if (device && type_byte) {
        const DevicePageForType choice = PageForTypeByte(*type_byte);
        if (!choice.known_type) {
            trace::DeviceSTypeWrong();
        }
        ResetPageState(state_, choice.kind, *device);
        page = device_pages_.Create(choice.kind, state_, *device, this, page_rect_);
        if (page == nullptr) {
            // A device model whose page is not built into the panel yet.
            no_page_device_ = device_combo_->currentText();
            SetPageAreaNote(PageAreaNote::NoControlPage);
        }
    }
    if (page == nullptr) {
        trace::NoPageOpened();
        return;
    }
    current_page_ = page;
    page->setGeometry(page_rect_);
    page->show();
}

void MainWindow::CloseCurrentPage(PageCloseTrace trace) {
    if (current_page_.isNull()) {
        return;
    }
    QWidget* page = current_page_.data();
    current_page_ = nullptr;
    page->hide();
    // The page may be the one whose handler is running (a press that ends in a search): it goes
    // once control is back in the event loop, never under its own feet.
    page->deleteLater();
    std::erase_if(retired_pages_, [](const QPointer<QWidget>& p) { return p.isNull(); });
    retired_pages_.emplace_back(page);
    // The page's backgrounds go with it; the window's own and the settings window's stay.
    skin::ReleaseBackgrounds({kBackgroundBitmap, kConfigureWindowBackgroundBitmap});
    if (trace == PageCloseTrace::InitMyRect) {
        trace::InitMyRect();
    }
}

void MainWindow::SetPageAreaNote(PageAreaNote note) {
    page_area_note_ = note;
    update(page_rect_);
}

QString MainWindow::PageAreaText() const {
    if (!current_page_.isNull()) {
        return {};
    }
    switch (page_area_note_) {
        case PageAreaNote::NothingFound:
            return QStringLiteral("No devices found. Press SCAN to search again");
        case PageAreaNote::RestoredList:
            return QStringLiteral("Choose a device in the list to open its page");
        case PageAreaNote::NoControlPage:
            return QStringLiteral("%1 has no control page yet")
                .arg(no_page_device_.isEmpty() ? QStringLiteral("This device") : no_page_device_);
        case PageAreaNote::BeforeSearch:
            break;
    }
    return QStringLiteral("Press SCAN to search for devices");
}

void MainWindow::ClearDeviceCombo() {
    state_.link.List().Clear();
    const QSignalBlocker block(device_combo_);
    device_combo_->clear();
}

void MainWindow::ShowDeviceList(const std::vector<std::u16string>& names, int selected) {
    // A selection made here is not the operator's: no page opens, nothing is sent.
    const QSignalBlocker block(device_combo_);
    device_combo_->clear();
    for (const std::u16string& name : names) {
        device_combo_->addItem(QString::fromStdU16String(name));
    }
    device_combo_->setCurrentIndex(selected);
}

void MainWindow::ListDevices(const std::vector<std::u16string>& names, DeviceList::Entries kind) {
    state_.link.List().Show(names, kind);
    ShowDeviceList(names, -1);
}

void MainWindow::ShowDevices(const std::vector<std::u16string>& entries, DeviceList::Entries kind) {
    state_.link.List().Show(entries, kind);
    ShowDeviceList(entries, entries.empty() ? -1 : 0);
    // The operator sees the result at once, before a page that queries its device blocks; no
    // event is dispatched for it.
    device_combo_->repaint();
    FlushWindowSystem();
}

void MainWindow::OnDeviceSelectionChanged(int index) {
    // The selection's low 8 bits: no selection (-1) gives -1.
    state_.link.Select(static_cast<int8_t>(static_cast<uint8_t>(index & 0xFF)));
    OpenDevicePage();
    SaveSettings();
}

void MainWindow::OnDevicePicked(int index) {
    // A pick of another entry has already opened its page (selection change). Picking the entry
    // a restored list shows selected is the operator's first act on it: its page opens now.
    if (state_.link.List().WaitsForFirstPick() && index == device_combo_->currentIndex()) {
        OnDeviceSelectionChanged(index);
    }
}

void MainWindow::RestoreSettings() {
    const std::unique_ptr<QSettings> file = OpenUserSettings();
    const QByteArray path = file->fileName().toLocal8Bit();
    if (!UserSettingsFileExists(*file)) {
        trace::UserSettingsNoFileYetStarting(path.constData());
        return;
    }
    if (file->status() != QSettings::NoError) {
        trace::UserSettingsCannotBeReadStarting(path.constData());
        return;
    }
    const SettingsReading reading = ParseRememberedSettings(ReadSettingsValues(*file));
    if (!reading.problem.empty()) {
        trace::UserSettingsStartingFromDefaults(path.constData(), reading.problem.c_str());
        return;
    }
    const RememberedSettings& settings = reading.settings;
    ApplySettings(settings, state_);
    std::vector<std::u16string> names;
    for (const RememberedDevice& device : settings.devices) {
        names.push_back(QString::fromStdString(device.name).toStdU16String());
    }
    // Rows a LAN search or a find listed stay the device table's rows: a find adds to them.
    const auto has_address = [](const RememberedDevice& device) {
        return !device.entry.IpText().empty();
    };
    const bool lan_devices =
        settings.mode == kModeLan &&
        std::all_of(settings.devices.begin(), settings.devices.end(), has_address);
    state_.link.List().Restore(
        names, lan_devices ? DeviceList::Entries::LanDevices : DeviceList::Entries::Other);
    ShowDeviceList(names, settings.selected);
    if (!settings.devices.empty()) {
        SetPageAreaNote(PageAreaNote::RestoredList);
    }
    trace::UserSettingsModeDevicesEntrySelected(
        settings.mode, static_cast<int>(settings.devices.size()), settings.selected);
}

void MainWindow::SaveSettings() {
    std::vector<std::string> texts;
    for (const std::u16string& name : state_.link.List().names()) {
        texts.push_back(QString::fromStdU16String(name).toStdString());
    }
    const int selected = state_.link.SelectedIndex();
    const RememberedSettings settings = CaptureSettings(state_, texts, selected);
    state_.serial_choice = {settings.serial_port, settings.baud_rate};
    const std::unique_ptr<QSettings> file = OpenUserSettings();
    if (!ReplaceSettingsGroups(*file, {kConnectionGroup, kDevicesGroup},
                               RememberedSettingsValues(settings))) {
        trace::UserSettingsCannotBeWritten(file->fileName().toLocal8Bit().constData());
    }
}

void MainWindow::OnSettings() {
    if (configure_window_ == nullptr) {
        trace::ConfigureCreated();
        configure_window_ = new ConfigureWindow(
            state_, this, [this](const std::string& address) { FindDevice(address); });
        const QPoint origin = geometry().topLeft();
        configure_window_->setGeometry(origin.x() + 340, origin.y() + 100, 480, 400);
    }
    configure_window_->show();
    configure_window_->raise();
    configure_window_->activateWindow();
}

void MainWindow::OnConnectionModeChanged(ModeChangeSource source) {
    // The page and the device list belong to the link they were found on. Left in place, the
    // page's next frame would go by the other link to whichever device that link has selected,
    // often one of another kind (a multiviewer command to a matrix router). Page, list and table
    // go; the operator searches on the new link. The one page kept is the one that changed the
    // mode itself (the router's setting tab): it reaches its own router on the port it connects.
    CloseCommandSocket(state_.link);
    if (source != ModeChangeSource::OpenPage) {
        CloseCurrentPage(PageCloseTrace::None);
        SetPageAreaNote(PageAreaNote::BeforeSearch);
    }
    ClearDeviceCombo();
    state_.link.Select(-1);
    state_.link.ClearTable();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter and Esc never reach the window's own controls, and a page that lets them through
    // hands them up to the window, which swallows them too. Other windows (the settings, the
    // message boxes) keep their keys.
    if (!IsEnterOrEscape(event) || !watched->isWidgetType()) {
        return QWidget::eventFilter(watched, event);
    }
    auto* widget = static_cast<QWidget*>(watched);
    const QWidget* page = current_page_.data();
    const bool in_page = page != nullptr && (widget == page || page->isAncestorOf(widget));
    if (widget == this || (isAncestorOf(widget) && !in_page)) {
        trace::EnterOrEscSwallowed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
    // An empty page area says why it is empty.
    if (const QString note = PageAreaText(); !note.isEmpty()) {
        QFont font(QStringLiteral("DejaVu Sans"));  // the skin's legend face
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(15);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
        painter.setFont(font);
        painter.setPen(kPageAreaTextColour);
        painter.drawText(kPageAreaTextRect, Qt::AlignCenter, note);
        painter.setFont(this->font());
    }
    // The version sits in the strip below the page area, in a grey the dark skin lets one
    // read, over the background as it is.
    painter.setPen(kVersionTextColour);
    painter.drawText(QRect(kVersionTextAt, QSize(kWindowWidth - kVersionTextAt.x(),
                                                 kWindowHeight - kVersionTextAt.y())),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kVersionText));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    trace::CxCy(width(), height());
    QWidget::resizeEvent(event);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    // A press on the window's own surface moves the window, as a caption bar would. Presses
    // that a page lets through are not the surface.
    if (event->button() != Qt::LeftButton || childAt(event->position().toPoint()) != nullptr) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    dragging_ = true;
    drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - drag_offset_);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // A frameless window has no system menu; its one own item lives in a menu of the surface.
    if (childAt(event->pos()) != nullptr) {
        QWidget::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addAction(QString::fromUtf8(kAboutItem), this, &MainWindow::ShowAbout);
    menu.exec(event->globalPos());
}

void MainWindow::ShowAbout() {
    AboutBox about(this);
    about.exec();
}

}  // namespace panoptix
