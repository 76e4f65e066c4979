#include "matrix/core/matrix_setting.h"

#include <optional>

#include "link/serial_connection.h"

namespace panoptix {

void OpenMatrixSetting(const DeviceLink& link, const MatrixSetting& setting,
                       MatrixSettingView& view) {
    const DeviceEntry* selected = link.SelectedEntry();
    view.ShowIpAddress(selected != nullptr ? selected->IpText() : std::string());
    view.SetConnectCaption(kConnectCaption);
    view.ShowLamp(setting.port_connected != 0);
    view.ShowMode(ConnectionModeIndex(link.mode()));
    view.SetSerialControlsEnabled(false);
    view.SetIpFieldEnabled(true);
}

void ChooseConnectionMode(DeviceLink& link, MatrixSettingView& view, int index) {
    const std::optional<ConnectionMode> mode = ConnectionModeOf(index);
    if (!mode) {
        return;
    }
    const bool serial = *mode == ConnectionMode::Serial;
    view.SetSerialControlsEnabled(serial);
    view.SetIpFieldEnabled(!serial);
    // The router page stays: it reaches its router on the link chosen here.
    link.SetMode(*mode, ModeChangeSource::OpenPage);
}

void ClickConnect(MatrixSetting& setting, DeviceLink& link, MatrixSettingView& view,
                  std::string_view port_name, std::string_view baud_text) {
    switch (
        ToggleSerialConnection(link.SerialPort(), setting.port_connected, port_name, baud_text)) {
        case ConnectOutcome::kClosed:
            view.SetConnectCaption(kConnectCaption);
            view.SetPortListsEnabled(true);
            break;
        case ConnectOutcome::kOpened:
            view.SetConnectCaption(kDisconnectCaption);
            view.SetPortListsEnabled(false);
            break;
        case ConnectOutcome::kUnchanged:
            return;
    }
    view.ShowLamp(setting.port_connected != 0);
}

}  // namespace panoptix
