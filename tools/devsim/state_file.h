#pragma once
// The initial state of a simulated device, as readable text: one key=value per line, '#'
// starts a comment line, blank lines are skipped, spaces around key and value are dropped.
// Keys with an index name one window, channel or output ("label.3=Studio"); the same key
// without index sets all of them ("umd_back_color=2"). Each kind has its own keys; the state a
// simulator logs on SIGUSR1 is in this format too.
#include <string>
#include <string_view>

#include "device_model.h"

namespace panoptix::devsim {

// Applies every line to the model in order; stops at the first bad line with
// error = "line N: key: why".
bool ApplyStateText(DeviceModel& model, std::string_view text, std::string& error);

}  // namespace panoptix::devsim
