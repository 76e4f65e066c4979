#include "netns_lab.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <sstream>

namespace panoptix::testing_support {
namespace {

constexpr char kPanelMac[] = "02:00:00:00:00:01";

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Feeds commands to one `ip -n <netns> -batch -`.
bool RunBatch(const std::string& netns, const std::vector<std::string>& commands) {
    const std::string invocation = "ip -n " + netns + " -batch - >/dev/null 2>&1";
    FILE* pipe = ::popen(invocation.c_str(), "w");
    if (pipe == nullptr) {
        return false;
    }
    for (const auto& command : commands) {
        std::fprintf(pipe, "%s\n", command.c_str());
    }
    return ::pclose(pipe) == 0;
}

std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return text;
    }
    char chunk[512];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        text += chunk;
    }
    ::pclose(pipe);
    return text;
}

// A link is only usable once the kernel has noticed its carrier and given it a real queue:
// until then whatever it is asked to send is silently dropped.
bool LinkUsable(const std::string& netns, const std::string& link) {
    const std::string line = Output("ip -n " + netns + " -o link show dev " + link);
    return line.find("state UP") != std::string::npos &&
           line.find("qdisc noop") == std::string::npos;
}

bool WaitUntilUsable(const std::vector<std::pair<std::string, std::string>>& links) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        bool all_usable = true;
        for (const auto& [netns, link] : links) {
            all_usable = all_usable && LinkUsable(netns, link);
        }
        if (all_usable) {
            return true;
        }
        ::usleep(10 * 1000);
    }
    return false;
}

ino_t NetnsInode(const char* path) {
    struct stat info {};
    return ::stat(path, &info) == 0 ? info.st_ino : 0;
}

}  // namespace

NetnsLab::NetnsLab(const std::string& prefix)
    : panel_(prefix + "-panel"), devices_(prefix + "-dev") {}

NetnsLab::~NetnsLab() {
    Run("ip netns del " + panel_);
    Run("ip netns del " + devices_);
}

std::unique_ptr<NetnsLab> NetnsLab::Create(const std::string& prefix,
                                           const std::vector<std::string>& device_ips,
                                           std::string& error) {
    std::unique_ptr<NetnsLab> lab(new NetnsLab(prefix));
    if (!Run("ip netns add " + lab->panel_) || !Run("ip netns add " + lab->devices_)) {
        error = "ip netns add failed";
        return nullptr;  // the destructor removes whichever was made
    }
    // Both ends are created inside the namespaces: nothing appears on the host.
    if (!Run("ip -n " + lab->panel_ + " link add v0 address " + kPanelMac +
             " type veth peer name v1 netns " + lab->devices_)) {
        error = "veth pair could not be created";
        return nullptr;
    }
    std::vector<std::string> device_side = {
        "link add br0 type bridge", "link set v1 master br0", "link set v1 up", "link set br0 up",
        "link set lo up",
        // The panel's address is known up front, so replies need not wait for ARP.
        std::string("neigh add ") + kPanelIp + " lladdr " + kPanelMac + " dev br0 nud permanent"};
    for (const auto& ip : device_ips) {
        device_side.push_back("addr add " + ip + "/24 dev br0");
    }
    if (!RunBatch(lab->devices_, device_side)) {
        error = "device namespace could not be set up";
        return nullptr;
    }
    // The limited broadcast 255.255.255.255 needs a route; it leaves through the veth.
    if (!RunBatch(lab->panel_, {std::string("addr add ") + kPanelIp + "/24 dev v0",
                                "link set v0 up", "link set lo up", "route add default dev v0"})) {
        error = "panel namespace could not be set up";
        return nullptr;
    }
    if (!WaitUntilUsable({{lab->panel_, "v0"}, {lab->devices_, "v1"}, {lab->devices_, "br0"}})) {
        error = "the lab's links did not come up within 5 s";
        return nullptr;
    }
    return lab;
}

bool RunInNetns(const std::string& name, const std::function<void()>& fn) {
    const ino_t host_netns = NetnsInode("/proc/thread-self/ns/net");
    bool joined = false;
    std::thread worker([&] {
        const int handle = ::open(("/var/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        if (handle < 0) {
            return;
        }
        joined = ::setns(handle, CLONE_NEWNET) == 0;
        ::close(handle);
        joined = joined && host_netns != 0 && NetnsInode("/proc/thread-self/ns/net") != host_netns;
        if (joined) {
            fn();
        }
    });
    worker.join();
    return joined;
}

std::vector<std::string> NamespacesStartingWith(const std::string& prefix) {
    std::vector<std::string> names;
    FILE* pipe = ::popen("ip netns list 2>/dev/null", "r");
    if (pipe == nullptr) {
        return names;
    }
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream words(line);
        std::string name;
        if (words >> name && name.starts_with(prefix)) {
            names.push_back(name);
        }
    }
    ::pclose(pipe);
    return names;
}

DeviceResponder::DeviceResponder(const std::string& netns, uint16_t port,
                                 std::vector<SimulatedDevice> devices)
    : devices_(std::move(devices)) {
    if (::pipe2(stop_pipe_, O_CLOEXEC) != 0) {
        return;
    }
    // Shared, so the promise outlives whichever thread touches it last.
    auto started = std::make_shared<std::promise<bool>>();
    auto started_future = started->get_future();
    thread_ = std::thread([this, netns, port, started] {
        bool ran = false;
        RunInNetns(netns, [&] {
            ran = true;
            // Hears the broadcast on any address; answers from a socket bound to each device's
            // own address, as separate devices would.
            UdpPeer listener("0.0.0.0", port, UdpPeer::Reuse::Yes);
            std::vector<std::unique_ptr<UdpPeer>> senders;
            bool all_bound = listener.valid();
            for (const auto& device : devices_) {
                senders.push_back(std::make_unique<UdpPeer>(device.ip, port, UdpPeer::Reuse::Yes));
                all_bound = all_bound && senders.back()->valid();
            }
            started->set_value(all_bound);
            if (!all_bound) {
                return;
            }
            for (;;) {
                pollfd entries[2] = {{listener.fd(), POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
                if (::poll(entries, 2, -1) < 0 || entries[1].revents != 0) {
                    return;
                }
                auto request = listener.Receive(0);
                if (!request) {
                    continue;
                }
                for (size_t i = 0; i < devices_.size(); ++i) {
                    senders[i]->SendTo(request->sender_ip, request->sender_port, devices_[i].reply);
                }
                std::lock_guard lock(mutex_);
                requests_.push_back(std::move(*request));
            }
        });
        if (!ran) {
            started->set_value(false);
        }
    });
    ready_ = started_future.get();
}

DeviceResponder::~DeviceResponder() {
    if (stop_pipe_[1] >= 0) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_pipe_[1], &stop, 1);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    for (const int handle : stop_pipe_) {
        if (handle >= 0) {
            ::close(handle);
        }
    }
}

std::vector<Request> DeviceResponder::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace panoptix::testing_support
