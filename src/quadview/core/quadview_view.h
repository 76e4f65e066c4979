#pragma once
// What the quad-view rules do to the page's controls, so that the rules run without widgets:
// the page implements it, tests record it. Controls are named by their ids (qv_id).
namespace panoptix {

enum class ListEnablement { Disabled, Enabled };

class QuadviewView {
  public:
    virtual ~QuadviewView() = default;

    // A skinned button (layout buttons, loop button) shows a picture (qv_picture).
    virtual void ShowButtonPicture(int control_id, int picture_id) = 0;
    // A channel lamp shows an icon (qv_picture::kLampGreen or kLampRed).
    virtual void ShowLampIcon(int control_id, int icon_id) = 0;
    // A list selects a row, or none for kNoRow. Selections made here never run a list's rule.
    virtual void SelectListRow(int control_id, int row) = 0;
    virtual void EnableList(int control_id, ListEnablement enablement) = 0;
    // quad_preview_window changed: the preview is to be drawn again.
    virtual void RepaintPreview() = 0;
    // A pending signal poll ended by itself (answered or timed out) or was ended by another
    // use of the socket: stop watching the socket and its deadline. Called while the socket is
    // still open. Not called when the page ends the poll itself (EndSignalPoll, destruction).
    virtual void SignalPollEnded() = 0;
};

}  // namespace panoptix
