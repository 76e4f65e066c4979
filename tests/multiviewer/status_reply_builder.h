#pragma once
// Builds multiviewer status replies (command 0x32) for the tests: a complete 669-byte frame
// whose fields are set by their offsets from the frame's first byte.
#include <cstdint>
#include <string>
#include <vector>

#include "link/command_frame.h"
#include "multiviewer/core/status_decoder.h"

namespace panoptix::testing {

class StatusReplyBuilder {
  public:
    StatusReplyBuilder() : payload_(status_reply::kFullLength - kFrameOverhead, 0) {}

    // Sets the byte at a frame offset (18 and above).
    StatusReplyBuilder& Set(size_t frame_offset, uint8_t value) {
        payload_.at(frame_offset - kFramePayloadOffset) = value;
        return *this;
    }

    // A UMD slot: length byte L, then the given text bytes (at most 32 fit in a slot).
    StatusReplyBuilder& Umd(size_t slot, uint8_t length, const std::vector<uint8_t>& text) {
        const size_t at = status_reply::kUmdSlots + status_reply::kUmdSlotSize * slot;
        Set(at, length);
        for (size_t i = 0; i < text.size() && i < status_reply::kUmdTextMaxBytes; ++i) {
            Set(at + 1 + i, text[i]);
        }
        return *this;
    }

    // A label as UTF-16LE with its exact byte count.
    StatusReplyBuilder& Label(size_t slot, const std::u16string& text) {
        std::vector<uint8_t> bytes;
        for (char16_t unit : text) {
            bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<uint8_t>(unit >> 8));
        }
        return Umd(slot, static_cast<uint8_t>(bytes.size()), bytes);
    }

    std::vector<uint8_t> Frame(uint8_t device_type = 0xA1, uint8_t device_address = 0x07,
                               LinkByte link = LinkByte::Udp) const {
        std::vector<uint8_t> frame(status_reply::kFullLength);
        BuildFrameWithDeviceBytes(device_type, device_address, link, 0x32, payload_, frame);
        return frame;
    }

  private:
    std::vector<uint8_t> payload_;
};

// A reply in which every field holds a recognisable, valid value: layout 9, resolution code 13
// (index 5), labels on with audio enable 2, sixteen labels "W1".."W16", inputs 16 down to 1,
// border and lock on, colour byte i holding i mod 16.
inline StatusReplyBuilder RichReply() {
    StatusReplyBuilder reply;
    reply.Set(status_reply::kLayoutCode, 9)
        .Set(status_reply::kResolutionCode, 13)
        .Set(status_reply::kUmdEnable, 1)
        .Set(status_reply::kAudioEnable, 2)
        .Set(status_reply::kAudioSource, 5)
        .Set(status_reply::kResolutionEnable, 1)
        .Set(status_reply::kBorderEnable, 1)
        .Set(status_reply::kLockState, 1);
    for (size_t window = 0; window < 16; ++window) {
        const std::string digits = std::to_string(window + 1);
        reply.Label(window, u"W" + std::u16string(digits.begin(), digits.end()));
        reply.Set(status_reply::kWindowSources + window, static_cast<uint8_t>(16 - window));
    }
    for (size_t i = 0; i < 64; ++i) {
        reply.Set(status_reply::kColors + i, static_cast<uint8_t>(i % 16));
    }
    return reply;
}

}  // namespace panoptix::testing
