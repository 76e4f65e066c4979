#pragma once
// The serial ports the operator can choose from, by the names the serial engine opens.
#include <string>
#include <vector>

namespace panoptix {

// Where the port listing looks; tests point these at a made-up tree.
struct SerialPortRoots {
    std::string sys_tty = "/sys/class/tty";  // one folder per terminal device
    std::string dev = "/dev";                // device nodes and symbolic links to them
    // Windows: the key under HKEY_LOCAL_MACHINE whose values name the ports.
    std::string windows_key = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
};

// The machine's serial ports, sorted by name, each once.
// Windows (serial_port_list_win32.cpp): the data of the key's values, read from index 0 until
// the first value that cannot be read (one whose data is longer than 20 bytes included); values
// with an empty name or empty data are passed over.
// Linux (serial_port_list_linux.cpp): real UARTs and USB adapters (terminal
// devices that have a device driver), /dev/ttyUSB* and /dev/ttyACM*, and the symbolic links in
// the device folder whose own target is a pseudo-terminal /dev/pts/N (virtual ports such as a
// simulator or socat makes). Never /dev/std*, /dev/fd, /dev/tty, /dev/console, /dev/ptmx, nor
// a link that goes through /proc.
std::vector<std::string> ListSerialPorts(const SerialPortRoots& roots = {});

}  // namespace panoptix
