#include "devsim_options.h"

#include <optional>

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
    std::optional<DeviceKind> kind;
    std::optional<uint8_t> type_byte;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        std::optional<std::string_view> inline_value;
        if (const size_t equals = option.find('=');
            option.starts_with("--") && equals != std::string_view::npos) {
            inline_value = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        // The value of an option that needs one: after '=' or the next argument.
        auto value = [&](std::string_view& out) {
            if (inline_value) {
                out = *inline_value;
                return true;
            }
            if (i + 1 >= args.size()) {
                error = std::string(option) + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto byte_value = [&](uint8_t& out) {
            std::string_view text;
            long number = 0;
            if (!value(text) || !ParseBounded(text, 0, 255, number, error)) {
                error = std::string(option) + ": " + error;
                return false;
            }
            out = static_cast<uint8_t>(number);
            return true;
        };
        std::string_view text;
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--kind") {
            if (!value(text)) {
                return false;
            }
            kind = ParseKind(text);
            if (!kind) {
                error = "--kind must be multiviewer, switcher, matrix or quadview";
                return false;
            }
        } else if (option == "--name") {
            if (!value(text)) {
                return false;
            }
            options.model_name = std::string(text);
        } else if (option == "--type") {
            uint8_t byte = 0;
            if (!byte_value(byte)) {
                return false;
            }
            type_byte = byte;
        } else if (option == "--address") {
            if (!byte_value(options.address_byte)) {
                return false;
            }
        } else if (option == "--bind") {
            if (!value(text)) {
                return false;
            }
            options.bind_address = std::string(text);
            if (!IsIpv4(options.bind_address)) {
                error = "--bind needs an IPv4 address";
                return false;
            }
        } else if (option == "--port") {
            long port = 0;
            if (!value(text) || !ParseBounded(text, 1, 65535, port, error)) {
                error = "--port: " + error;
                return false;
            }
            options.port = static_cast<uint16_t>(port);
        } else if (option == "--serial") {
            options.serial = true;
            // The link path is optional: "--serial=PATH", or a next argument that is no option.
            if (inline_value) {
                options.serial_link = std::string(*inline_value);
            } else if (i + 1 < args.size() && !args[i + 1].starts_with("-")) {
                options.serial_link = std::string(args[++i]);
            }
        } else if (option == "--state") {
            if (!value(text)) {
                return false;
            }
            options.state_file = std::string(text);
        } else {
            error = "unknown option " + std::string(args[i]);
            return false;
        }
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
  --help           this text

SIGINT or SIGTERM end it; SIGUSR1 logs the current state as key=value lines.
)";
}

}  // namespace panoptix::devsim
