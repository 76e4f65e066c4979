#pragma once
// Test recorders for the two outputs that have no other observable effect: the traces and the
// operator's "Err" boxes. Each installs itself while it lives.
#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/operator_messages.h"
#include "link/trace.h"

namespace panoptix::testing_support {

// Collects every trace line while it lives.
class TraceRecorder {
  public:
    TraceRecorder() {
        SetTraceSink([this](std::string_view line) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line);
        });
    }
    ~TraceRecorder() { SetTraceSink(nullptr); }
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    // How many lines equal line exactly.
    size_t Count(std::string_view line) const {
        const auto all = lines();
        return static_cast<size_t>(std::count(all.begin(), all.end(), line));
    }
    size_t CountStartingWith(std::string_view prefix) const {
        const auto all = lines();
        return static_cast<size_t>(std::count_if(
            all.begin(), all.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Records the operator's "Err" boxes instead of showing them.
class MessageRecorder : public OperatorMessages {
  public:
    MessageRecorder() { SetOperatorMessages(this); }
    ~MessageRecorder() override { SetOperatorMessages(nullptr); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void ShowError(std::string_view text) override { texts.emplace_back(text); }
    std::vector<std::string> texts;
};

}  // namespace panoptix::testing_support
