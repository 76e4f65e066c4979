#pragma once
// CMyGroupBox: a rounded frame that leaves the page background visible inside it, with an
// optional caption at its top left. It takes no mouse input, so the controls it frames stay
// reachable whatever the stacking order.
#include <QPixmap>
#include <QString>
#include <QWidget>

class CMyGroupBox : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kInsetLeft = 2;
    static constexpr int kInsetTop = 8;
    static constexpr int kInsetRight = 8;
    static constexpr int kInsetBottom = 8;
    static constexpr int kCornerSize = 12;  // the corner ellipse is 12 x 12

    explicit CMyGroupBox(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }

    // Copies the parent's pixels under the box's caption band (its top rows, as high as a line
    // of the box's font) once; later calls keep the first copy.
    void SnapshotParentBackground();
    bool HasSnapshot() const { return !snapshot_.isNull(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
    QPixmap snapshot_;
};

// Also reachable as panoptix::CMyGroupBox.
namespace panoptix {
using ::CMyGroupBox;
}  // namespace panoptix
