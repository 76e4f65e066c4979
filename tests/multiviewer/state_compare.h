#pragma once
// Compares two multiviewer states member by member (all but the repaint callback) and names
// the members that differ.
#include <gtest/gtest.h>

#include <string>

#include "multiviewer/core/multiviewer_state.h"

namespace panoptix::testing {

inline bool operator==(const NetworkAddress& a, const NetworkAddress& b) {
    return std::equal(a.ip, a.ip + 4, b.ip) && std::equal(a.mask, a.mask + 4, b.mask) &&
           std::equal(a.gateway, a.gateway + 4, b.gateway);
}

inline ::testing::AssertionResult SameState(const MultiviewerState& a, const MultiviewerState& b) {
    std::string differ;
    auto check = [&differ](bool same, const char* name) {
        if (!same) {
            differ += std::string(differ.empty() ? "" : ", ") + name;
        }
    };
    check(a.m_all_16_view_page_data == b.m_all_16_view_page_data, "m_all_16_view_page_data");
    check(a.m_cur_window_count == b.m_cur_window_count, "m_cur_window_count");
    check(a.window_source == b.window_source, "window_source");
    check(a.umd_name == b.umd_name, "umd_name");
    check(a.audio_meter_shown == b.audio_meter_shown, "audio_meter_shown");
    check(a.umd_shown == b.umd_shown, "umd_shown");
    check(a.resolution_shown == b.resolution_shown, "resolution_shown");
    check(a.source_window_index == b.source_window_index, "source_window_index");
    check(a.new_network_address == b.new_network_address, "new_network_address");
    check(a.m_status_query_done == b.m_status_query_done, "m_status_query_done");
    check(a.preview_window == b.preview_window, "preview_window");
    check(a.audio_bar == b.audio_bar, "audio_bar");
    check(a.umd_bar == b.umd_bar, "umd_bar");
    check(a.resolution_bar == b.resolution_bar, "resolution_bar");
    check(a.umd_bar_color == b.umd_bar_color, "umd_bar_color");
    check(a.resolution_bar_color == b.resolution_bar_color, "resolution_bar_color");
    if (differ.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "members differ: " << differ;
}

}  // namespace panoptix::testing
