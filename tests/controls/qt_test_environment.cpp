#include "qt_test_environment.h"

#include <QApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace panoptix::test {
namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        if (QApplication::instance() == nullptr) {
            app_ = std::make_unique<QApplication>(argc_, argv_);
        }
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "controls_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

SolidPage::SolidPage(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour) {}

void SolidPage::SetColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void SolidPage::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
}

}  // namespace panoptix::test
