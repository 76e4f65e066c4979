#include "matrix/pages/matrix_page_keys.h"

#include "controls/enter_esc_filter.h"
#include "link/trace.h"

namespace panoptix {

void SwallowEnterAndEsc(QWidget* page) {
    EnterEscFilter::Install(page, [](EnterEscKey, QWidget*) { Trace(" mian  esc  \n"); });
}

}  // namespace panoptix
