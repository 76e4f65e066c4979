#include "lab.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace panoptix::e2e {
namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return text;
    }
    char chunk[1024];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        text += chunk;
    }
    pclose(pipe);
    return text;
}

// A process that has ended but not been reaped yet counts as gone.
bool ProcessRuns(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pid_text, name, state;
    if (!(stat >> pid_text >> name >> state)) {
        return false;
    }
    return state != "Z";
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator)) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == separator) {
        fields.emplace_back();
    }
    return fields;
}

}  // namespace

std::string MissingPrerequisite() {
    if (geteuid() != 0) {
        return "the end-to-end tests need root (they create network namespaces)";
    }
    if (Output("ip netns list >/dev/null && echo ok").find("ok") == std::string::npos) {
        return "the ip command cannot list network namespaces here";
    }
    return {};
}

Lab::Lab(const std::string& tag) : prefix_("e2e" + tag + std::to_string(getpid())) {
    char pattern[] = "/tmp/panoptix-e2e-XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
        state_root_ = pattern;
    }
}

Lab::~Lab() {
    if (up_) {
        DownAndCheck();
    }
    std::error_code ignored;
    std::filesystem::remove_all(state_root_, ignored);
}

std::string Lab::RunScript(const std::string& arguments, int& exit_code) const {
    const std::string command = "PANOPTIX_LAB=" + prefix_ +
                                " PANOPTIX_LAB_STATE=" + Quote(state_root_) + " " +
                                Quote(PANOPTIX_LAB_SCRIPT) + " " + arguments + " 2>&1";
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        exit_code = -1;
        return "popen failed";
    }
    char chunk[1024];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        text += chunk;
    }
    const int status = pclose(pipe);
    exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return text;
}

bool Lab::Up(const std::vector<std::string>& args, std::string& error) {
    std::string arguments = "up --devsim " + Quote(PANOPTIX_DEVSIM_PATH);
    for (const auto& arg : args) {
        arguments += " " + Quote(arg);
    }
    int exit_code = 0;
    const std::string output = RunScript(arguments, exit_code);
    up_ = true;  // whatever happened, down cleans up
    if (exit_code != 0) {
        error = output;
        return false;
    }
    const std::string state = state_root_ + "/" + prefix_;
    std::istringstream devices(ReadAll(state + "/devices.tsv"));
    std::string line;
    std::getline(devices, line);  // header
    while (std::getline(devices, line)) {
        const auto fields = Split(line, '\t');
        if (fields.size() >= 6) {
            devices_[fields[0]] = LabDevice{fields[0], fields[1], fields[3], fields[4], fields[5]};
        }
    }
    std::istringstream pids(ReadAll(state + "/pids"));
    pid_t pid = 0;
    std::string name;
    while (pids >> pid >> name) {
        pids_.push_back(pid);
    }
    return true;
}

std::string Lab::DownAndCheck() {
    int exit_code = 0;
    const std::string output = RunScript("down", exit_code);
    up_ = false;
    std::string left;
    if (exit_code != 0) {
        left += "scripts/lab down failed: " + output;
    }
    const std::string namespaces = Output("ip netns list");
    for (const auto& netns : Split(namespaces, '\n')) {
        if (netns.rfind(prefix_ + "-", 0) == 0) {
            left += "namespace left: " + netns + "\n";
        }
    }
    for (pid_t pid : pids_) {
        if (ProcessRuns(pid)) {
            left += "simulator still running: " + std::to_string(pid) + "\n";
        }
    }
    if (std::filesystem::exists(state_root_ + "/" + prefix_)) {
        left += "state folder left: " + state_root_ + "/" + prefix_ + "\n";
    }
    return left;
}

std::string Lab::Log(const std::string& name) const {
    return ReadAll(devices_.at(name).log);
}

std::string Lab::WaitForLog(const std::string& name, const std::string& text,
                            int timeout_ms) const {
    // The simulator writes each line at once; a line that is not there yet comes within
    // milliseconds. Sleep between looks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        std::string log = Log(name);
        if (log.find(text) != std::string::npos || std::chrono::steady_clock::now() > deadline) {
            return log;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string InNamespace(const std::string& netns, const std::function<void()>& body) {
    std::string error;
    std::thread worker([&] {
        const int fd = open(("/run/netns/" + netns).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || setns(fd, CLONE_NEWNET) != 0) {
            error = "cannot join namespace " + netns;
            if (fd >= 0) {
                close(fd);
            }
            return;
        }
        close(fd);
        body();
    });
    worker.join();
    return error;
}

std::string RootLinksOfLab(const std::string& prefix) {
    std::string lines;
    for (const auto& line : Split(Output("ip -o link show"), '\n')) {
        if (line.find(prefix + "-") != std::string::npos) {
            lines += line + "\n";
        }
    }
    return lines;
}

std::vector<pid_t> ChildProcesses() {
    // /proc/PID/stat: pid, (name), state, parent pid, ...; the name has no spaces here, and a
    // name with spaces only makes a line unreadable, never a false match.
    std::vector<pid_t> children;
    const pid_t self = getpid();
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::istringstream stat(ReadAll(entry.path().string() + "/stat"));
        std::string pid_text, command, state;
        pid_t parent = 0;
        if (stat >> pid_text >> command >> state >> parent && parent == self && state != "Z") {
            children.push_back(static_cast<pid_t>(std::stol(pid_text)));
        }
    }
    return children;
}

}  // namespace panoptix::e2e
