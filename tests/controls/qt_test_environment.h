#pragma once
// Helpers of the widget tests for reading rendered pixels (the application object comes from the
// shared test main, tests/support/qt_test_main.cpp).
#include <QColor>
#include <QImage>
#include <QWidget>

namespace panoptix::test {

// The widget (and its children) rendered into an RGB32 image at its own size.
QImage Render(QWidget& widget);

// A top-level widget that paints itself in one solid colour, as a page under controls.
class SolidPage : public QWidget {
  public:
    explicit SolidPage(const QColor& colour, QWidget* parent = nullptr);
    void SetColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
};

inline QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace panoptix::test
