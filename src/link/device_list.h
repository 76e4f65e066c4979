#pragma once
// The device list the operator picks from: one name per entry, entry i naming row i of the
// link's device table, and what kind of list it is. The main window's list box only shows it;
// saving the settings and a find read the list, never the box.
#include <cstddef>
#include <string>
#include <vector>

namespace panoptix {

class DeviceList {
  public:
    // What the entries are: LAN devices that a search or a find named (a find adds to them),
    // or anything else ("No Device Found", the serial search's one entry).
    enum class Entries { LanDevices, Other };

    const std::vector<std::u16string>& names() const { return names_; }
    size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    bool HoldsLanDevices() const { return !names_.empty() && entries_ == Entries::LanDevices; }
    // A remembered list whose selected entry has not been opened: picking that entry opens it.
    bool WaitsForFirstPick() const { return waits_for_first_pick_; }

    void Clear();
    // What a search or a find listed.
    void Show(std::vector<std::u16string> names, Entries entries);
    // The list remembered from the last run: shown, nothing opened until the operator picks.
    void Restore(std::vector<std::u16string> names, Entries entries);
    // A device page opened (the first pick of a remembered list has been made).
    void PageOpened() { waits_for_first_pick_ = false; }

  private:
    std::vector<std::u16string> names_;
    Entries entries_ = Entries::Other;
    bool waits_for_first_pick_ = false;
};

}  // namespace panoptix
