#include "controls/bitmap_slider.h"
#include "qt_test_environment.h"
#include "resources/skin.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace panoptix {
namespace {

using test::Render;

constexpr int kLeverId = 1160;

// The switcher's transition lever, set up as the panel does.
std::unique_ptr<CBitmapSlider> MakeLever() {
    auto lever = std::make_unique<CBitmapSlider>(nullptr, kLeverId);
    EXPECT_TRUE(lever->SetChannel(301));
    EXPECT_TRUE(lever->SetThumb(302));
    lever->SetMargins(10, 30, 0, 35);
    lever->SetVertical(true);
    lever->SetRange(0, 129);
    lever->SetPos(129);
    return lever;
}

void Show(QWidget& widget) {
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

TEST(BitmapSlider, LeverTakesItsChannelSizeAndThumbCentresRunFrom50To364) {
    const auto lever = MakeLever();
    EXPECT_EQ(lever->size(), QSize(164, 420));
    EXPECT_EQ(lever->ThumbSize(), QSize(144, 41));
    struct Case {
        int position;
        int pixel;
    };
    // Position to centre: 50 + trunc(position * 314 / 129).
    const Case centres[] = {{0, 50}, {1, 52}, {64, 205}, {128, 361}, {129, 364}};
    for (const Case& c : centres) {
        EXPECT_EQ(lever->PositionToPixel(c.position), c.pixel) << c.position;
    }
    // Centre to position: trunc((pixel - 50) * 129 / 314).
    const Case positions[] = {{0, 50}, {0, 52}, {1, 53}, {63, 205}, {64, 207}, {129, 364}};
    for (const Case& c : positions) {
        EXPECT_EQ(lever->PixelToPosition(c.pixel), c.position) << c.pixel;
    }
}

TEST(BitmapSlider, SetPosLimitsToTheRange) {
    const auto lever = MakeLever();
    lever->SetPos(200);
    EXPECT_EQ(lever->GetPos(), 129);
    lever->SetPos(-5);
    EXPECT_EQ(lever->GetPos(), 0);
    lever->SetPos(77);
    EXPECT_EQ(lever->GetPos(), 77);
}

// The thumb is drawn at x = 10, y = centre - 20: rows outside it show the channel unchanged.
TEST(BitmapSlider, ThumbIsDrawnAroundItsCentreOverTheChannel) {
    const auto lever = MakeLever();
    const QImage channel = skin::Bitmap(301).toImage().convertToFormat(QImage::Format_RGB32);
    for (const int position : {0, 129}) {
        lever->SetPos(position);
        const int top = lever->PositionToPixel(position) - 20;
        const QImage image = Render(*lever);
        int changed_rows = 0;
        for (int y = 0; y < image.height(); ++y) {
            bool changed = false;
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != channel.pixel(x, y)) {
                    changed = true;
                    EXPECT_GE(x, 10) << "column " << x;
                    EXPECT_LT(x, 10 + 144) << "column " << x;
                }
            }
            if (changed) {
                ++changed_rows;
                EXPECT_GE(y, top) << "row " << y;
                EXPECT_LT(y, top + 41) << "row " << y;
            }
        }
        EXPECT_GT(changed_rows, 30);
    }
    lever->setEnabled(false);
    EXPECT_EQ(Render(*lever), channel);  // a disabled slider shows no thumb
}

class LeverInput : public ::testing::Test {
  protected:
    void SetUp() override {
        lever_ = MakeLever();
        Show(*lever_);
        moving_ = std::make_unique<QSignalSpy>(lever_.get(), &CBitmapSlider::SliderMoving);
        moved_ = std::make_unique<QSignalSpy>(lever_.get(), &CBitmapSlider::SliderMoved);
    }

    QPoint At(int y) const { return QPoint(80, y); }

    std::unique_ptr<CBitmapSlider> lever_;
    std::unique_ptr<QSignalSpy> moving_;
    std::unique_ptr<QSignalSpy> moved_;
};

// Pressed 10 pixels from the thumb's centre, the thumb keeps that grip while dragged.
TEST_F(LeverInput, PressNearTheThumbKeepsTheGrip) {
    QTest::mousePress(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(354));
    EXPECT_EQ(lever_->GetPos(), 129);
    QTest::mouseMove(lever_.get(), At(324));
    EXPECT_EQ(lever_->GetPos(), lever_->PixelToPosition(324 + 10));
    EXPECT_NEAR(lever_->PositionToPixel(lever_->GetPos()), 334, 3);
    QTest::mouseRelease(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(324));
    QCoreApplication::processEvents();
    ASSERT_EQ(moving_->count(), 1);
    EXPECT_EQ(moving_->at(0).at(0).toInt(), kLeverId);
    EXPECT_EQ(moving_->at(0).at(1).toInt(), lever_->GetPos());
}

// Pressed 40 pixels away, the thumb first jumps so that its centre is under the pointer.
TEST_F(LeverInput, PressFarFromTheThumbJumpsUnderThePointer) {
    QTest::mousePress(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(324));
    const int jumped = lever_->PixelToPosition(324);
    EXPECT_EQ(lever_->GetPos(), jumped);
    QTest::mouseMove(lever_.get(), At(224));
    EXPECT_EQ(lever_->GetPos(), lever_->PixelToPosition(224));
    QTest::mouseRelease(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(224));
    QCoreApplication::processEvents();
    ASSERT_EQ(moving_->count(), 2);
    EXPECT_EQ(moving_->at(0).at(1).toInt(), jumped);
    ASSERT_EQ(moved_->count(), 1);
    EXPECT_EQ(moved_->at(0).at(1).toInt(), lever_->PixelToPosition(224));
}

// A move that does not reach the next position posts nothing; the next step posts once.
TEST_F(LeverInput, AMoveWithinOneStepPostsNoMoving) {
    lever_->SetPos(0);  // centre at 50; position 1 begins at pixel 53
    QTest::mousePress(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(50));
    QTest::mouseMove(lever_.get(), At(51));
    QCoreApplication::processEvents();
    EXPECT_EQ(lever_->GetPos(), 0);
    EXPECT_EQ(moving_->count(), 0);

    QTest::mouseMove(lever_.get(), At(53));
    QTest::mouseRelease(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(53));
    QCoreApplication::processEvents();
    ASSERT_EQ(moving_->count(), 1);
    EXPECT_EQ(moving_->at(0).at(1).toInt(), 1);
    ASSERT_EQ(moved_->count(), 1);
    EXPECT_EQ(moved_->at(0).at(1).toInt(), 1);
}

TEST_F(LeverInput, DragIsLimitedToTheTravel) {
    QTest::mousePress(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(364));
    QTest::mouseMove(lever_.get(), At(2));
    EXPECT_EQ(lever_->GetPos(), 0);
    QTest::mouseMove(lever_.get(), At(419));
    EXPECT_EQ(lever_->GetPos(), 129);
    QTest::mouseRelease(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(419));
}

// The notifications behave like posted messages: nothing arrives before the event loop runs.
TEST_F(LeverInput, ReleaseWithoutMovingPostsMovedWithTheUnchangedPosition) {
    QTest::mousePress(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(364));
    QTest::mouseRelease(lever_.get(), Qt::LeftButton, Qt::NoModifier, At(364));
    EXPECT_EQ(moved_->count(), 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(moved_->count(), 1);
    EXPECT_EQ(moved_->at(0).at(0).toInt(), kLeverId);
    EXPECT_EQ(moved_->at(0).at(1).toInt(), 129);
    EXPECT_EQ(moving_->count(), 0);
    EXPECT_FALSE(lever_->IsDragging());
}

TEST_F(LeverInput, KeysStepThePositionAndPostMoved) {
    lever_->SetPageStep(20);
    struct Case {
        Qt::Key key;
        int from;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_Home, 0, 0},     {Qt::Key_Home, 70, 0},      {Qt::Key_End, 5, 129},
        {Qt::Key_PageUp, 70, 50}, {Qt::Key_PageDown, 70, 90}, {Qt::Key_PageDown, 120, 129},
        {Qt::Key_PageUp, 10, 0},  {Qt::Key_Down, 70, 71},     {Qt::Key_Right, 70, 71},
        {Qt::Key_Up, 70, 69},     {Qt::Key_Left, 0, 0},
    };
    for (const Case& c : cases) {
        lever_->SetPos(c.from);
        moved_->clear();
        QTest::keyClick(lever_.get(), c.key);
        QCoreApplication::processEvents();
        EXPECT_EQ(lever_->GetPos(), c.expected) << c.key << " from " << c.from;
        ASSERT_EQ(moved_->count(), 1) << c.key << " from " << c.from;
        EXPECT_EQ(moved_->at(0).at(1).toInt(), c.expected);
    }
}

// An empty range or margins that leave no travel would divide by zero: the thumb stays at the
// start, every pixel maps to the minimum, and input does nothing harmful.
TEST(BitmapSlider, EmptyRangeOrNoTravelKeepsTheThumbAtTheStart) {
    struct Case {
        int minimum, maximum, top_margin, bottom_margin;
    };
    const Case cases[] = {{5, 5, 30, 35}, {0, 129, 200, 200}, {0, 129, 190, 189}, {9, 3, 30, 35}};
    for (const Case& c : cases) {
        CBitmapSlider slider(nullptr, 7);
        ASSERT_TRUE(slider.SetChannel(301));
        ASSERT_TRUE(slider.SetThumb(302));
        slider.SetVertical(true);
        slider.SetMargins(10, c.top_margin, 0, c.bottom_margin);
        slider.SetRange(c.minimum, c.maximum);
        slider.SetPos(c.maximum);
        EXPECT_EQ(slider.PositionToPixel(slider.GetPos()), c.top_margin + 20);
        EXPECT_EQ(slider.PixelToPosition(0), c.minimum);
        EXPECT_EQ(slider.PixelToPosition(300), c.minimum);
        QSignalSpy moved(&slider, &CBitmapSlider::SliderMoved);
        Show(slider);
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(80, 300));
        QTest::mouseMove(&slider, QPoint(80, 10));
        QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(80, 10));
        QTest::keyClick(&slider, Qt::Key_End);
        QCoreApplication::processEvents();
        EXPECT_EQ(moved.count(), 2);
        (void)Render(slider);
    }
}

TEST(BitmapSlider, HorizontalSliderUsesWidthAndSideMargins) {
    CBitmapSlider slider;
    ASSERT_TRUE(slider.SetChannel(233));  // 220 x 60
    ASSERT_TRUE(slider.SetThumb(302));    // 144 wide: 76 pixels of travel less the margins
    slider.SetMargins(4, 0, 8, 0);
    slider.SetRange(0, 64);
    EXPECT_EQ(slider.PositionToPixel(0), 4 + 72);
    EXPECT_EQ(slider.PositionToPixel(64), 4 + 64 + 72);
    EXPECT_EQ(slider.PositionToPixel(32), 4 + 32 + 72);
    EXPECT_EQ(slider.PixelToPosition(4 + 72 + 16), 16);
}

TEST(BitmapSlider, UnknownPicturesChangeNothing) {
    CBitmapSlider slider;
    slider.resize(30, 30);
    EXPECT_FALSE(slider.SetChannel(99999));
    EXPECT_FALSE(slider.SetThumb(99999));
    EXPECT_EQ(slider.size(), QSize(30, 30));
    EXPECT_EQ(slider.ThumbSize(), QSize(0, 0));
    (void)Render(slider);
}

}  // namespace
}  // namespace panoptix
