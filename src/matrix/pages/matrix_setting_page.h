#pragma once
// MatrixSettingPage: the matrix page's SETTING sub page (490 x 420), a second view of
// the connection the "Configure" window also edits, laid out like it: the connection mode, the
// selected device's IP address, and a serial port with its baud rate that Connect opens and
// Disconnect closes, with a lamp that shows whether this sub page holds the port open. The mode
// chosen here decides how every later command of every page travels.
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <string_view>

#include "link/device_link.h"
#include "matrix/core/matrix_setting.h"

class QComboBox;
class CShadeButtonST;

namespace panoptix {

class IpAddressField;

class MatrixSettingPage : public QWidget, public MatrixSettingView {
    Q_OBJECT

  public:
    static constexpr int kBackgroundBitmap = 194;

    MatrixSettingPage(DeviceLink& link, QWidget* parent);

    // 0 = this sub page has not opened the port; every successful Connect or Disconnect takes
    // its bitwise complement.
    int32_t PortConnected() const { return setting_.port_connected; }

    void ShowMode(int index) override;
    void ShowIpAddress(std::string_view ip_text) override;
    void SetIpFieldEnabled(bool enabled) override;
    void SetSerialControlsEnabled(bool enabled) override;
    void SetPortListsEnabled(bool enabled) override;
    void SetConnectCaption(std::string_view caption) override;
    void ShowLamp(bool connected) override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();
    void FillLists();
    void OnConnect();

    DeviceLink& link_;
    MatrixSetting setting_;
    QComboBox* mode_list_ = nullptr;
    IpAddressField* ip_address_ = nullptr;
    QComboBox* port_list_ = nullptr;
    QComboBox* baud_list_ = nullptr;
    CShadeButtonST* connect_ = nullptr;
    QRect lamp_rect_;
    bool lamp_lit_ = false;
};

}  // namespace panoptix
