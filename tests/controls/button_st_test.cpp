#include "controls/button_st.h"
#include "controls/shade_button_st.h"
#include "qt_test_environment.h"
#include "resources/skin.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <type_traits>

// The controls are declared at global scope and are also reachable in namespace panoptix;
// a forward declaration at global scope names the same class.
class CButtonST;
class CShadeButtonST;
static_assert(std::is_same_v<panoptix::CButtonST, ::CButtonST>);
static_assert(std::is_base_of_v<::CButtonST, panoptix::CShadeButtonST>);

namespace panoptix {
namespace {

using test::At;
using test::Render;
using test::SolidPage;

const QColor kGround(0, 0, 200);     // the button's own background colours
const QColor kPage(20, 140, 90);     // the page under a transparent button
const QColor kPaint(230, 40, 40);    // picture body
const QColor kMarker(250, 250, 10);  // the picture's top-left pixel

// A picture of the given size in kPaint with kMarker at its top-left pixel.
QPixmap MarkedPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kPaint);
    image.setPixelColor(0, 0, kMarker);
    return QPixmap::fromImage(image);
}

void PaintGround(CButtonST& button) {
    for (int slot = 0; slot < CButtonST::kColourSlots; slot += 2) {
        button.SetColour(slot, kGround);
    }
}

void Enter(QWidget& widget) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&widget, &enter);
}

void Leave(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

// The title-bar case: a 44 x 35 picture with a caption in a 47 x 35 button sits at (3, 0) and
// moves by (1, 1) while pressed.
TEST(ButtonST, CaptionedPictureSitsThreePixelsInAndShiftsWhenPressed) {
    CButtonST button;
    button.resize(47, 35);
    button.setText("_");
    button.SetBorder(false);
    PaintGround(button);
    ASSERT_EQ(button.SetPicture(MarkedPicture(QSize(44, 35))), 0);

    QImage image = Render(button);
    EXPECT_EQ(At(image, 3, 0), kMarker);
    EXPECT_EQ(At(image, 2, 0), kGround);
    EXPECT_EQ(At(image, 46, 34), kPaint);

    button.setDown(true);
    image = Render(button);
    EXPECT_EQ(At(image, 4, 1), kMarker);
    EXPECT_EQ(At(image, 3, 0), kGround);
    EXPECT_EQ(At(image, 4, 0), kGround);
}

TEST(ButtonST, PictureWithoutCaptionIsCentred) {
    CButtonST button;
    button.resize(70, 70);
    PaintGround(button);
    ASSERT_EQ(button.SetPicture(MarkedPicture(QSize(50, 40))), 0);
    const QImage image = Render(button);
    EXPECT_EQ(At(image, 10, 15), kMarker);
    EXPECT_EQ(At(image, 9, 15), kGround);
}

// Pure black is the transparent colour: an all-black picture leaves the page as it was.
TEST(ButtonST, AllBlackPictureDrawsNothingOverThePage) {
    SolidPage page(kPage);
    page.resize(120, 90);
    auto* button = new CButtonST(&page);
    button->setGeometry(10, 10, 60, 50);
    QImage black(40, 30, QImage::Format_RGB32);
    black.fill(QColor(0, 0, 0));
    ASSERT_EQ(button->SetPicture(QPixmap::fromImage(black)), 0);
    button->SetTransparent();
    button->SetBorder(false);

    const QImage image = Render(*button);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(At(image, x, y), kPage) << "at " << x << ", " << y;
        }
    }
}

TEST(ButtonST, BlackPixelsInsideAPictureShowTheBackground) {
    CButtonST button;
    button.resize(20, 20);
    PaintGround(button);
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(kPaint);
    picture.setPixelColor(5, 5, QColor(0, 0, 0));
    picture.setPixelColor(6, 5, QColor(1, 0, 0));  // nearly black is drawn
    ASSERT_EQ(button.SetPicture(QPixmap::fromImage(picture)), 0);
    const QImage image = Render(button);
    EXPECT_EQ(At(image, 5, 5), kGround);
    EXPECT_EQ(At(image, 6, 5), QColor(1, 0, 0));
}

TEST(ButtonST, DisabledButtonShowsItsPictureGreyedAndNoHover) {
    CButtonST button;
    button.resize(40, 40);
    PaintGround(button);
    button.SetColour(CButtonST::kBackgroundActive, QColor(250, 0, 250));
    ASSERT_EQ(button.SetPicture(MarkedPicture(QSize(20, 20))), 0);

    const QColor enabled = At(Render(button), 20, 20);
    EXPECT_EQ(enabled, kPaint);

    button.setEnabled(false);
    Enter(button);
    EXPECT_FALSE(button.IsHovered());
    const QImage image = Render(button);
    const QColor greyed = At(image, 20, 20);
    EXPECT_EQ(greyed.red(), greyed.green());
    EXPECT_EQ(greyed.green(), greyed.blue());
    EXPECT_NE(greyed, kGround);
    EXPECT_EQ(At(image, 2, 2), kGround);  // not the hovered background
}

TEST(ButtonST, HoverRepaintsWithTheActiveColoursAndDisablingClearsIt) {
    CButtonST button;
    button.resize(30, 30);
    button.SetColour(CButtonST::kBackgroundActive, QColor(200, 0, 0));
    button.SetColour(CButtonST::kBackgroundNormal, QColor(0, 200, 0));
    button.SetColour(CButtonST::kBackgroundFocused, QColor(0, 0, 200));
    EXPECT_EQ(At(Render(button), 15, 15), QColor(0, 200, 0));

    Enter(button);
    EXPECT_TRUE(button.IsHovered());
    EXPECT_EQ(At(Render(button), 15, 15), QColor(200, 0, 0));

    Leave(button);
    EXPECT_FALSE(button.IsHovered());

    Enter(button);
    button.setEnabled(false);
    EXPECT_FALSE(button.IsHovered());
}

TEST(ButtonST, SecondPictureShowsOnlyWhileNotHoveredOrPressed) {
    CButtonST button;
    button.resize(20, 20);
    QImage main(20, 20, QImage::Format_RGB32);
    main.fill(QColor(10, 200, 10));
    QImage second(20, 20, QImage::Format_RGB32);
    second.fill(QColor(10, 10, 200));
    ASSERT_EQ(button.SetPicture(QPixmap::fromImage(main), QPixmap::fromImage(second)), 0);

    EXPECT_EQ(At(Render(button), 10, 10), QColor(10, 10, 200));
    Enter(button);
    EXPECT_EQ(At(Render(button), 10, 10), QColor(10, 200, 10));
    Leave(button);
    button.setDown(true);
    EXPECT_EQ(At(Render(button), 11, 11), QColor(10, 200, 10));
}

TEST(ButtonST, BorderShowsRaisedWhenHoveredAndNothingWhenOff) {
    CButtonST button;
    button.resize(30, 30);
    PaintGround(button);
    button.SetColour(CButtonST::kBackgroundActive, kGround);
    Enter(button);
    const QImage bordered = Render(button);
    EXPECT_EQ(At(bordered, 0, 10).rgb(), button.palette().color(QPalette::Light).rgb());
    EXPECT_EQ(At(bordered, 29, 10).rgb(), button.palette().color(QPalette::Dark).rgb());

    button.SetBorder(false);
    const QImage plain = Render(button);
    EXPECT_EQ(At(plain, 0, 10), kGround);
    EXPECT_EQ(At(plain, 29, 10), kGround);
}

TEST(ButtonST, FailedPictureLeavesNoPictureAndPictureIdsFollowTheSkin) {
    CButtonST button;
    EXPECT_EQ(button.SetPictureById(250), 0);
    EXPECT_EQ(button.PictureId(), 250);
    EXPECT_EQ(button.PictureSize(), QSize(70, 70));

    EXPECT_EQ(button.SetPicture(QPixmap()), 1);
    EXPECT_FALSE(button.HasPicture());
    EXPECT_EQ(button.PictureId(), 0);

    EXPECT_EQ(button.SetPictureById(250), 0);
    EXPECT_EQ(button.SetPictureById(99999), 1);
    EXPECT_FALSE(button.HasPicture());
    EXPECT_EQ(button.PictureId(), 0);

    EXPECT_EQ(button.SetPictureById(250), 0);
    EXPECT_EQ(button.SetPicture(MarkedPicture(QSize(5, 5))), 0);
    EXPECT_EQ(button.PictureId(), 0);
}

// The background under a transparent button is captured once; moving the page's look does not
// reach the button until SetTransparent drops the cache.
TEST(ButtonST, TransparentButtonKeepsTheBackgroundItCapturedFirst) {
    SolidPage page(kPage);
    page.resize(100, 100);
    auto* button = new CButtonST(&page);
    button->setGeometry(20, 20, 40, 40);
    button->SetTransparent();
    EXPECT_FALSE(button->HasBackgroundCache());
    EXPECT_EQ(At(Render(*button), 5, 5), kPage);
    EXPECT_TRUE(button->HasBackgroundCache());

    page.SetColour(QColor(200, 200, 20));
    EXPECT_EQ(At(Render(*button), 5, 5), kPage);

    button->SetTransparent();
    EXPECT_EQ(At(Render(*button), 5, 5), QColor(200, 200, 20));
}

// The capture takes what the ancestors paint under the button, not the button's siblings.
TEST(ButtonST, CaptureComesFromTheAncestorsAtTheButtonsPlace) {
    SolidPage window(QColor(90, 90, 90));
    window.resize(200, 200);
    auto* page = new SolidPage(kPage, &window);
    page->setGeometry(50, 50, 100, 100);
    auto* half = new QWidget(page);  // a container that paints nothing itself
    half->setGeometry(0, 0, 100, 100);
    auto* button = new CButtonST(half);
    button->setGeometry(10, 10, 30, 30);
    auto* sibling = new SolidPage(QColor(250, 0, 0), half);
    sibling->setGeometry(0, 0, 20, 20);
    sibling->lower();
    button->SetTransparent();
    const QImage image = Render(*button);
    EXPECT_EQ(At(image, 0, 0), kPage);
    EXPECT_EQ(At(image, 29, 29), kPage);
}

TEST(ShadeButtonST, ShadingRampsThroughTheTintedFacePalette) {
    CShadeButtonST button;
    button.resize(120, 40);
    QPalette palette = button.palette();
    palette.setColor(QPalette::Dark, QColor(100, 100, 100));
    palette.setColor(QPalette::Button, QColor(200, 200, 200));
    palette.setColor(QPalette::Light, QColor(255, 255, 255));
    palette.setColor(QPalette::Highlight, QColor(0, 0, 255));
    button.setPalette(palette);
    button.ApplyShading();
    ASSERT_TRUE(button.HasShading());

    const QImage& shade = button.ShadeNormal();
    ASSERT_EQ(shade.size(), QSize(120, 40));
    ASSERT_EQ(shade.colorCount(), 256);
    // Entry 0 is the shadow colour, 128 the face, 255 the highlight, each 5 % toward green.
    EXPECT_EQ(QColor(shade.color(0)), QColor(97, 107, 97));
    EXPECT_EQ(QColor(shade.color(128)), QColor(192, 202, 192));
    EXPECT_EQ(QColor(shade.color(255)), QColor(245, 255, 245));
    // The hovered copy: a further 10 % toward the highlight colour.
    EXPECT_EQ(QColor(button.ShadeHovered().color(128)), QColor(172, 181, 198));

    // Left edge, top row: 8 + 119 + noise; right edge, bottom row: 8 + 0 + 116 + noise.
    EXPECT_NEAR(shade.pixelIndex(0, 0), 127, 8);
    EXPECT_NEAR(shade.pixelIndex(119, 39), 124, 8);
    EXPECT_NEAR(shade.pixelIndex(119, 0), 8, 8);
    EXPECT_NEAR(shade.pixelIndex(0, 39), 8 + 119 + 116, 8);
    // Noise: a flat row of the ramp is not flat.
    bool varies = false;
    for (int x = 1; x < 8 && !varies; ++x) {
        varies = shade.pixelIndex(x, 0) != shade.pixelIndex(0, 0);
    }
    EXPECT_TRUE(varies);

    const QImage normal = Render(button);
    EXPECT_EQ(At(normal, 5, 5), QColor(shade.pixel(5, 5)));
    Enter(button);
    const QImage hovered = Render(button);
    EXPECT_EQ(At(hovered, 5, 5), QColor(button.ShadeHovered().pixel(5, 5)));
}

// Painted on screen (through the backing store, not a grab), a transparent button captures
// the page under it and draws its picture over it.
TEST(ButtonST, TransparentButtonPaintsOverThePageOnScreen) {
    SolidPage page(kPage);
    page.resize(200, 120);
    auto* button = new CButtonST(&page);
    button->setGeometry(40, 30, 70, 70);
    ASSERT_EQ(button->SetPictureById(250), 0);
    button->SetTransparent();
    button->SetBorder(false);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    QTest::qWait(20);
    EXPECT_TRUE(button->HasBackgroundCache());
    const QImage screen = page.screen()->grabWindow(page.winId()).toImage();
    ASSERT_FALSE(screen.isNull());
    // The picture's transparent corner shows the page; its middle shows the key.
    EXPECT_EQ(screen.pixelColor(40, 30), kPage);
    EXPECT_NE(screen.pixelColor(75, 65), kPage);
}

}  // namespace
}  // namespace panoptix
