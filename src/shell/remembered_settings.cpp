#include "shell/remembered_settings.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "link/serial_connection.h"
#include "shell/panoptix_state.h"

namespace panoptix {
namespace {

std::string Key(std::string_view group, std::string_view name) {
    return std::string(group) + "/" + std::string(name);
}
std::string DeviceKey(int number, std::string_view name) {
    return std::string(kDevicesGroup) + "/" + std::to_string(number) + "/" + std::string(name);
}

// A plain decimal integer (an optional '-', then digits), nothing before or after it.
std::optional<long long> ParseInteger(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || text.front() == '+') {
        return std::nullopt;
    }
    return value;
}

// Dotted IPv4 text: four decimal octets 0..255, at most 15 characters.
bool IsDottedAddress(std::string_view text) {
    if (text.size() > 15) {
        return false;
    }
    int octets = 0;
    size_t start = 0;
    while (true) {
        const size_t dot = text.find('.', start);
        const std::string_view part = text.substr(
            start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != part.npos) {
            return false;
        }
        if (*ParseInteger(part) > 255) {
            return false;
        }
        ++octets;
        if (dot == std::string_view::npos) {
            break;
        }
        start = dot + 1;
    }
    return octets == 4;
}

bool IsPlainText(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

bool IsRememberableName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxRememberedNameBytes && IsPlainText(name);
}

bool IsKnownBaudRate(uint32_t rate) {
    for (const std::string_view text : kBaudRateTexts) {
        if (BaudRateFromText(text) == rate) {
            return true;
        }
    }
    return false;
}

// Reads the values one by one; the first fault is kept and ends the reading.
class Reader {
  public:
    explicit Reader(const SettingsValues& values) : values_(values) {}

    const std::string* Find(const std::string& key) const {
        const auto it = values_.find(key);
        return it == values_.end() ? nullptr : &it->second;
    }

    // An integer in [low, high]; missing keys give nullopt without a fault.
    std::optional<long long> Integer(const std::string& key, long long low, long long high) {
        const std::string* text = Find(key);
        if (text == nullptr || !problem.empty()) {
            return std::nullopt;
        }
        const std::optional<long long> value = ParseInteger(*text);
        if (!value || *value < low || *value > high) {
            Fault(key, *text,
                  "is not a number from " + std::to_string(low) + " to " + std::to_string(high));
            return std::nullopt;
        }
        return value;
    }

    // A key that must be there (a device's own keys).
    const std::string* Required(const std::string& key) {
        const std::string* text = Find(key);
        if (text == nullptr && problem.empty()) {
            problem = key + " is missing";
        }
        return text;
    }

    void Fault(const std::string& key, const std::string& text, const std::string& why) {
        if (problem.empty()) {
            constexpr size_t kQuoted = 40;
            problem = key + " \"" + text.substr(0, kQuoted) + "\" " + why;
        }
    }

    std::string problem;

  private:
    const SettingsValues& values_;
};

void ReadDevice(Reader& reader, int number, RememberedDevice& device) {
    const std::string name_key = DeviceKey(number, "name");
    if (const std::string* name = reader.Required(name_key)) {
        if (!IsRememberableName(*name)) {
            reader.Fault(name_key, *name, "is not a device's name");
        } else {
            device.name = *name;
        }
    }
    const std::string ip_key = DeviceKey(number, "ip");
    if (const std::string* ip = reader.Required(ip_key)) {
        // Rows of a serial search carry no address.
        if (!ip->empty() && !IsDottedAddress(*ip)) {
            reader.Fault(ip_key, *ip, "is not an IPv4 address");
        } else {
            device.entry.SetIpText(*ip);
        }
    }
    if (reader.Required(DeviceKey(number, "address")) != nullptr) {
        if (const auto value = reader.Integer(DeviceKey(number, "address"), 0, 255)) {
            device.entry.device_address = static_cast<uint8_t>(*value);
        }
    }
    if (reader.Required(DeviceKey(number, "type")) != nullptr) {
        if (const auto value = reader.Integer(DeviceKey(number, "type"), 0, 255)) {
            device.entry.device_type = static_cast<uint8_t>(*value);
        }
    }
}

}  // namespace

SettingsReading ParseRememberedSettings(const SettingsValues& values) {
    Reader reader(values);
    RememberedSettings settings;
    const auto in_group = [](const std::string& key, std::string_view group) {
        return key.size() > group.size() && key.compare(0, group.size(), group) == 0 &&
               key[group.size()] == '/';
    };
    bool any = false;
    for (const auto& entry : values) {
        any =
            any || in_group(entry.first, kConnectionGroup) || in_group(entry.first, kDevicesGroup);
    }
    if (!any) {
        return {RememberedSettings{}, "the file holds no connection or device settings"};
    }

    if (const auto mode = reader.Integer(Key(kConnectionGroup, "mode"), kModeLan, kModeSerial)) {
        settings.mode = static_cast<int32_t>(*mode);
    }
    const std::string port_key = Key(kConnectionGroup, "serial_port");
    if (const std::string* port = reader.Find(port_key)) {
        if (port->size() > CnComm::kMaxPortNameLength || !IsPlainText(*port)) {
            reader.Fault(port_key, *port, "is not a serial port's name");
        } else {
            settings.serial_port = *port;
        }
    }
    const std::string baud_key = Key(kConnectionGroup, "baud_rate");
    if (const auto baud = reader.Integer(baud_key, 0, 1'000'000)) {
        if (!IsKnownBaudRate(static_cast<uint32_t>(*baud))) {
            reader.Fault(baud_key, *reader.Find(baud_key), "is not one of the baud rates");
        } else {
            settings.baud_rate = static_cast<uint32_t>(*baud);
        }
    }

    const auto count = reader.Integer(Key(kDevicesGroup, "count"), 0, kDeviceTableRows);
    const int devices = count ? static_cast<int>(*count) : 0;
    if (const auto selected = reader.Integer(Key(kDevicesGroup, "selected"), -1, devices - 1)) {
        settings.selected = static_cast<int>(*selected);
    }
    if (const auto type = reader.Integer(Key(kDevicesGroup, "serial_type"), 0, 255)) {
        settings.serial_device_type = static_cast<uint8_t>(*type);
    }
    settings.devices.resize(static_cast<size_t>(devices));
    for (int i = 0; i < devices && reader.problem.empty(); ++i) {
        ReadDevice(reader, i + 1, settings.devices[static_cast<size_t>(i)]);
    }

    if (!reader.problem.empty()) {
        return {RememberedSettings{}, reader.problem};
    }
    return {std::move(settings), {}};
}

SettingsValues RememberedSettingsValues(const RememberedSettings& settings) {
    SettingsValues values;
    values[Key(kConnectionGroup, "mode")] = std::to_string(settings.mode);
    values[Key(kConnectionGroup, "serial_port")] = settings.serial_port;
    values[Key(kConnectionGroup, "baud_rate")] = std::to_string(settings.baud_rate);
    values[Key(kDevicesGroup, "count")] = std::to_string(settings.devices.size());
    values[Key(kDevicesGroup, "selected")] = std::to_string(settings.selected);
    values[Key(kDevicesGroup, "serial_type")] = std::to_string(settings.serial_device_type);
    int number = 1;
    for (const RememberedDevice& device : settings.devices) {
        values[DeviceKey(number, "name")] = device.name;
        values[DeviceKey(number, "ip")] = device.entry.IpText();
        values[DeviceKey(number, "address")] = std::to_string(device.entry.device_address);
        values[DeviceKey(number, "type")] = std::to_string(device.entry.device_type);
        ++number;
    }
    return values;
}

RememberedSettings CaptureSettings(const PanoptixState& state,
                                   const std::vector<std::string>& device_texts,
                                   int selected_entry) {
    RememberedSettings settings;
    const DeviceLink& link = state.link;
    settings.mode = ConnectionModeNumber(link.mode());
    const SerialChoice choice = CurrentSerialChoice(state);
    if (choice.port.size() <= CnComm::kMaxPortNameLength && IsPlainText(choice.port)) {
        settings.serial_port = choice.port;
    }
    if (IsKnownBaudRate(choice.baud_rate)) {
        settings.baud_rate = choice.baud_rate;
    }
    settings.serial_device_type = link.SerialDeviceType();

    const size_t count = std::min(device_texts.size(), static_cast<size_t>(kDeviceTableRows));
    if (selected_entry < 0 || static_cast<size_t>(selected_entry) >= count) {
        return settings;
    }
    for (size_t i = 0; i < count; ++i) {
        if (!IsRememberableName(device_texts[i])) {
            settings.devices.clear();
            return settings;
        }
        RememberedDevice device;
        device.name = device_texts[i];
        device.entry = link.Table()[i];
        settings.devices.push_back(std::move(device));
    }
    settings.selected = selected_entry;
    return settings;
}

void ApplySettings(const RememberedSettings& settings, PanoptixState& state) {
    DeviceLink& link = state.link;
    // The file's mode was checked when it was read.
    link.SetMode(ConnectionModeOf(settings.mode).value_or(ConnectionMode::Lan));
    state.serial_choice = {settings.serial_port, settings.baud_rate};
    link.ClearTable();
    for (size_t i = 0; i < settings.devices.size() && i < link.Table().size(); ++i) {
        link.SetRow(i, settings.devices[i].entry);
    }
    link.Select(static_cast<int8_t>(settings.selected));
    link.SetSerialDeviceType(settings.serial_device_type);
}

}  // namespace panoptix
