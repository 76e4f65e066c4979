// Serial port listing on Linux: sysfs for the ports that have hardware behind them, the device
// folder for adapters and for symbolic links to pseudo-terminals.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "shell/serial_port_list.h"

namespace panoptix {
namespace {

namespace fs = std::filesystem;

// Visits the entries of a folder without throwing: a folder that cannot be read has none.
template <class Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        visit(*it);
    }
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The 8250 driver registers every possible legacy port whether a UART is fitted or not; the
// serial core's "type" attribute reads 0 (unknown UART) for those that are not.
bool IsUartFitted(const fs::path& sys_entry) {
    std::ifstream type_file(sys_entry / "type");
    int uart_type = -1;
    if (!(type_file >> uart_type)) {
        return true;  // not a serial-core port: the driver alone says it is there
    }
    return uart_type != 0;
}

void AddTerminalsWithDriver(const SerialPortRoots& roots, std::set<std::string>& ports) {
    ForEachEntry(roots.sys_tty, [&](const fs::directory_entry& entry) {
        const fs::path driver = entry.path() / "device" / "driver";
        std::error_code link_error;
        if (!fs::exists(driver, link_error)) {
            return;  // virtual consoles and pseudo-terminals have no device driver
        }
        const std::string name = entry.path().filename().string();
        const std::string device_path = (fs::path(roots.dev) / name).string();
        if (!fs::exists(device_path, link_error)) {
            return;
        }
        if (!IsUartFitted(entry.path())) {
            return;
        }
        ports.insert(device_path);
    });
}

bool IsPseudoTerminalSlave(const fs::path& target) {
    const std::string text = target.string();
    const std::string prefix = "/dev/pts/";
    if (!StartsWith(text, prefix) || text.size() == prefix.size()) {
        return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(prefix.size()), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

void AddDeviceFolderPorts(const SerialPortRoots& roots, std::set<std::string>& ports) {
    ForEachEntry(roots.dev, [&](const fs::directory_entry& entry) {
        const std::string name = entry.path().filename().string();
        std::error_code entry_error;
        if (entry.is_symlink(entry_error)) {
            const fs::path target = fs::canonical(entry.path(), entry_error);
            if (!entry_error && IsPseudoTerminalSlave(target)) {
                ports.insert(entry.path().string());
            }
            return;
        }
        if ((StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM")) &&
            entry.is_character_file(entry_error)) {
            ports.insert(entry.path().string());
        }
    });
}

}  // namespace

std::vector<std::string> ListSerialPorts(const SerialPortRoots& roots) {
    std::set<std::string> ports;
    AddTerminalsWithDriver(roots, ports);
    AddDeviceFolderPorts(roots, ports);
    return {ports.begin(), ports.end()};
}

}  // namespace panoptix
