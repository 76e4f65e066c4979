#pragma once
// MultiviewerSettingsPage: the settings page (page 6 of the container). Audio meters and their
// source, resolution labels and output resolution, window borders, the device lock, the reset
// to factory defaults, and the device's network address.
#include "multiviewer/pages/multiviewer_sub_page.h"

class QComboBox;

class CButtonST;

namespace panoptix {
class IpAddressField;

class MultiviewerSettingsPage : public MultiviewerSubPage {
    Q_OBJECT

  public:
    MultiviewerSettingsPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);

    // The gateway the page proposes for a device address: the text up to and including its
    // last dot, then "1" (a.b.c.d gives a.b.c.1; a text without a dot gives "1").
    static QString ProposedGateway(const QString& ip_text);

  protected:
    void PaintPage(QPainter& painter) override;

  private:
    void CreateControls();
    void ShowState();
    void OnListChanged(int list_id, int entry);
    void OnSetDefault();
    void OnSetIp();

    QComboBox* audio_meter_ = nullptr;
    QComboBox* audio_source_ = nullptr;
    QComboBox* resolution_enable_ = nullptr;
    QComboBox* resolution_type_ = nullptr;
    QComboBox* border_ = nullptr;
    QComboBox* lock_ = nullptr;
    IpAddressField* ip_address_ = nullptr;
    IpAddressField* subnet_mask_ = nullptr;
    IpAddressField* gateway_ = nullptr;
};

}  // namespace panoptix
