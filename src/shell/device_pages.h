#pragma once
// The device pages the main window can open, by page kind. A device model makes its page
// available with one line in DefaultDevicePages() (device_pages.cpp), naming its page and the
// blocks of its kind, of which the page works on its own device's:
//     {DevicePageKind::Switcher, &CreateDevicePage<SwitcherPage,
//     &PanoptixState::switchers>},
// The page is created with the link state, its device's block and its parent.
// A kind without a registered page opens nothing ("m_p_mian_show_dlg is null \n").
// The main window hides a page it replaces (search, another device chosen) and removes it with
// deleteLater(), so a page is never deleted while one of its own handlers is running.
#include <QRect>
#include <QWidget>

#include <functional>
#include <map>
#include <span>

#include "shell/device_page_choice.h"
#include "shell/panoptix_state.h"

namespace panoptix {

// Creates the page of device on the state as a child of parent, placed at page_rect (not yet
// shown).
using DevicePageCreator = std::function<QWidget*(PanoptixState& state, const DeviceId& device,
                                                 QWidget* parent, const QRect& page_rect)>;

struct DevicePageRegistration {
    DevicePageKind kind;
    QWidget* (*create)(PanoptixState& state, const DeviceId& device, QWidget* parent,
                       const QRect& page_rect);
};

template <class Page, auto DeviceBlocksOfKind>
QWidget* CreateDevicePage(PanoptixState& state, const DeviceId& device, QWidget* parent,
                          const QRect& page_rect) {
    auto* page = new Page(state.link, (state.*DeviceBlocksOfKind).For(device), parent);
    page->setGeometry(page_rect);
    return page;
}

// The pages of the device models that are built into the panel.
std::span<const DevicePageRegistration> DefaultDevicePages();

class DevicePageRegistry {
  public:
    explicit DevicePageRegistry(
        std::span<const DevicePageRegistration> pages = DefaultDevicePages());

    // Adds or replaces the page of a kind (tests put stand-in pages here).
    void Register(DevicePageKind kind, DevicePageCreator create);
    // The page's widget, or nullptr when no page is registered for the kind.
    QWidget* Create(DevicePageKind kind, PanoptixState& state, const DeviceId& device,
                    QWidget* parent, const QRect& page_rect) const;

  private:
    std::map<DevicePageKind, DevicePageCreator> creators_;
};

}  // namespace panoptix
