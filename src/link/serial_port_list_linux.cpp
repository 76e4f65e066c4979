// Serial port listing on Linux: sysfs for the ports that have hardware behind them, the device
// folder for adapters and for symbolic links to pseudo-terminals.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "link/serial_port_list.h"

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

// Names in the device folder that are never a port, whatever they lead to: the process's own
// streams and terminal, the console and the pseudo-terminal multiplexer. Opening one of them
// would put the operator's terminal in raw mode and write frames into it.
bool IsNeverAPort(const std::string& name) {
    return StartsWith(name, "std") || name == "fd" || name == "tty" || name == "console" ||
           name == "ptmx";
}

void AddTerminalsWithDriver(const SerialPortRoots& roots, std::set<std::string>& ports) {
    ForEachEntry(roots.sys_tty, [&](const fs::directory_entry& entry) {
        const fs::path driver = entry.path() / "device" / "driver";
        std::error_code link_error;
        if (!fs::exists(driver, link_error)) {
            return;  // virtual consoles and pseudo-terminals have no device driver
        }
        const std::string name = entry.path().filename().string();
        if (IsNeverAPort(name)) {
            return;
        }
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

// A link is a virtual port when its own target (not where a chain of links ends) names a
// pseudo-terminal, /dev/pts/N, that exists as a terminal device. A link into /proc (the
// /dev/std* and /dev/fd family) is never one, even when it ends at a terminal.
bool IsLinkToPseudoTerminal(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    if (error || !IsPseudoTerminalSlave(target)) {
        return false;
    }
    return fs::is_character_file(target, error) && !error;
}

void AddDeviceFolderPorts(const SerialPortRoots& roots, std::set<std::string>& ports) {
    ForEachEntry(roots.dev, [&](const fs::directory_entry& entry) {
        const std::string name = entry.path().filename().string();
        if (IsNeverAPort(name)) {
            return;
        }
        std::error_code entry_error;
        if (entry.is_symlink(entry_error)) {
            if (IsLinkToPseudoTerminal(entry.path())) {
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
