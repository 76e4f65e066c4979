#include "cli_actions.h"

#include <algorithm>

#include "multiviewer/core/multiviewer_commands.h"

namespace panoptix::cli {
namespace {

// Every kind's actions end with the Configure window's address change.
std::vector<ActionSpec> WithAddressChange(std::vector<ActionSpec> actions) {
    actions.push_back(AddressChangeAction());
    return actions;
}

}  // namespace

ActionSpec AddressChangeAction() {
    ActionSpec set_ip{"set-ip",
                      "Give the device a new IP address (the Configure window's Change IP).",
                      "192.0.2.50",
                      {Ipv4Arg("address", "the new IP address"),
                       AsOption(Ipv4Arg("mask", "subnet mask; 255.255.255.0 when left out"), ""),
                       AsOption(Ipv4Arg("gateway",
                                        "gateway; the new address's first three octets and 1 "
                                        "when left out"),
                                "")},
                      ActionLinks::LanOnly};
    set_ip.run = [](Session& s, const std::vector<ArgValue>& a) {
        // The Configure window's completion, then what the settings page's fields would hold.
        NetworkAddress address = AddressOnOwnSubnet(a[0].ipv4);
        if (a[1].given) {
            std::copy_n(a[1].ipv4, 4, address.mask);
        }
        if (a[2].given) {
            std::copy_n(a[2].ipv4, 4, address.gateway);
        }
        s.multiviewer.new_network_address = address;
        SendNetworkAddress(s.link, s.multiviewer);
    };
    return set_ip;
}

const std::vector<ActionSpec>& ActionsOf(DeviceKind kind) {
    static const std::vector<ActionSpec> multiviewer = WithAddressChange(MultiviewerActions());
    static const std::vector<ActionSpec> switcher = WithAddressChange(SwitcherActions());
    static const std::vector<ActionSpec> matrix = WithAddressChange(MatrixActions());
    static const std::vector<ActionSpec> quadview = WithAddressChange(QuadviewActions());
    switch (kind) {
        case DeviceKind::Multiviewer:
            return multiviewer;
        case DeviceKind::Switcher:
            return switcher;
        case DeviceKind::Matrix:
            return matrix;
        case DeviceKind::QuadView:
            break;
    }
    return quadview;
}

Outcome ParseActionArguments(const ActionSpec& action, const std::vector<std::string>& texts,
                             std::vector<ArgValue>& values) {
    values.clear();
    for (size_t k = 0; k < action.args.size(); ++k) {
        const ArgSpec& spec = action.args[k];
        const std::string& text = k < texts.size() ? texts[k] : spec.default_text;
        if (spec.option && spec.default_text.empty() && text.empty()) {
            ArgValue left_out;
            left_out.given = false;
            values.push_back(left_out);
            continue;
        }
        const ParsedArg parsed = ParseArgument(spec, text);
        if (const auto* message = std::get_if<std::string>(&parsed)) {
            return {ExitCode::BadArguments, *message};
        }
        values.push_back(std::get<ArgValue>(parsed));
    }
    if (action.check) {
        if (std::string message = action.check(values); !message.empty()) {
            return {ExitCode::BadArguments, std::move(message)};
        }
    }
    return {};
}

Outcome RunAction(Session& session, const ActionSpec& action, const std::vector<ArgValue>& args) {
    if (action.links == ActionLinks::LanOnly && session.serial()) {
        return {ExitCode::BadArguments,
                action.name + " travels by the LAN only: give --ip instead of --serial"};
    }
    action.run(session, args);
    const auto messages = session.TakeMessages();
    if (!messages.empty()) {
        return {ExitCode::LinkError, messages.front()};
    }
    return {};
}

}  // namespace panoptix::cli
