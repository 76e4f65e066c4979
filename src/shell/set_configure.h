#pragma once
// CSetConfigure, the "Configure" window of the settings button: the connection mode (LAN or
// serial port), opening and closing the serial port, and giving the selected device a new IP
// address. Created on first use, then only shown and hidden.
#include <QDialog>
#include <QRect>

#include <cstdint>

#include "link/command_frame.h"
#include "shell/panoptix_state.h"

class QComboBox;
class CButtonST;

namespace panoptix {

class IpAddressField;

namespace set_configure_id {
inline constexpr int kModeList = 1103;
inline constexpr int kIpAddress = 1036;
inline constexpr int kChangeIp = 1032;
inline constexpr int kPortList = 1014;
inline constexpr int kBaudList = 1015;
inline constexpr int kConnect = 1011;
inline constexpr int kStatusIcon = 1104;
}  // namespace set_configure_id

class CSetConfigure : public QDialog {
    Q_OBJECT
  public:
    CSetConfigure(PanoptixState& state, QWidget* parent);
    ~CSetConfigure() override;

    // 0 = not connected; every successful Connect or Disconnect takes its bitwise complement.
    int32_t ConnectedFlag() const { return connected_flag_; }

  signals:
    // m_eState took another value.
    void ConnectionModeChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    void CreateControls();
    void OnInitDialog();
    void OnModeChanged(int index);
    void OnConnect();
    void OnChangeIp();
    void SetSerialControlsEnabled(bool enabled);
    void RepaintStatusIcon();

    PanoptixState& state_;
    QComboBox* mode_list_ = nullptr;
    IpAddressField* ip_address_ = nullptr;
    CButtonST* change_ip_ = nullptr;
    QComboBox* port_list_ = nullptr;
    QComboBox* baud_list_ = nullptr;
    CButtonST* connect_ = nullptr;
    QWidget* status_icon_ = nullptr;
    QRect status_icon_rect_;
    int32_t connected_flag_ = 0;
};

}  // namespace panoptix
