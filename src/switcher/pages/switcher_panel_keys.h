#pragma once
// The switcher panel's keys (switcher/core/switcher_keys.h) as the operator presses them. They
// act while the panel is shown in the active window, wherever the focus is in that window,
// except in a text field: a field keeps every key, and a key pressed there does nothing on the
// panel. Other windows (the settings window, message boxes, an open drop-down list) keep their
// keys. Each key press runs the button's own handler, once: an auto-repeated press is dropped
// (holding a button down does not repeat it either), and a key never reaches the control that
// has the focus. Space with any modifier is taken too, so that no focused button on the panel
// (FTB after a click on the lever, a wipe pattern) is ever pressed by Space.
#include <QObject>

#include <functional>

class QWidget;

namespace panoptix {

class SwitcherPanelKeys : public QObject {
    Q_OBJECT

  public:
    using Press = std::function<void(int control_id)>;

    // Watches the application's key events for panel, a child of it; press runs the button.
    SwitcherPanelKeys(QWidget* panel, Press press);
    ~SwitcherPanelKeys() override;
    SwitcherPanelKeys(const SwitcherPanelKeys&) = delete;
    SwitcherPanelKeys& operator=(const SwitcherPanelKeys&) = delete;

    // Whether a widget with the focus takes typed text (line edits, spin boxes, editable lists,
    // text editors, any widget that accepts input-method text).
    static bool IsTextField(const QWidget* widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* panel_;
    Press press_;
};

}  // namespace panoptix
