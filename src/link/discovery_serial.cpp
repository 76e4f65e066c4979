// Placeholder until the serial search lands.
#include "link/discovery.h"

namespace panoptix {

DeviceSearchResult SearchSerial(LinkState&, uint32_t) {
    return {};
}

}  // namespace panoptix
