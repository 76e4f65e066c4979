#include "link/device_list.h"

#include <utility>

namespace panoptix {

void DeviceList::Clear() {
    names_.clear();
    entries_ = Entries::Other;
    waits_for_first_pick_ = false;
}

void DeviceList::Show(std::vector<std::u16string> names, Entries entries) {
    names_ = std::move(names);
    entries_ = entries;
    waits_for_first_pick_ = false;
}

void DeviceList::Restore(std::vector<std::u16string> names, Entries entries) {
    Show(std::move(names), entries);
    waits_for_first_pick_ = !names_.empty();
}

}  // namespace panoptix
