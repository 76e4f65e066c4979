// panoptix-cli: search, status and every device action from a script, with the frames the panel
// sends. It parses the arguments, calls the core's operation and prints JSON.
//   exit 0 done, 1 no reply within the window, 2 bad arguments (nothing sent), 3 link error
#include <CLI/CLI.hpp>
#include <cstdio>
#include <deque>
#include <iostream>
#include <string>
#include <vector>

#include "cli_actions.h"
#include "cli_json.h"
#include "cli_status.h"
#include "link/serial_connection.h"
#include "link/trace.h"
#include "link/udp_socket.h"

namespace panoptix::cli {
namespace {

constexpr char kProgram[] = "panoptix-cli";

struct OutputOptions {
    bool quiet = false;
    bool json = true;
    bool verbose = false;
};

// One action's command (send KIND ACTION) and the texts of its arguments.
struct ActionCommand {
    DeviceKind kind = DeviceKind::QuadView;
    const ActionSpec* action = nullptr;
    CLI::App* app = nullptr;
    std::vector<std::string> texts;
};

struct KindCommand {
    DeviceKind kind = DeviceKind::QuadView;
    CLI::App* app = nullptr;
};

const DeviceKind kKinds[] = {DeviceKind::Multiviewer, DeviceKind::Switcher, DeviceKind::Matrix,
                             DeviceKind::QuadView};

// Example addresses of the lab network (scripts/lab).
std::string ExampleAddress(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Multiviewer:
            return "192.0.2.10";
        case DeviceKind::Switcher:
            return "192.0.2.11";
        case DeviceKind::Matrix:
            return "192.0.2.12";
        case DeviceKind::QuadView:
            break;
    }
    return "192.0.2.13";
}

void AddTargetOptions(CLI::App* app, TargetOptions& target, bool with_device_bytes) {
    app->add_option("--ip", target.ip, "the device's IP address");
    app->add_option("--serial", target.serial_port, "the serial port the device is on");
    app->add_option("--baud", target.baud, "serial baud rate: 9600|19200|38400|57600|115200")
        ->capture_default_str();
    app->add_option("--port", target.device_port, "the device's UDP port")->capture_default_str();
    app->add_option("--local-port", target.local_port, "the UDP port sent from")
        ->capture_default_str();
    if (with_device_bytes) {
        app->add_option("--type", target.type_text,
                        "device type byte (0..255, 0x hex); looked up by a search when not given");
        app->add_option("--address", target.address_text,
                        "device address byte (0..255, 0x hex); looked up when not given");
    }
}

// The target named exactly once and well-formed: the message when not.
std::string CheckTarget(const TargetOptions& target, bool serial_allowed, const std::string& what) {
    if (target.ip.empty() == target.serial_port.empty()) {
        return serial_allowed ? "give either --ip ADDR or --serial PORT"
                              : "give --ip ADDR (" + what + " travels by the LAN only)";
    }
    if (!target.serial_port.empty() && !serial_allowed) {
        return what + " travels by the LAN only: give --ip instead of --serial";
    }
    if (!target.ip.empty()) {
        const auto address = udp_socket::ParseIpv4(target.ip);
        if (!address || udp_socket::FormatIpv4(*address) != target.ip) {
            return "ip must be an IPv4 address such as 192.0.2.20";
        }
    }
    if (BaudRateFromText(target.baud) == 0 ||
        std::find(kBaudRateTexts.begin(), kBaudRateTexts.end(), target.baud) ==
            kBaudRateTexts.end()) {
        return "baud must be 9600|19200|38400|57600|115200";
    }
    if (!target.type_text.empty() && !ParseDeviceByte(target.type_text)) {
        return "type must be 0..255 (decimal, or hex as 0xA1)";
    }
    if (!target.address_text.empty() && !ParseDeviceByte(target.address_text)) {
        return "address must be 0..255 (decimal, or hex as 0x01)";
    }
    return {};
}

int Finish(const Outcome& outcome) {
    if (!outcome.ok()) {
        std::cerr << kProgram << ": " << outcome.message << '\n';
    }
    return AsInt(outcome.code);
}

void Print(const OutputOptions& output, const nlohmann::json& object) {
    if (!output.quiet) {
        std::cout << object.dump() << '\n';
    }
}

int RunSearch(const TargetOptions& target, const OutputOptions& output) {
    if (!target.ip.empty()) {
        return Finish({ExitCode::BadArguments, "search broadcasts on the LAN: no --ip"});
    }
    if (std::string problem =
            target.serial_port.empty() ? std::string() : CheckTarget(target, true, "search");
        !problem.empty()) {
        return Finish({ExitCode::BadArguments, problem});
    }
    Session session;
    std::vector<FoundDevice> found;
    const Outcome outcome = session.Search(target, found);
    for (const FoundDevice& device : found) {
        Print(output, DeviceJson(device));
    }
    return Finish(outcome);
}

int RunStatus(DeviceKind kind, const TargetOptions& target, const OutputOptions& output) {
    const bool serial_allowed = kind == DeviceKind::Multiviewer;
    if (std::string problem = CheckTarget(target, serial_allowed, "the quadview status");
        !problem.empty()) {
        return Finish({ExitCode::BadArguments, problem});
    }
    Session session;
    if (const Outcome connected = session.Connect(target, kind); !connected.ok()) {
        return Finish(connected);
    }
    if (kind == DeviceKind::Multiviewer) {
        const Outcome outcome = QueryMultiviewerStatus(session);
        if (outcome.ok()) {
            Print(output, MultiviewerStatusJson(session));
        }
        return Finish(outcome);
    }
    QuadviewStatus status;
    const Outcome outcome = QueryQuadviewStatus(session, status);
    if (outcome.ok()) {
        Print(output, QuadviewStatusJson(session));
    }
    return Finish(outcome);
}

int RunSend(const ActionCommand& command, const TargetOptions& target,
            const OutputOptions& output) {
    const ActionSpec& action = *command.action;
    if (std::string problem =
            CheckTarget(target, action.links == ActionLinks::LanOrSerial, action.name);
        !problem.empty()) {
        return Finish({ExitCode::BadArguments, problem});
    }
    std::vector<ArgValue> values;
    if (const Outcome parsed = ParseActionArguments(action, command.texts, values); !parsed.ok()) {
        return Finish(parsed);
    }
    Session session;
    if (const Outcome connected = session.Connect(target, command.kind); !connected.ok()) {
        return Finish(connected);
    }
    const Outcome outcome = RunAction(session, action, values);
    if (outcome.ok()) {
        Print(output, {{"kind", std::string(KindName(command.kind))},
                       {"action", action.name},
                       {"address", session.where()},
                       {"sent", true}});
    }
    return Finish(outcome);
}

std::string ActionFooter(DeviceKind kind, const ActionSpec& action) {
    std::string footer = "Example:\n  " + std::string(kProgram) + " send " +
                         std::string(KindName(kind)) + " --ip " + ExampleAddress(kind) + " " +
                         action.name;
    if (!action.example.empty()) {
        footer += " " + action.example;
    }
    return footer + "\n";
}

int Run(int argc, char** argv) {
    CLI::App app{"Control Panoptix devices from a script: search, status as JSON, every action.",
                 kProgram};
    app.fallthrough();
    app.require_subcommand(1);
    OutputOptions output;
    app.add_flag("--json", output.json, "print JSON (the default)");
    app.add_flag("-q,--quiet", output.quiet, "print nothing; the exit status tells");
    app.add_flag("-v,--verbose", output.verbose, "write the link's traces to standard error");
    app.footer(
        "Exit status: 0 done, 1 no reply within the window, 2 bad arguments (nothing sent),\n"
        "3 link error (cannot open the port, cannot bind).\n"
        "Examples:\n"
        "  panoptix-cli search\n"
        "  panoptix-cli status multiviewer --ip 192.0.2.10\n"
        "  panoptix-cli send switcher --ip 192.0.2.11 auto --rate 2\n");

    TargetOptions target;
    CLI::App* search = app.add_subcommand("search", "Find the devices: one JSON object a line.");
    AddTargetOptions(search, target, false);
    search->add_option("--wait-ms", target.search_ms, "how long replies are collected")
        ->capture_default_str();
    search->footer(
        "Examples:\n  panoptix-cli search\n  panoptix-cli search --serial /dev/ttyUSB0 "
        "--baud 115200\n");

    CLI::App* status = app.add_subcommand("status", "Read a device's state as JSON.");
    status->require_subcommand(1);
    status->footer("Examples:\n  panoptix-cli status multiviewer --ip 192.0.2.10\n");
    std::vector<KindCommand> status_kinds;
    for (const DeviceKind kind : {DeviceKind::Multiviewer, DeviceKind::QuadView}) {
        CLI::App* sub = status->add_subcommand(
            std::string(KindName(kind)),
            kind == DeviceKind::Multiviewer
                ? "Layout, resolution, sources, labels, colours and audio."
                : "Show mode, PIP children, loop, output format, signal lamps, label lengths.");
        AddTargetOptions(sub, target, true);
        std::string footer = "Example:\n  panoptix-cli status " + std::string(KindName(kind)) +
                             " --ip " + ExampleAddress(kind) + "\n";
        if (kind == DeviceKind::QuadView) {
            footer +=
                "labels: the status reply gives each UMD line's name length only (valid up to\n"
                "32); the name texts are not read, and no page or action sets them.\n";
        }
        sub->footer(footer);
        status_kinds.push_back({kind, sub});
    }

    CLI::App* send = app.add_subcommand("send", "Do what a page's button or list does.");
    send->require_subcommand(1);
    send->footer("Example:\n  panoptix-cli send matrix --ip 192.0.2.12 route 3 all\n");
    std::deque<ActionCommand> commands;
    for (const DeviceKind kind : kKinds) {
        CLI::App* kind_app =
            send->add_subcommand(std::string(KindName(kind)),
                                 "Actions of the " + std::string(KindName(kind)) + "'s pages.");
        kind_app->require_subcommand(1);
        AddTargetOptions(kind_app, target, true);
        kind_app->footer("Example:\n  panoptix-cli send " + std::string(KindName(kind)) + " --ip " +
                         ExampleAddress(kind) + " ACTION --help\n");
        for (const ActionSpec& action : ActionsOf(kind)) {
            ActionCommand& command = commands.emplace_back();
            command.kind = kind;
            command.action = &action;
            command.app = kind_app->add_subcommand(action.name, action.help);
            command.app->footer(ActionFooter(kind, action));
            command.texts.resize(action.args.size());
            for (size_t k = 0; k < action.args.size(); ++k) {
                const ArgSpec& spec = action.args[k];
                const std::string help = spec.help + " (" + AcceptedText(spec) + ")";
                if (spec.option) {
                    command.texts[k] = spec.default_text;
                    command.app->add_option("--" + spec.name, command.texts[k], help)
                        ->capture_default_str();
                } else {
                    command.app->add_option(spec.name, command.texts[k], help)->required();
                }
            }
        }
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << kProgram << ": " << e.what() << "\n(--help lists what it takes)\n";
        return AsInt(ExitCode::BadArguments);
    }

    // Traces are the link's diagnostics: never on standard output, where the JSON goes.
    if (output.verbose) {
        SetTraceSink([](std::string_view line) { std::cerr << line; });
    } else {
        SetTraceSink([](std::string_view) {});
    }

    if (search->parsed()) {
        return RunSearch(target, output);
    }
    for (const KindCommand& kind : status_kinds) {
        if (kind.app->parsed()) {
            return RunStatus(kind.kind, target, output);
        }
    }
    for (const ActionCommand& command : commands) {
        if (command.app->parsed()) {
            return RunSend(command, target, output);
        }
    }
    return AsInt(ExitCode::BadArguments);
}

}  // namespace
}  // namespace panoptix::cli

int main(int argc, char** argv) {
    return panoptix::cli::Run(argc, argv);
}
