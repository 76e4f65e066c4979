#pragma once
// The one millisecond tick and the one sleep of the system. Windows are measured as unsigned
// differences of ticks, so a wrap of the counter does not break a wait.
#include <cstdint>

namespace panoptix {

uint32_t TickMs();
void SleepMs(uint32_t duration_ms);

// Milliseconds left of a window that started at start_ms, 0 once it has passed.
uint32_t RemainingMs(uint32_t start_ms, uint32_t window_ms);

}  // namespace panoptix
