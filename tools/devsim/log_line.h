#pragma once
// The simulator's log: one line per event on standard output, "HH:MM:SS.mmm WHO WHAT", flushed
// at once so that a reader (a person, a test, the lab script) sees it immediately.
#include <string_view>

namespace panoptix::devsim {

void WriteLogLine(std::string_view who, std::string_view what);

}  // namespace panoptix::devsim
