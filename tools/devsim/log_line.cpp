#include "log_line.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace panoptix::devsim {

void WriteLogLine(std::string_view who, std::string_view what) {
    timeval now{};
    gettimeofday(&now, nullptr);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<long>(now.tv_usec / 1000));
    std::string line = stamp;
    line += ' ';
    line += who;
    line += ' ';
    line += what;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

}  // namespace panoptix::devsim
