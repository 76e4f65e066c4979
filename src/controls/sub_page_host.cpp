#include "controls/sub_page_host.h"

namespace panoptix {

SubPageHost::~SubPageHost() {
    delete page_.data();
}

void SubPageHost::Remove() {
    if (QWidget* old_page = page_.data()) {
        old_page->hide();
        page_ = nullptr;
        old_page->deleteLater();
    }
}

void SubPageHost::Show(QWidget* page) {
    if (page != page_.data()) {
        Remove();
    }
    page_ = page;
    page->setGeometry(area_);
    page->show();
}

}  // namespace panoptix
