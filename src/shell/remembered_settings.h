#pragma once
// What the panel remembers between runs: the connection mode, the serial port and baud rate last
// opened, and the last device list with its selected entry. The user's settings file holds them
// as text under fixed keys; this turns that text into settings and back and refuses whatever a
// hand, a crash or another program may have left there. Reading and writing the file is the main
// window's part (Qt).
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "link/device_entry.h"
#include "link/device_link.h"

namespace panoptix {

struct PanoptixState;

// One device of the list: its text in the device list (UTF-8, "MX88_192.0.2.12") and its row
// of the device table.
struct RememberedDevice {
    std::string name;
    DeviceEntry entry{};
};

struct RememberedSettings {
    int32_t mode = kModeLan;
    std::string serial_port;  // "" = none chosen yet
    uint32_t baud_rate = 9600;
    std::vector<RememberedDevice> devices;  // at most 128
    int selected = -1;                      // index into devices, -1 = none
    uint8_t serial_device_type = 0;         // the type byte of the last serial search's reply
};

// The file's keys with their text values, as the file holds them.
using SettingsValues = std::map<std::string, std::string>;

// The groups of the file that hold these settings; a writer replaces them whole.
inline constexpr std::string_view kConnectionGroup = "connection";
inline constexpr std::string_view kDevicesGroup = "devices";

// The longest device text kept (a model name of a search reply, widened, with its address).
inline constexpr size_t kMaxRememberedNameBytes = 512;

struct SettingsReading {
    RememberedSettings settings;  // the defaults when problem is not empty
    std::string problem;          // why the values were refused; "" when they were taken
};

// The settings from the values read. A file with no key of either group is refused (garbage or
// empty). A key that is missing keeps its default; any value that is
// not what its key holds (not a number, out of range, a list longer than 128 devices, a
// selection beyond the list, an unknown mode or baud rate, a device without its address) refuses
// the whole file: every setting keeps its default and problem names the first fault.
SettingsReading ParseRememberedSettings(const SettingsValues& values);

// The values that ParseRememberedSettings reads back as these settings.
SettingsValues RememberedSettingsValues(const RememberedSettings& settings);

// What the state holds now: the mode, the port and rate (the open port's, else the ones
// remembered before), and the device list with its selection (device_texts: the device list's
// entries, UTF-8). A selection below 0 keeps no list at all: a search that found nothing is
// not worth restoring; nor is a list with a text that could not be read back (control
// characters a device put into its model name, or one longer than kMaxRememberedNameBytes).
RememberedSettings CaptureSettings(const PanoptixState& state,
                                   const std::vector<std::string>& device_texts,
                                   int selected_entry);

// Puts the settings into the state at start: the mode, the remembered port and rate, the device
// table, the selection and the serial type byte. Opens nothing and sends nothing.
void ApplySettings(const RememberedSettings& settings, PanoptixState& state);

}  // namespace panoptix
