#include "switcher/core/stream_viewer.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "link/operator_messages.h"
#include "link/trace_events.h"
#include "switcher/core/ini_text.h"

namespace panoptix {
namespace {

// The file's bytes, or nothing when it cannot be read (a missing file among them).
std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

StreamViewerLaunch ReportFailure(const std::string& companion) {
    trace::CannotStart(companion.c_str());
    ShowErrorMessage(kMessageCannotStartStreamViewer);
    return StreamViewerLaunch::Failed;
}

}  // namespace

StreamViewerLaunch LaunchStreamViewerIn(const std::string& folder) {
    trace::Text(folder.c_str());
    const std::string ini = folder + "/" + std::string(kStreamViewerIni);
    const std::string companion = folder + "/" + std::string(kStreamViewerProgram);
    const std::optional<std::string> before = ReadFile(ini);
    const std::string value =
        ReadIniValue(before.value_or(std::string()), kStreamViewerSection, kStreamViewerKey);

    if (value == kStreamViewerOpen) {
        if (IsProgramRunning(companion)) {
            trace::DecodePageHaveOpen();
            return StreamViewerLaunch::AlreadyOpen;
        }
        // The key says open but no copy runs (it was closed, or the machine restarted).
        return StartDetached(companion) ? StreamViewerLaunch::Started : ReportFailure(companion);
    }

    // A failed write goes unreported; the companion is started all the same.
    WriteFile(ini, WriteIniValue(before.value_or(std::string()), kStreamViewerSection,
                                 kStreamViewerKey, kStreamViewerOpen));
    if (StartDetached(companion)) {
        return StreamViewerLaunch::Started;
    }
    if (before) {
        WriteFile(ini, *before);
    } else {
        std::remove(ini.c_str());
    }
    return ReportFailure(companion);
}

StreamViewerLaunch LaunchStreamViewer() {
    const std::optional<std::string> folder = ProgramFolder();
    if (!folder) {
        return ReportFailure(std::string(kStreamViewerProgram));
    }
    return LaunchStreamViewerIn(*folder);
}

}  // namespace panoptix
