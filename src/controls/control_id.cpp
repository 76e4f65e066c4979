#include "controls/control_id.h"

#include <QVariant>

namespace panoptix {
namespace {
constexpr char kControlIdProperty[] = "panoptixControlId";
}

void SetControlId(QWidget* widget, int control_id) {
    widget->setProperty(kControlIdProperty, control_id);
}

int ControlIdOf(const QWidget* widget) {
    return widget->property(kControlIdProperty).toInt();
}

QWidget* FindControl(const QWidget* root, int control_id) {
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (ControlIdOf(child) == control_id) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace panoptix
