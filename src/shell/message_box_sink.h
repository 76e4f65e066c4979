#pragma once
// The program's operator messages: a modal box with the caption "Err" and OK/Cancel buttons,
// owned by no window. The answer is not used.
#include "link/operator_messages.h"

namespace panoptix {

class MessageBoxSink : public OperatorMessages {
  public:
    void ShowError(std::string_view text) override;
};

}  // namespace panoptix
