#pragma once
// Every action of every device page, named as an operator says it, with its arguments and the
// core operation it calls. The program turns each into a "send KIND ACTION ARGS..." command.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cli_arguments.h"
#include "cli_session.h"
#include "link/device_entry.h"

namespace panoptix::cli {

// Which links an action's frame can take: the page's own choice.
enum class ActionLinks { LanOrSerial, LanOnly };

struct ActionSpec {
    ActionSpec(std::string name_, std::string help_, std::string example_,
               std::vector<ArgSpec> args_, ActionLinks links_ = ActionLinks::LanOrSerial)
        : name(std::move(name_)),
          help(std::move(help_)),
          example(std::move(example_)),
          args(std::move(args_)),
          links(links_) {}

    std::string name;
    std::string help;
    std::string example;  // the arguments after the action's name
    std::vector<ArgSpec> args;
    ActionLinks links = ActionLinks::LanOrSerial;
    // Calls the core with the checked arguments (in the order of args).
    std::function<void(Session&, const std::vector<ArgValue>&)> run;
    // What the arguments must satisfy together: the message when they do not, else empty.
    std::function<std::string(const std::vector<ArgValue>&)> check;
};

std::vector<ActionSpec> MultiviewerActions();
std::vector<ActionSpec> SwitcherActions();
std::vector<ActionSpec> MatrixActions();
std::vector<ActionSpec> QuadviewActions();

// set-ip: the Configure window's address change for the device, of any kind (command 0x05,
// by the LAN only). Mask and gateway default to the window's: 255.255.255.0 and a.b.c.1.
ActionSpec AddressChangeAction();

// The actions of a kind, built once.
const std::vector<ActionSpec>& ActionsOf(DeviceKind kind);

// Runs an action on a connected session. A refused link (a LAN-only action on the serial port)
// is a bad argument and sends nothing; a box the operator would have seen is a link error.
Outcome RunAction(Session& session, const ActionSpec& action, const std::vector<ArgValue>& args);

// Checks the texts of an action's arguments (positionals and options, in the order of args).
// Fills values, or returns the message naming the first bad one.
Outcome ParseActionArguments(const ActionSpec& action, const std::vector<std::string>& texts,
                             std::vector<ArgValue>& values);

}  // namespace panoptix::cli
