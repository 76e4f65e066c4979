#pragma once
// The matrix page and its sub pages never let Enter or Esc close a window: each key-down is
// swallowed with the trace " mian  esc  \n" before any control sees it. An open drop-down list is
// a window of its own and keeps its keys (Esc closes the list).
#include <QWidget>

namespace panoptix {

// Installs the filter on page and on every control the page holds at the time of the call.
void SwallowEnterAndEsc(QWidget* page);

}  // namespace panoptix
