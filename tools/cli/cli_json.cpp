#include "cli_json.h"

#include "multiviewer/core/color_table.h"
#include "multiviewer/core/multiviewer_tables.h"
#include "quadview/core/quadview_decoder.h"
#include "quadview/core/quadview_tables.h"
#include "utf_text.h"

namespace panoptix::cli {
namespace {

using nlohmann::json;

// A colour by its name, or its code when the table has none.
json Colour(uint8_t code) {
    if (code < kColorTable.size()) {
        return std::string(kColorTable[code].name);
    }
    return code;
}

bool On(uint8_t value) {
    return value != 0;
}

}  // namespace

json DeviceJson(const FoundDevice& device) {
    json object;
    object["model"] = device.model;
    object["address"] = device.address;
    object["type"] = device.type;
    object["device_address"] = device.device_address ? json(*device.device_address) : json(nullptr);
    object["kind"] = std::string(KindName(device.kind));
    return object;
}

json MultiviewerStatusJson(const Session& session) {
    const MultiviewerState& mv = session.multiviewer;
    const All16ViewPageData& block = mv.m_all_16_view_page_data;
    json object;
    object["kind"] = "multiviewer";
    object["address"] = session.where();
    object["layout"] = mv.m_cur_window_count;
    const std::string_view resolution = ResolutionText(block.resolution_type);
    object["resolution"] = resolution.empty() ? json(nullptr) : json(std::string(resolution));
    object["umd_labels"] = On(block.umd_enable);
    object["resolution_labels"] = On(block.resolution_enable);
    object["audio"] = {{"meters", On(block.audio_enable)}, {"source", block.audio_source}};
    object["border"] = On(block.border_enable);
    object["lock"] = On(block.lock_state);
    json windows = json::array();
    for (size_t k = 0; k < kMultiviewerWindows; ++k) {
        windows.push_back({
            {"window", k + 1},
            {"source", mv.window_source[k]},
            {"label", Utf16ToUtf8(mv.umd_name[k])},
            {"umd_text_colour", Colour(block.umd_text_color[k])},
            {"umd_back_colour", Colour(block.umd_back_color[k])},
            {"resolution_text_colour", Colour(block.resolution_text_color[k])},
            {"resolution_back_colour", Colour(block.resolution_back_color[k])},
        });
    }
    object["windows"] = windows;
    return object;
}

json QuadviewStatusJson(const Session& session) {
    const AllKv2718PageData& block = session.quadview.m_all_kv2718_page_data;
    json object;
    object["kind"] = "quadview";
    object["address"] = session.where();
    object["show_mode"] = block.show_mode;
    json format = block.output_format;
    if (const auto row = OutputFormatRowOfCode(block.output_format)) {
        format = std::string(kOutputFormatTable[static_cast<size_t>(*row)].text);
    }
    object["output_format"] = format;
    object["pip_children"] = {block.kora_kv2718_pip_child_ch[0], block.kora_kv2718_pip_child_ch[1]};
    object["loop"] = On(block.loop_state);
    json signal = json::array();
    for (const uint8_t lamp : block.signal_lamp) {
        signal.push_back(lamp == 1);
    }
    object["signal"] = signal;
    // The status reply gives each UMD line's name length only; the texts are not read.
    json labels = json::array();
    for (size_t line = 0; line < session.quadview.umd_name_length.size(); ++line) {
        const uint8_t length = session.quadview.umd_name_length[line];
        labels.push_back({{"line", line + 1},
                          {"name_length", length},
                          {"valid", length <= quad_reply::kLabelMax}});
    }
    object["labels"] = labels;
    return object;
}

}  // namespace panoptix::cli
