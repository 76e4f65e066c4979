#pragma once
// A start-up probe for the GUI bench. When PANOPTIX_BENCH_FIRST_PAINT is set in the environment,
// the first paint of the watched window prints "first-paint <ns>" (CLOCK_MONOTONIC, in
// nanoseconds) on standard output once that paint has been handled, and the application quits.
// When the variable is not set nothing is installed and nothing changes.
class QWidget;

namespace panoptix {

void InstallFirstPaintProbe(QWidget* window);

}  // namespace panoptix
