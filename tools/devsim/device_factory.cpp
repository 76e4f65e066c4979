#include "device_factory.h"

#include "link/device_entry.h"
#include "matrix_model.h"
#include "multiviewer_model.h"
#include "quadview_model.h"
#include "switcher_model.h"

namespace panoptix::devsim {

std::optional<DeviceKind> ParseKind(std::string_view text) {
    for (DeviceKind kind : {DeviceKind::Multiviewer, DeviceKind::Switcher, DeviceKind::Matrix,
                            DeviceKind::QuadView}) {
        if (text == KindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

uint8_t DefaultTypeByte(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Multiviewer:
            return device_type::kMultiviewer;
        case DeviceKind::Switcher:
            return device_type::kSwitcher;
        case DeviceKind::Matrix:
            return device_type::kMatrix;
        case DeviceKind::QuadView:
            return device_type::kQuadView;
    }
    return 0;
}

std::string DefaultModelName(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Multiviewer:
            return "MV16";
        case DeviceKind::Switcher:
            return "SW12";
        case DeviceKind::Matrix:
            return "MX88";
        case DeviceKind::QuadView:
            return "QV4";
    }
    return "SIM";
}

std::unique_ptr<DeviceModel> MakeDeviceModel(DeviceIdentity identity) {
    switch (identity.kind) {
        case DeviceKind::Multiviewer:
            return std::make_unique<MultiviewerModel>(std::move(identity));
        case DeviceKind::Switcher:
            return std::make_unique<SwitcherModel>(std::move(identity));
        case DeviceKind::Matrix:
            return std::make_unique<MatrixModel>(std::move(identity));
        case DeviceKind::QuadView:
            return std::make_unique<QuadViewModel>(std::move(identity));
    }
    return nullptr;
}

}  // namespace panoptix::devsim
