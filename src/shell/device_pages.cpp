#include "shell/device_pages.h"

#include <vector>

// Each device model includes its page header here and adds its line to the table below.
#include "matrix/pages/class_matrix_control.h"
#include "multiviewer/pages/class_16view_dlg.h"
#include "quadview/pages/class_kv2718_main_dlg.h"
#include "switcher/pages/class_switcher_dlg.h"

namespace panoptix {

std::span<const DevicePageRegistration> DefaultDevicePages() {
    static const std::vector<DevicePageRegistration> kPages = {
        {DevicePageKind::Multiviewer,
         &CreateDevicePage<CClass_16view_dlg, &PanoptixState::multiviewers>},
        // 0x60 and every type the panel does not know.
        {DevicePageKind::QuadView,
         &CreateDevicePage<CClass_kv2718_main_dlg, &PanoptixState::quadviews>},
        {DevicePageKind::Switcher,
         &CreateDevicePage<CClass_switcher_dlg, &PanoptixState::switchers>},
        {DevicePageKind::Matrix, &CreateDevicePage<CClass_matrix_control, &PanoptixState::routers>},
    };
    return kPages;
}

DevicePageRegistry::DevicePageRegistry(std::span<const DevicePageRegistration> pages) {
    for (const DevicePageRegistration& page : pages) {
        if (page.create != nullptr) {
            creators_[page.kind] = page.create;
        }
    }
}

void DevicePageRegistry::Register(DevicePageKind kind, DevicePageCreator create) {
    creators_[kind] = std::move(create);
}

QWidget* DevicePageRegistry::Create(DevicePageKind kind, PanoptixState& state,
                                    const DeviceId& device, QWidget* parent,
                                    const QRect& page_rect) const {
    const auto it = creators_.find(kind);
    if (it == creators_.end() || !it->second) {
        return nullptr;
    }
    return it->second(state, device, parent, page_rect);
}

}  // namespace panoptix
