#pragma once
// One state block per device: what the panel has sent to a device and what the device has
// reported, kept apart from every other device of the same kind, so that a page shows and sends
// its own device's values. A block is made on first use with the values a first page gets, and
// lasts while the program runs; a reference to it stays valid (the map never moves its nodes).
#include <cstddef>
#include <map>

#include "link/device_id.h"

namespace panoptix {

template <class Block>
class DeviceBlocks {
  public:
    Block& For(const DeviceId& device) { return blocks_[device]; }
    // The device's block, or nullptr when nothing was kept for it yet.
    const Block* Find(const DeviceId& device) const {
        const auto it = blocks_.find(device);
        return it == blocks_.end() ? nullptr : &it->second;
    }
    size_t size() const { return blocks_.size(); }

  private:
    std::map<DeviceId, Block> blocks_;
};

}  // namespace panoptix
