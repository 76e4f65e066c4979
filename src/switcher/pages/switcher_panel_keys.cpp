#include "switcher/pages/switcher_panel_keys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <optional>
#include <utility>

#include "switcher/core/switcher_keys.h"

namespace panoptix {
namespace {

// The character of a key the panel knows ('0'-'9', ' '), or nothing.
std::optional<char> KeyCharacter(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<char>('0' + (key - Qt::Key_0));
    }
    if (key == Qt::Key_Space) {
        return ' ';
    }
    return std::nullopt;
}

// Plain or Ctrl; the keypad's digits count as the row's digits. Other chords are no chord.
std::optional<KeyChord> ChordOf(Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        return KeyChord::Plain;
    }
    if (modifiers == Qt::ControlModifier) {
        return KeyChord::Control;
    }
    return std::nullopt;
}

}  // namespace

SwitcherPanelKeys::SwitcherPanelKeys(QWidget* panel, Press press)
    : QObject(panel), panel_(panel), press_(std::move(press)) {
    qApp->installEventFilter(this);
}

SwitcherPanelKeys::~SwitcherPanelKeys() {
    qApp->removeEventFilter(this);
}

bool SwitcherPanelKeys::IsTextField(const QWidget* widget) {
    if (widget == nullptr) {
        return false;
    }
    if (qobject_cast<const QLineEdit*>(widget) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
        qobject_cast<const QTextEdit*>(widget) != nullptr ||
        qobject_cast<const QPlainTextEdit*>(widget) != nullptr) {
        return true;
    }
    if (const auto* list = qobject_cast<const QComboBox*>(widget); list != nullptr) {
        return list->isEditable();
    }
    return widget->testAttribute(Qt::WA_InputMethodEnabled);
}

bool SwitcherPanelKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType()) {
        return false;
    }
    // The key goes to a widget of the panel's window while the panel is shown there (a key that
    // its first receiver leaves climbs to the parents and comes by again, decided alike).
    if (!panel_->isVisible() || static_cast<QWidget*>(watched)->window() != panel_->window() ||
        IsTextField(QApplication::focusWidget())) {
        return false;
    }
    const auto* key_event = static_cast<const QKeyEvent*>(event);
    const std::optional<char> key = KeyCharacter(key_event->key());
    if (!key) {
        return false;
    }
    const std::optional<KeyChord> chord = ChordOf(key_event->modifiers());
    const int control_id = chord ? PanelButtonOfKey(*key, *chord) : 0;
    if (control_id == 0 && *key != ' ') {
        return false;  // 9, 0, Alt+3, ...: the controls keep them
    }
    if (control_id != 0 && type == QEvent::KeyPress && !key_event->isAutoRepeat()) {
        press_(control_id);
    }
    return true;
}

}  // namespace panoptix
