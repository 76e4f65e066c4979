#include "cli_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace panoptix::testing {
namespace {

std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args) {
    char err_path[] = "/tmp/panoptix-cli-err-XXXXXX";
    const int err_fd = mkstemp(err_path);
    std::string command = Quoted(PANOPTIX_CLI_PATH);
    for (const std::string& arg : args) {
        command += " " + Quoted(arg);
    }
    command += " 2>" + Quoted(err_path);
    CliRun run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            run.out.append(buffer, got);
        }
        const int status = pclose(pipe);
        run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream err_file(err_path);
    std::stringstream err;
    err << err_file.rdbuf();
    run.err = err.str();
    if (err_fd >= 0) {
        close(err_fd);
    }
    std::remove(err_path);
    return run;
}

}  // namespace panoptix::testing
