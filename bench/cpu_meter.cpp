#include "cpu_meter.h"

#include <sys/resource.h>
#include <time.h>

#include <cstdio>

namespace panoptix::bench {
namespace {

double WallMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Ms(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

rusage Usage() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage;
}

}  // namespace

CpuMeter::CpuMeter() {
    const rusage usage = Usage();
    user_start_ms_ = Ms(usage.ru_utime);
    system_start_ms_ = Ms(usage.ru_stime);
    wall_start_ms_ = WallMs();
}

CpuSample CpuMeter::Stop() const {
    const double wall_end_ms = WallMs();
    const rusage usage = Usage();
    return CpuSample{wall_end_ms - wall_start_ms_, Ms(usage.ru_utime) - user_start_ms_,
                     Ms(usage.ru_stime) - system_start_ms_};
}

std::string Describe(const std::string& name, const CpuSample& sample, const std::string& note) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "%-38s wall %8.1f ms  cpu %7.1f ms (user %6.1f + sys %6.1f) = %6.2f %%  %s",
                  (name + ":").c_str(), sample.wall_ms, sample.cpu_ms(), sample.user_ms,
                  sample.system_ms, sample.percent(), note.c_str());
    return line;
}

}  // namespace panoptix::bench
