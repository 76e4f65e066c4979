#include "multiviewer/core/status_decoder.h"

#include <array>
#include <optional>
#include <string>

#include "link/byte_reader.h"
#include "link/trace_events.h"
#include "multiviewer/core/multiviewer_tables.h"

namespace panoptix {
namespace {

// UTF-16 code units, low byte first, ending early at a zero unit; an odd last byte forms a
// unit with a high byte of 0.
std::u16string DecodeUtf16Le(std::span<const uint8_t> bytes) {
    std::u16string text;
    for (size_t at = 0; at < bytes.size(); at += 2) {
        const uint8_t high = at + 1 < bytes.size() ? bytes[at + 1] : 0;
        const auto unit = static_cast<char16_t>(bytes[at] | (high << 8));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

// An enable byte is stored as it came; its shown-flag is 1 for anything but 0.
void StoreEnable(std::optional<uint8_t> byte, uint8_t& enable, int32_t& shown) {
    if (byte) {
        enable = *byte;
        shown = *byte != 0 ? 1 : 0;
    }
}

void StoreByte(std::optional<uint8_t> byte, uint8_t& field) {
    if (byte) {
        field = *byte;
    }
}

void DecodeLayoutAndResolution(MultiviewerState& state, const ByteReader& reader, bool tracing) {
    auto& block = state.m_all_16_view_page_data;
    if (const auto code = reader.ByteAt(status_reply::kLayoutCode)) {
        const auto index = LayoutIndexOfCode(*code);
        state.m_cur_window_count = index ? static_cast<int8_t>(*code) : int8_t{1};
        if (tracing) {
            trace::StatusWindowCount(state.m_cur_window_count);
        }
        if (index) {
            block.view_mode_type = *index;
        }
    }
    if (const auto code = reader.ByteAt(status_reply::kResolutionCode)) {
        if (const auto index = ResolutionIndexOfCode(*code)) {
            block.resolution_type = *index;
        }
    }
}

void DecodeEnables(MultiviewerState& state, const ByteReader& reader, bool tracing) {
    auto& block = state.m_all_16_view_page_data;
    // The header traces report bytes 18-23 and are written only when the frame holds them all.
    const auto header = reader.BytesAt(status_reply::kLayoutCode, 6);
    if (tracing && header) {
        trace::AudioSource((*header)[4]);
        trace::StatusModeAndResolution(block.view_mode_type, block.resolution_type);
    }
    StoreEnable(reader.ByteAt(status_reply::kUmdEnable), block.umd_enable, state.umd_shown);
    StoreEnable(reader.ByteAt(status_reply::kAudioEnable), block.audio_enable,
                state.audio_meter_shown);
    StoreByte(reader.ByteAt(status_reply::kAudioSource), block.audio_source);
    StoreEnable(reader.ByteAt(status_reply::kResolutionEnable), block.resolution_enable,
                state.resolution_shown);
    if (tracing && header) {
        trace::UmdEnableAudioEnableAudioSource((*header)[2], (*header)[3], (*header)[4],
                                               (*header)[5]);
    }
}

void DecodeUmdNames(MultiviewerState& state, const ByteReader& reader, bool tracing) {
    for (size_t slot = 0; slot < kMultiviewerWindows; ++slot) {
        const size_t slot_at = status_reply::kUmdSlots + status_reply::kUmdSlotSize * slot;
        const auto length = reader.ByteAt(slot_at);
        if (!length) {
            return;  // the frame ends before this slot, and so before every later one
        }
        if (tracing) {
            trace::UmdNameLength(static_cast<int>(slot), *length);
        }
        if (*length > status_reply::kUmdTextMaxBytes) {
            continue;  // not a valid label: the window keeps its old one
        }
        if (const auto text = reader.BytesAt(slot_at + 1, *length)) {
            state.umd_name[slot] = DecodeUtf16Le(*text);
        }
    }
}

void DecodeSourcesAndColors(MultiviewerState& state, const ByteReader& reader) {
    auto& block = state.m_all_16_view_page_data;
    for (size_t window = 0; window < kMultiviewerWindows; ++window) {
        StoreByte(reader.ByteAt(status_reply::kWindowSources + window),
                  state.window_source[window]);
    }
    StoreByte(reader.ByteAt(status_reply::kBorderEnable), block.border_enable);
    StoreByte(reader.ByteAt(status_reply::kLockState), block.lock_state);

    const std::array<std::array<uint8_t, kMultiviewerWindows>*, 4> color_fields{
        &block.umd_text_color, &block.umd_back_color, &block.resolution_text_color,
        &block.resolution_back_color};
    size_t offset = status_reply::kColors;
    for (auto* field : color_fields) {
        for (uint8_t& code : *field) {
            StoreByte(reader.ByteAt(offset++), code);
        }
    }
}

}  // namespace

void DecodeStatusReply(MultiviewerState& state, std::span<const uint8_t> frame,
                       DecodeTraces traces) {
    const ByteReader reader(frame);
    const bool tracing = traces == DecodeTraces::On;
    DecodeLayoutAndResolution(state, reader, tracing);
    DecodeEnables(state, reader, tracing);
    DecodeUmdNames(state, reader, tracing);
    DecodeSourcesAndColors(state, reader);
}

}  // namespace panoptix
