// The matrix router's actions: the crosspoint page and its function sub page. The texts follow
// the connection: the LAN with --ip, the serial port with --serial.
#include "cli_actions.h"
#include "matrix/core/matrix_crosspoint.h"
#include "matrix/core/matrix_function.h"
#include "quiet_views.h"

namespace panoptix::cli {

std::vector<ActionSpec> MatrixActions() {
    std::vector<ActionSpec> actions;

    ActionSpec route{"route",
                     "Route an input to every output (all) or to the outputs listed.",
                     "1 2,3",
                     {NumberArg("input", 1, kMatrixPorts, "input 1..8"),
                      OutputsArg("outputs", 1, kMatrixPorts, "all, or outputs such as 2,3")}};
    route.run = [](Session& s, const std::vector<ArgValue>& a) {
        QuietCrosspointView view;
        ClickInput(s.matrix, view, a[0].number);
        if (a[1].outputs.empty()) {
            ClickOneToAll(s.matrix, s.link, view);
            return;
        }
        // Each listed output marked, then APPLY sends the outputs that carry the input.
        for (const int output : a[1].outputs) {
            ToggleOutput(s.matrix, view, output);
        }
        ClickApply(s.matrix, s.link);
    };
    actions.push_back(route);

    ActionSpec one_to_one{"one-to-one", "Input k to output k, for every k.", "", {}};
    one_to_one.run = [](Session& s, const std::vector<ArgValue>&) {
        QuietCrosspointView view;
        ClickOneToOne(s.matrix, s.link, view);
    };
    actions.push_back(one_to_one);
    return actions;
}

}  // namespace panoptix::cli
