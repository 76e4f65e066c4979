#pragma once
// CPU time (user + system, all threads of the process, from getrusage) against wall time over
// one measured stretch.
#include <cstdint>
#include <string>

namespace panoptix::bench {

struct CpuSample {
    double wall_ms = 0;
    double user_ms = 0;
    double system_ms = 0;

    double cpu_ms() const { return user_ms + system_ms; }
    // CPU time as a share of wall time, in percent.
    double percent() const { return wall_ms > 0 ? 100.0 * cpu_ms() / wall_ms : 0; }
};

class CpuMeter {
  public:
    CpuMeter();  // starts measuring
    CpuSample Stop() const;

  private:
    double wall_start_ms_;
    double user_start_ms_;
    double system_start_ms_;
};

// "name: wall 2001.3 ms, cpu 1.2 ms (user 0.4 + sys 0.8) = 0.06 %  note"
std::string Describe(const std::string& name, const CpuSample& sample, const std::string& note);

}  // namespace panoptix::bench
