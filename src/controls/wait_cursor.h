#pragma once
// Shows the wait cursor while the window blocks on a device (a search, a query, a page that
// queries as it opens), and puts the previous cursor back when the scope ends.
//
// A wait dispatches no event: input that arrives while it lasts stays queued and is handled
// after it, in order, each click by itself. So the cursor change is not passed on by running
// the event loop; it is written straight to the window system's connection instead.

namespace panoptix {

class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Sends whatever the window system connection holds (a cursor change, a repaint just drawn)
// to the display server at once, without reading or dispatching any event.
void FlushWindowSystem();

}  // namespace panoptix
