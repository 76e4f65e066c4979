#pragma once
// ConfigureWindow, the "Configure" window of the settings button: the connection mode (LAN or
// serial port), opening and closing the serial port, and giving the selected device a new IP
// address. Beside the address, "Find" asks the device at the typed address alone, for a device
// that a broadcast search cannot reach. Created on first use, then only shown and hidden.
#include <QDialog>
#include <QRect>

#include <cstdint>
#include <functional>
#include <string>

#include "link/command_frame.h"
#include "shell/panoptix_state.h"

class QComboBox;
class CButtonST;

namespace panoptix {

class IpAddressField;

namespace configure_window_id {
inline constexpr int kModeList = 1103;
inline constexpr int kIpAddress = 1036;
inline constexpr int kChangeIp = 1032;
inline constexpr int kFind = 1037;
inline constexpr int kPortList = 1014;
inline constexpr int kBaudList = 1015;
inline constexpr int kConnect = 1011;
inline constexpr int kStatusIcon = 1104;
}  // namespace configure_window_id

// What a press on "Find" does with the typed address (the text as typed, checked by the find
// itself): the main window's find, which adds the answers to its device list.
using DeviceFinder = std::function<void(const std::string& address)>;

class ConfigureWindow : public QDialog {
    Q_OBJECT
  public:
    // Without a finder the window has no "Find" button.
    ConfigureWindow(PanoptixState& state, QWidget* parent, DeviceFinder find_device = {});
    ~ConfigureWindow() override;

    // 0 = not connected; every successful Connect or Disconnect takes its bitwise complement.
    int32_t ConnectedFlag() const { return connected_flag_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    void CreateControls();
    void OnInitDialog();
    // Reads the machine's serial ports into the list again (a USB adapter plugged in later
    // appears); the selection stays on the port shown, else the port opened last, else entry 0.
    void FillPortList();
    void OnModeChanged(int index);
    void OnConnect();
    void OnChangeIp();
    void OnFind();
    void SetLanControlsEnabled(bool enabled);
    void SetSerialControlsEnabled(bool enabled);
    void RepaintStatusIcon();

    PanoptixState& state_;
    QComboBox* mode_list_ = nullptr;
    IpAddressField* ip_address_ = nullptr;
    CButtonST* change_ip_ = nullptr;
    CButtonST* find_ = nullptr;
    QComboBox* port_list_ = nullptr;
    QComboBox* baud_list_ = nullptr;
    CButtonST* connect_ = nullptr;
    QWidget* status_icon_ = nullptr;
    QRect status_icon_rect_;
    int32_t connected_flag_ = 0;
    DeviceFinder find_device_;
};

}  // namespace panoptix
