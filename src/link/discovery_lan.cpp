// Placeholder until the LAN search lands.
#include "link/discovery.h"

namespace panoptix {

DeviceSearchResult SearchLan(LinkState&, bool, uint32_t) {
    return {};
}
std::u16string DisplayModelName(const std::u16string& model_name) {
    return model_name;
}

}  // namespace panoptix
