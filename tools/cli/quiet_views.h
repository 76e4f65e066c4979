#pragma once
// The views the device rules draw on, for a program that draws nothing: the pictures a rule
// chooses are let go, the state they follow is all that counts.
#include "matrix/core/matrix_views.h"
#include "quadview/core/quadview_view.h"

namespace panoptix::cli {

class QuietCrosspointView : public CrosspointView {
  public:
    void ShowInput(int, CrosspointPicture) override {}
    void ShowOutput(int, CrosspointPicture) override {}
};

class QuietQuadviewView : public QuadviewView {
  public:
    void ShowButtonPicture(int, int) override {}
    void ShowLampIcon(int, int) override {}
    void SelectListRow(int, int) override {}
    void EnableList(int, ListEnablement) override {}
    void RepaintPreview() override {}
    void SignalPollEnded() override {}
};

}  // namespace panoptix::cli
