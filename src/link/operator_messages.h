#pragma once
// Operator-visible failures: a box with the caption "Err" and OK/Cancel buttons whose answer is
// never used. The program installs a sink that shows a message box; tests install one that
// records the text, so no test ever blocks on a modal box.
#include <string_view>

namespace panoptix {

class OperatorMessages {
  public:
    virtual ~OperatorMessages() = default;
    virtual void ShowError(std::string_view text) = 0;
};

// nullptr restores the default, which writes the text to standard error.
void SetOperatorMessages(OperatorMessages* sink);
void ShowErrorMessage(std::string_view text);

inline constexpr std::string_view kMessageChooseDevice = "Please choose a device";
inline constexpr std::string_view kMessageCreateSocket = "Create socket err";
inline constexpr std::string_view kMessageOpenSerialFirst = "Please open the serial port first!";
inline constexpr std::string_view kMessageNetworkingFailed = "WSAStartup failed with error\n";

}  // namespace panoptix
