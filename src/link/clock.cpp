#include "link/clock.h"

#include <chrono>
#include <thread>

namespace panoptix {

uint32_t TickMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SleepMs(uint32_t duration_ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(duration_ms));
}

uint32_t RemainingMs(uint32_t start_ms, uint32_t window_ms) {
    const uint32_t elapsed = TickMs() - start_ms;
    return elapsed >= window_ms ? 0 : window_ms - elapsed;
}

}  // namespace panoptix
