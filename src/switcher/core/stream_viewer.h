#pragma once
// The STREAM ON button: starts the companion decoder "Streamlet.exe" from the folder of the
// running program, and records in "Configure.ini" beside it (section "Settings", key
// "decode_state") that the decoder is open ("on"), so that a second press starts no second
// copy. A press that finds "on" while no process of that file runs starts it again. A launch
// that fails puts the file back as it was and tells the operator. Nothing is sent to the
// switcher and the block is not touched.
#include <optional>
#include <string>
#include <string_view>

namespace panoptix {

inline constexpr std::string_view kStreamViewerIni = "Configure.ini";
inline constexpr std::string_view kStreamViewerProgram = "Streamlet.exe";
inline constexpr std::string_view kStreamViewerSection = "Settings";
inline constexpr std::string_view kStreamViewerKey = "decode_state";
inline constexpr std::string_view kStreamViewerOpen = "on";
inline constexpr std::string_view kMessageCannotStartStreamViewer = "Cannot start Streamlet.exe";

enum class StreamViewerLaunch {
    AlreadyOpen,  // "on" and a copy runs: nothing done
    Started,
    Failed,  // the companion could not be started; the settings file is as it was
};

// The button's handler: the folder of the running program.
StreamViewerLaunch LaunchStreamViewer();
// The same with the folder given (no trailing separator).
StreamViewerLaunch LaunchStreamViewerIn(const std::string& folder);

// Platform parts (process_*_posix / *_linux files).
// The folder of the running executable, without a trailing separator; any length.
std::optional<std::string> ProgramFolder();
// Whether a process runs this file, as its executable or as the script an interpreter runs.
bool IsProgramRunning(const std::string& path);
// Starts path with no arguments, detached from this program, without a shell.
bool StartDetached(const std::string& path);

}  // namespace panoptix
