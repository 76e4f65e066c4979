#include "devsim_options.h"

#include <getopt.h>

#include <optional>
#include <vector>

#include "chaos.h"
#include "device_factory.h"
#include "state_values.h"

namespace panoptix::devsim {
namespace {

// Four decimal numbers 0..255 separated by dots.
bool IsIpv4(std::string_view text) {
    for (int part = 0; part < 4; ++part) {
        const size_t dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos) {
            return false;
        }
        const std::string_view number = text.substr(0, dot);
        long value = 0;
        std::string ignored;
        if (number.empty() || number.size() > 3 || number.find('x') != std::string_view::npos ||
            !ParseBounded(number, 0, 255, value, ignored)) {
            return false;
        }
        text = part < 3 ? text.substr(dot + 1) : std::string_view{};
    }
    return true;
}

}  // namespace

bool ParseOptions(std::span<const std::string_view> args, DevsimOptions& options,
                  std::string& error) {
    enum Option {
        kHelp = 'h',
        kKind = 256,
        kName,
        kType,
        kAddress,
        kBind,
        kPort,
        kSerial,
        kState,
        kChaos
    };
    static const option kLongOptions[] = {
        {"help", no_argument, nullptr, kHelp},
        {"kind", required_argument, nullptr, kKind},
        {"name", required_argument, nullptr, kName},
        {"type", required_argument, nullptr, kType},
        {"address", required_argument, nullptr, kAddress},
        {"bind", required_argument, nullptr, kBind},
        {"port", required_argument, nullptr, kPort},
        {"serial", optional_argument, nullptr, kSerial},
        {"state", required_argument, nullptr, kState},
        {"chaos", required_argument, nullptr, kChaos},
        {nullptr, 0, nullptr, 0},
    };
    auto option_name = [](int value) {
        for (const option& o : kLongOptions) {
            if (o.val == value && o.name != nullptr) {
                return "--" + std::string(o.name);
            }
        }
        return std::string("-") + static_cast<char>(value);
    };
    // getopt_long reads an argv: the program name, the arguments, a null pointer.
    std::vector<std::string> storage{"panoptix-devsim"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(storage.size());

    std::optional<DeviceKind> kind;
    std::optional<uint8_t> type_byte;
    auto byte_value = [&](int value, uint8_t& out) {
        long number = 0;
        if (!ParseBounded(optarg, 0, 255, number, error)) {
            error = option_name(value) + ": " + error;
            return false;
        }
        out = static_cast<uint8_t>(number);
        return true;
    };
    // '+': stop at the first argument that is no option; ':': report a missing value as ':'.
    optind = 0;
    opterr = 0;
    for (int value; (value = getopt_long(argc, argv.data(), "+:h", kLongOptions, nullptr)) != -1;) {
        switch (value) {
            case kHelp:
                options.help = true;
                break;
            case kKind:
                kind = ParseKind(optarg);
                if (!kind) {
                    error = "--kind must be multiviewer, switcher, matrix or quadview";
                    return false;
                }
                break;
            case kName:
                options.model_name = optarg;
                break;
            case kType: {
                uint8_t byte = 0;
                if (!byte_value(value, byte)) {
                    return false;
                }
                type_byte = byte;
                break;
            }
            case kAddress:
                if (!byte_value(value, options.address_byte)) {
                    return false;
                }
                break;
            case kBind:
                options.bind_address = optarg;
                if (!IsIpv4(options.bind_address)) {
                    error = "--bind needs an IPv4 address";
                    return false;
                }
                break;
            case kPort: {
                long port = 0;
                if (!ParseBounded(optarg, 1, 65535, port, error)) {
                    error = "--port: " + error;
                    return false;
                }
                options.port = static_cast<uint16_t>(port);
                break;
            }
            case kSerial:
                options.serial = true;
                // The link path is optional: "--serial=PATH", or a next argument that is no option.
                if (optarg != nullptr) {
                    options.serial_link = optarg;
                } else if (optind < argc && argv[static_cast<size_t>(optind)][0] != '-') {
                    options.serial_link = argv[static_cast<size_t>(optind++)];
                }
                break;
            case kState:
                options.state_file = optarg;
                break;
            case kChaos:
                options.chaos_seed = ParseChaosSeed(optarg);
                if (!options.chaos_seed) {
                    error = "--chaos needs a seed: a decimal number below 2^64";
                    return false;
                }
                break;
            case ':':
                error = option_name(optopt) + " needs a value";
                return false;
            default: {
                // A long option names itself; a short one in a cluster ("-xh") by optopt.
                const std::string arg = argv[static_cast<size_t>(optind - 1)];
                error = "unknown option " + (optopt == 0 || arg.starts_with("--")
                                                 ? arg
                                                 : std::string("-") + static_cast<char>(optopt));
                return false;
            }
        }
    }
    if (optind < argc) {
        error = "unknown option " + std::string(argv[static_cast<size_t>(optind)]);
        return false;
    }
    if (options.help) {
        return true;
    }
    if (!kind) {
        error = "--kind is required";
        return false;
    }
    options.kind = *kind;
    options.type_byte = type_byte.value_or(DefaultTypeByte(*kind));
    if (options.model_name.empty()) {
        options.model_name = DefaultModelName(*kind);
    }
    return IsUsableModelName(options.model_name, error);
}

std::string UsageText() {
    return R"(usage: panoptix-devsim --kind KIND [options]

Simulates one device of the Panoptix product line on UDP and, optionally, on a
pseudo-terminal. Every datagram or serial frame it receives is logged as one line
on standard output.

  --kind KIND      multiviewer, switcher, matrix or quadview
  --name TEXT      model name in the search answer (default MV16, SW12, MX88, QV4)
  --type BYTE      device type byte (default 0xA1, 0xA5, 0x81, 0x60 by kind)
  --address BYTE   device address byte (default 0x01)
  --bind ADDR      IPv4 address to listen on (default 0.0.0.0); with a specific
                   address the simulator also listens for broadcasts
  --port PORT      UDP port (default 7000)
  --serial [PATH]  also answer on a new pseudo-terminal; its path is printed, and
                   PATH, if given, becomes a symbolic link to it while running
  --state FILE     initial state: key=value lines (see the README)
  --chaos SEED     misbehave on purpose, every choice drawn from SEED and logged:
                   now and then stay silent, answer late, cut, corrupt or double a
                   reply, send unrequested bytes, drop the serial line for a while
  --help           this text

SIGINT or SIGTERM end it; SIGUSR1 logs the current state as key=value lines.
)";
}

}  // namespace panoptix::devsim
