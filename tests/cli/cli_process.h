#pragma once
// Runs panoptix-cli as a script would and keeps what it said.
#include <string>
#include <vector>

namespace panoptix::testing {

struct CliRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args);

}  // namespace panoptix::testing
