#include "cli_actions.h"

namespace panoptix::cli {

const std::vector<ActionSpec>& ActionsOf(DeviceKind kind) {
    static const std::vector<ActionSpec> multiviewer = MultiviewerActions();
    static const std::vector<ActionSpec> switcher = SwitcherActions();
    static const std::vector<ActionSpec> matrix = MatrixActions();
    static const std::vector<ActionSpec> quadview = QuadviewActions();
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
