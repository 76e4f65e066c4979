#pragma once
// What panoptix-cli's exit status tells a script.
namespace panoptix::cli {

enum class ExitCode : int {
    Done = 0,
    NoReply = 1,       // the device did not answer within its window
    BadArguments = 2,  // nothing was sent
    LinkError = 3,     // the serial port would not open, a socket would not bind
};

inline int AsInt(ExitCode code) {
    return static_cast<int>(code);
}

}  // namespace panoptix::cli
