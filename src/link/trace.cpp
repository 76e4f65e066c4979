#include "link/trace.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace panoptix {
namespace {

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

TraceSink& Sink() {
    static TraceSink sink;
    return sink;
}

}  // namespace

void Trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) {
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);

    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(text);
    } else {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
}

void SetTraceSink(TraceSink sink) {
    std::lock_guard lock(SinkMutex());
    Sink() = std::move(sink);
}

}  // namespace panoptix
