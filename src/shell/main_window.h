#pragma once
// MainWindow: the borderless 1280 x 720 main window and the owner of all the panel's state
// (the link and every device's block). It shows one device page at a time in its page
// area; the scan button searches for devices and the device combo box picks the page.
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

#include "shell/device_pages.h"
#include "shell/panoptix_state.h"

class QComboBox;
class CShadeButtonST;

namespace panoptix {

class ConfigureWindow;

namespace main_dialog_id {
inline constexpr int kMinimise = 1000;
inline constexpr int kMaximise = 1001;
inline constexpr int kClose = 1002;
inline constexpr int kPagePlaceholder = 1004;
inline constexpr int kScan = 1005;
inline constexpr int kSettings = 1006;
inline constexpr int kDeviceCombo = 1007;
inline constexpr int kVersionLabel = 1008;
}  // namespace main_dialog_id

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    PanoptixState& State() { return state_; }
    const PanoptixState& State() const { return state_; }

    // Opens the page of the selected device in the page area, on that device's own block,
    // replacing the current one. Called by the search and by the device combo box.
    void OpenDevicePage();
    // The scan button: a search on the link m_eState names.
    void OnSearch();
    // The settings button: shows the connection settings, creating them on first use.
    void OnSettings();
    // "Find" of the settings: asks the device at one address (on the LAN only) and adds what
    // answers to the device list as a search lists it, each device once. The current entry
    // and its page stay; a list that holds no LAN devices (empty, "No Device Found", a serial
    // search's entry) is replaced by the devices found, and the first one's page opens, as
    // after a search. A refused address or no answer: the "Err" box, and nothing changes.
    void FindDevice(const std::string& address);

    QWidget* CurrentPage() const { return current_page_; }
    ConfigureWindow* ConfigureDialog() const { return configure_window_; }
    QComboBox* DeviceCombo() const { return device_combo_; }
    QRect PageRect() const { return page_rect_; }
    // The text the empty page area shows; empty while a page is shown.
    QString PageAreaText() const;
    DevicePageRegistry& DevicePages() { return device_pages_; }

    // Writes the connection and the device list to the user's settings file (also done after
    // every search and device choice, and when the window goes).
    void SaveSettings();

    // Lists devices by name, entry i for row i of the link's table, with no entry selected and
    // no page opened: as a remembered list shows, but taken as what a search found.
    void ListDevices(const std::vector<std::u16string>& names,
                     DeviceList::Entries kind = DeviceList::Entries::LanDevices);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // What the page area says while no page is shown.
    enum class PageAreaNote { BeforeSearch, NothingFound, NoControlPage, RestoredList };
    void SetPageAreaNote(PageAreaNote note);

    void OnInitDialog();
    void CreateControls();
    void SearchLanDevices();
    void SearchSerialDevices();
    // Hides and destroys the current page; the search writes "Init my rect \n" after it.
    enum class PageCloseTrace { None, InitMyRect };
    void CloseCurrentPage(PageCloseTrace trace);
    void ClearDeviceCombo();
    // Lists what a search or a find found, selecting the first entry.
    void ShowDevices(const std::vector<std::u16string>& entries, DeviceList::Entries kind);
    // The list box shows names with entry selected (-1 none); no page opens.
    void ShowDeviceList(const std::vector<std::u16string>& names, int selected);
    void OnDeviceSelectionChanged(int index);
    // Every pick in the device list, the shown entry included.
    void OnDevicePicked(int index);
    // The connection and the last device list from the user's settings file: the list and its
    // selection are shown, no page opens and nothing is sent.
    void RestoreSettings();
    // A change of the link's mode: the page and the list belong to the link they were found on.
    void OnConnectionModeChanged(ModeChangeSource source);
    void ShowAbout();

    PanoptixState state_;
    QRect client_rect_;
    QRect page_rect_;
    QWidget* page_placeholder_ = nullptr;
    QComboBox* device_combo_ = nullptr;
    CShadeButtonST* minimise_ = nullptr;
    CShadeButtonST* maximise_ = nullptr;
    CShadeButtonST* close_ = nullptr;
    CShadeButtonST* settings_ = nullptr;
    CShadeButtonST* scan_ = nullptr;
    QPointer<QWidget> current_page_;
    // Pages replaced but not yet deleted (deleteLater); the destructor deletes any left.
    std::vector<QPointer<QWidget>> retired_pages_;
    ConfigureWindow* configure_window_ = nullptr;
    DevicePageRegistry device_pages_;
    PageAreaNote page_area_note_ = PageAreaNote::BeforeSearch;
    QString no_page_device_;  // the device named by PageAreaNote::NoControlPage

    // Moving the window by its surface when the window system does not do it for us.
    bool dragging_ = false;
    QPoint drag_offset_;
};

}  // namespace panoptix
