#pragma once
// Pages place their controls from tables keyed by the control ids of the panel's templates;
// the id travels with the widget so that pages and tests can find a control by it.
#include <QWidget>

namespace panoptix {

void SetControlId(QWidget* widget, int control_id);
// The id given with SetControlId, or 0.
int ControlIdOf(const QWidget* widget);
// The first descendant of root carrying control_id, or nullptr.
QWidget* FindControl(const QWidget* root, int control_id);

template <class T>
T* FindControlAs(const QWidget* root, int control_id) {
    return qobject_cast<T*>(FindControl(root, control_id));
}

}  // namespace panoptix
