#pragma once
// A probe for the soak runs that drive the real panel with random operator input. When
// PANOPTIX_LIVENESS_PROBE names a folder, the panel reads requests from the FIFO "ask" in it
// (one number a line, made by the driver before the panel starts) and, each time its event loop
// gets to one, answers in the file "answer" (written whole, then renamed into place): the
// number, then one line per visible window and per visible, enabled control, in screen
// coordinates (with a list's entries), then the id of the control with the keyboard focus
// ("focus\tID", 0 for none or a widget without an id). A request "N quit" also ends the
// application. How long an answer takes is how long the event loop was held up. When the
// variable is not set nothing is installed.
class QObject;

namespace panoptix {

void InstallLivenessProbe(QObject* owner);

}  // namespace panoptix
