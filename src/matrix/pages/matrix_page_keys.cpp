#include "matrix/pages/matrix_page_keys.h"

#include "controls/enter_esc_filter.h"
#include "link/trace_events.h"

namespace panoptix {

void SwallowEnterAndEsc(QWidget* page) {
    EnterEscFilter::Install(page, [](EnterEscKey, QWidget*) { trace::EnterOrEscSwallowed(); });
}

}  // namespace panoptix
