#pragma once
// An operator's pick from a drop-down list, the way the operator makes it: the list opens, the
// entry is highlighted and Enter takes it. Unlike setCurrentIndex(), this reports the pick also
// when the entry is the one the list already shows. A list the operator cannot see (a hidden
// page's) reports the pick as its keyboard and mouse handling would.
#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

namespace panoptix::testing_support {

inline void Pick(QComboBox* list, int entry) {
    if (!list->isVisible()) {
        list->setCurrentIndex(entry);
        emit list->activated(entry);
        return;
    }
    list->showPopup();
    QAbstractItemView* view = list->view();
    view->setCurrentIndex(list->model()->index(entry, list->modelColumn(), list->rootModelIndex()));
    QTest::keyClick(view, Qt::Key_Return);
}

}  // namespace panoptix::testing_support
