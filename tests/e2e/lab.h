#pragma once
// A lab for the end-to-end tests: scripts/lab brings up network namespaces with simulated
// devices under a prefix of its own; the panel's side of a test runs in a thread that has
// joined the panel's namespace. Down removes the lab and checks that nothing is left.
#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace panoptix::e2e {

// Why the end-to-end tests cannot run here (not root, no ip command), or empty.
std::string MissingPrerequisite();

struct LabDevice {
    std::string name;  // MV1, SW1, SIM007, ...
    std::string kind;
    std::string address;
    std::string tty;  // pseudo-terminal link, empty without one
    std::string log;
};

class Lab {
  public:
    // tag distinguishes labs of one test process; the prefix also carries the process id.
    explicit Lab(const std::string& tag);
    ~Lab();
    Lab(const Lab&) = delete;
    Lab& operator=(const Lab&) = delete;

    // scripts/lab up with these arguments (the simulator's path is added). False with the
    // script's output in error.
    bool Up(const std::vector<std::string>& args, std::string& error);
    // scripts/lab down, then checks that no namespace of the lab is left and that the
    // simulators it started have ended. Returns what is left over, empty when nothing.
    std::string DownAndCheck();

    const std::string& Prefix() const { return prefix_; }
    std::string PanelNamespace() const { return prefix_ + "-panel"; }
    const std::map<std::string, LabDevice>& Devices() const { return devices_; }
    const LabDevice& Device(const std::string& name) const { return devices_.at(name); }
    const std::vector<pid_t>& SimulatorPids() const { return pids_; }

    // The device's log as written so far.
    std::string Log(const std::string& name) const;
    // Sleeps until the device's log holds text (up to timeout_ms); the log either way.
    std::string WaitForLog(const std::string& name, const std::string& text,
                           int timeout_ms = 3000) const;

  private:
    std::string RunScript(const std::string& arguments, int& exit_code) const;

    std::string prefix_;
    std::string state_root_;
    bool up_ = false;
    std::map<std::string, LabDevice> devices_;
    std::vector<pid_t> pids_;
};

// Runs body in a new thread that has joined the named network namespace; sockets it opens
// live there. Returns an error text when the namespace cannot be joined, else empty.
std::string InNamespace(const std::string& netns, const std::function<void()>& body);

// Lines of `ip -o link` in the machine's own namespace that mention the lab.
std::string RootLinksOfLab(const std::string& prefix);

// Child processes of this test process that are still there.
std::vector<pid_t> ChildProcesses();

}  // namespace panoptix::e2e
