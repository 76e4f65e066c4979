#pragma once
// The about box: caption, application icon, the version text and an OK button.
#include <QDialog>

namespace panoptix {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace panoptix
