#pragma once
// The about box: caption, application icon, the version text and an OK button.
#include <QDialog>

namespace panoptix {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace panoptix
