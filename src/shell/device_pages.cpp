#include "shell/device_pages.h"

#include <vector>

// Each device model includes its page header here and adds its line to the table below.
#include "matrix/pages/matrix_page.h"
#include "multiviewer/pages/multiviewer_page.h"
#include "quadview/pages/quadview_page.h"
#include "switcher/pages/switcher_page.h"

namespace panoptix {

std::span<const DevicePageRegistration> DefaultDevicePages() {
    static const std::vector<DevicePageRegistration> kPages = {
        {DevicePageKind::Multiviewer,
         &CreateDevicePage<MultiviewerPage, &PanoptixState::multiviewers>},
        // 0x60 and every type the panel does not know.
        {DevicePageKind::QuadView, &CreateDevicePage<QuadviewPage, &PanoptixState::quadviews>},
        {DevicePageKind::Switcher, &CreateDevicePage<SwitcherPage, &PanoptixState::switchers>},
        {DevicePageKind::Matrix, &CreateDevicePage<MatrixPage, &PanoptixState::routers>},
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
