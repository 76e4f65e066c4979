#pragma once
// Captures traces and operator messages for the duration of a test.
#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/operator_messages.h"
#include "link/trace.h"

namespace panoptix::testing {

class TraceCapture {
  public:
    TraceCapture() {
        SetTraceSink([this](std::string_view line) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line);
        });
    }
    ~TraceCapture() { SetTraceSink(nullptr); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    size_t Count(std::string_view line) const {
        const auto all = lines();
        return static_cast<size_t>(std::count(all.begin(), all.end(), line));
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

class MessageRecorder : public OperatorMessages {
  public:
    MessageRecorder() { SetOperatorMessages(this); }
    ~MessageRecorder() override { SetOperatorMessages(nullptr); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void ShowError(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

}  // namespace panoptix::testing
