// multiviewer-status-probe IP [LOCAL_PORT]: asks the multiviewer at IP for its status (0x32)
// the way the panel does, and prints what the reply holds, one "key=value" line each. Exit 1
// when no reply came. The end-to-end test reads a device's state back with it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "link/device_link.h"
#include "link/trace.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer/core/status_query.h"

namespace {

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (const char16_t unit : text) {
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else if (unit < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (unit >> 6)));
            out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
            out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: multiviewer-status-probe IP [LOCAL_PORT]\n");
        return 2;
    }
    panoptix::SetTraceSink([](std::string_view) {});  // the query's traces are not the output
    panoptix::DeviceLink link;
    link.device_table[0].SetIpText(argv[1]);
    link.device_table[0].device_type = panoptix::device_type::kMultiviewer;
    link.m_device_index = 0;
    link.endpoints.local_port = static_cast<uint16_t>(argc > 2 ? std::atoi(argv[2]) : 7001);

    panoptix::MultiviewerState mv;
    mv.m_cur_window_count = 0;  // the decoder always sets it: 0 afterwards means no reply
    panoptix::QueryStatusOverLan(link, mv);
    if (mv.m_cur_window_count == 0) {
        std::fprintf(stderr, "no status reply from %s\n", argv[1]);
        return 1;
    }
    const panoptix::All16ViewPageData& block = mv.m_all_16_view_page_data;
    std::printf("windows=%d\n", mv.m_cur_window_count);
    std::printf("view_mode_type=%d\n", block.view_mode_type);
    std::printf("umd_enable=%d\n", block.umd_enable);
    for (size_t k = 0; k < mv.umd_name.size(); ++k) {
        std::printf("label.%zu=%s\n", k + 1, Utf8(mv.umd_name[k]).c_str());
        std::printf("source.%zu=%d\n", k + 1, mv.window_source[k]);
    }
    return 0;
}
