#pragma once
// A small LAN inside network namespaces that the test creates and removes itself: a panel
// namespace (192.0.2.1) and a device namespace whose bridge carries every device address,
// joined by a veth pair. Broadcasts sent in the panel namespace stay inside this LAN.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix::testing_support {

inline constexpr char kPanelIp[] = "192.0.2.1";

class NetnsLab {
  public:
    // Creates the namespaces "<prefix>-panel" and "<prefix>-dev" with the device addresses on
    // the bridge. On failure returns nullptr with the reason in error (nothing is left behind).
    static std::unique_ptr<NetnsLab> Create(const std::string& prefix,
                                            const std::vector<std::string>& device_ips,
                                            std::string& error);
    ~NetnsLab();  // removes both namespaces
    NetnsLab(const NetnsLab&) = delete;
    NetnsLab& operator=(const NetnsLab&) = delete;

    const std::string& panel() const { return panel_; }
    const std::string& devices() const { return devices_; }

  private:
    explicit NetnsLab(const std::string& prefix);
    std::string panel_;
    std::string devices_;
};

// Runs fn on a fresh thread that has joined the named namespace, and waits for it. Returns
// false without running fn when the thread could not join it (or found itself still in the
// namespace the test started in), so nothing meant for the lab ever runs on the host's network.
bool RunInNetns(const std::string& name, const std::function<void()>& fn);

// Names from `ip netns list` that start with prefix.
std::vector<std::string> NamespacesStartingWith(const std::string& prefix);

// The devices of the lab: each answers a search request from its own address with its reply.
struct SimulatedDevice {
    std::string ip;
    std::vector<uint8_t> reply;
};

class DeviceResponder {
  public:
    // Listens on port in the named namespace (a thread that joined it). ready() says whether
    // every socket could be set up.
    DeviceResponder(const std::string& netns, uint16_t port, std::vector<SimulatedDevice> devices);
    ~DeviceResponder();
    DeviceResponder(const DeviceResponder&) = delete;
    DeviceResponder& operator=(const DeviceResponder&) = delete;

    bool ready() const { return ready_; }
    std::vector<Request> requests() const;

  private:
    void Serve(const std::string& netns, uint16_t port);

    std::vector<SimulatedDevice> devices_;
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
    int stop_pipe_[2] = {-1, -1};
    bool ready_ = false;
    std::thread thread_;
};

}  // namespace panoptix::testing_support
