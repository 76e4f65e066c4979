#include "controls/page_painting.h"
#include "controls/button_st.h"
#include "controls/my_group_box.h"
#include "qt_test_environment.h"
#include "resources/skin.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace panoptix {
namespace {

using test::At;
using test::Render;
using test::SolidPage;

// A page that paints a background bitmap over itself, as every device page does.
class BackgroundPage : public QWidget {
  public:
    explicit BackgroundPage(int bitmap_id) : bitmap_id_(bitmap_id) {}

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        DrawPageBackground(painter, rect(), bitmap_id_);
    }

  private:
    int bitmap_id_;
};

// Twice the bitmap's size: every page pixel shows the bitmap pixel at half its coordinates,
// so the picture is stretched once over the page, not tiled.
TEST(PagePainting, BackgroundStretchesOverAPageTwiceItsSize) {
    const QImage bitmap = skin::Bitmap(194).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bitmap.size(), QSize(490, 420));
    BackgroundPage page(194);
    page.resize(980, 840);
    const QImage image = Render(page);
    for (int y = 0; y < 840; y += 7) {
        for (int x = 0; x < 980; x += 11) {
            ASSERT_EQ(image.pixel(x, y), bitmap.pixel(x / 2, y / 2)) << x << ", " << y;
        }
    }
}

TEST(PagePainting, BackgroundShrinksWithoutBlending) {
    const QImage bitmap = skin::Bitmap(294).toImage().convertToFormat(QImage::Format_RGB32);
    BackgroundPage page(294);
    page.resize(1240, 580);
    const QImage image = Render(page);
    // Nearest neighbour: each page pixel is one of the bitmap's pixels near its place.
    for (int y = 0; y < 580; y += 37) {
        for (int x = 0; x < 1240; x += 53) {
            const int sx = x * 1260 / 1240;
            const int sy = y * 585 / 580;
            bool found = false;
            for (int dy = 0; dy <= 1 && !found; ++dy) {
                for (int dx = 0; dx <= 1 && !found; ++dx) {
                    found = image.pixel(x, y) ==
                            bitmap.pixel(std::min(sx + dx, 1259), std::min(sy + dy, 584));
                }
            }
            EXPECT_TRUE(found) << x << ", " << y;
        }
    }
}

TEST(PagePainting, UnknownBackgroundFillsWithThePageControlColour) {
    BackgroundPage page(99999);
    page.resize(40, 30);
    EXPECT_EQ(At(Render(page), 20, 15), kPageControlBackground);
}

// Edit, list and static controls take light-blue text on dark grey; buttons keep theirs.
TEST(PagePainting, PageControlColoursReachEditListAndStaticControlsOnly) {
    SolidPage page(QColor(90, 90, 90));
    page.resize(400, 300);
    auto* edit = new QLineEdit("MMMM", &page);
    edit->setGeometry(10, 10, 200, 50);
    QFont big = edit->font();
    big.setPixelSize(36);
    big.setBold(true);
    edit->setFont(big);
    auto* label = new QLabel("label", &page);
    label->setGeometry(10, 70, 100, 20);
    auto* list = new QListWidget(&page);
    list->setGeometry(10, 100, 100, 80);
    auto* combo = new QComboBox(&page);
    combo->setGeometry(120, 100, 100, 24);
    auto* push = new QPushButton("OK", &page);
    push->setGeometry(10, 200, 80, 30);
    const QPalette push_before = push->palette();

    ApplyPageControlColours(&page);

    for (QWidget* control : std::initializer_list<QWidget*>{edit, label, list, combo}) {
        EXPECT_EQ(control->palette().color(QPalette::Text), kPageControlText);
        EXPECT_EQ(control->palette().color(QPalette::Base), kPageControlBackground);
    }
    EXPECT_EQ(label->palette().color(QPalette::WindowText), kPageControlText);
    EXPECT_EQ(combo->view()->palette().color(QPalette::Base), kPageControlBackground);
    EXPECT_EQ(push->palette(), push_before);

    // On screen: the edit's ground is dark grey and its text light blue.
    const QImage image = Render(*edit);
    EXPECT_EQ(At(image, image.width() - 8, image.height() / 2), kPageControlBackground);
    bool blue_text = false;
    for (int y = 0; y < image.height() && !blue_text; ++y) {
        for (int x = 0; x < image.width() && !blue_text; ++x) {
            blue_text = At(image, x, y) == kPageControlText;
        }
    }
    EXPECT_TRUE(blue_text);
    // The static control is filled with the page control brush.
    EXPECT_EQ(At(Render(*label), 95, 2), kPageControlBackground);
}

// An empty caption: only the rounded frame, inset 2 on the left and 8 at the top, right and
// bottom; the page shows through inside and outside.
TEST(MyGroupBox, EmptyCaptionDrawsOnlyTheRoundedFrameAtItsInsets) {
    const QColor page_colour(40, 80, 120);
    SolidPage page(page_colour);
    page.resize(200, 150);
    auto* box = new CMyGroupBox(&page);
    box->setGeometry(10, 10, 120, 100);
    const QImage page_image = Render(page);
    // Pixels in the box's own coordinates.
    const auto at = [&page_image](int x, int y) { return At(page_image, 10 + x, 10 + y); };
    const QColor frame(168, 168, 168);

    EXPECT_EQ(at(2, 50), frame);        // left edge
    EXPECT_EQ(at(60, 8), frame);        // top edge
    EXPECT_EQ(at(120 - 9, 50), frame);  // right edge: (right - 8) is exclusive
    EXPECT_EQ(at(60, 100 - 9), frame);  // bottom edge
    EXPECT_EQ(at(1, 50), page_colour);
    EXPECT_EQ(at(3, 50), page_colour);
    EXPECT_EQ(at(60, 7), page_colour);
    EXPECT_EQ(at(60, 9), page_colour);
    EXPECT_EQ(at(120 - 8, 50), page_colour);
    EXPECT_EQ(at(60, 100 - 8), page_colour);
    EXPECT_EQ(at(60, 50), page_colour);  // not filled
    // Rounded corners: the corner pixel itself stays page colour.
    EXPECT_EQ(at(2, 8), page_colour);
    EXPECT_EQ(at(120 - 9, 100 - 9), page_colour);
    EXPECT_TRUE(box->HasSnapshot());
}

TEST(MyGroupBox, SnapshotIsTakenOnceAndCaptionCoversTheFrameLine) {
    SolidPage page(QColor(40, 80, 120));
    page.resize(300, 150);
    auto* box = new CMyGroupBox(&page);
    box->setGeometry(10, 10, 250, 100);
    box->SetCaption("ROUTING");
    QFont font = box->font();
    font.setPixelSize(16);
    box->setFont(font);
    (void)Render(page);
    ASSERT_TRUE(box->HasSnapshot());
    page.SetColour(QColor(200, 30, 30));
    const QImage page_image = Render(page);
    const auto at = [&page_image](int x, int y) { return At(page_image, 10 + x, 10 + y); };
    // Behind the caption the frame line is covered by the page as it was at the snapshot.
    bool frame_behind_caption = false;
    for (int x = 12; x < 40; ++x) {
        frame_behind_caption |= at(x, 8) == QColor(168, 168, 168);
    }
    EXPECT_FALSE(frame_behind_caption);
    bool old_page_shows = false;
    for (int x = 12; x < 60; ++x) {
        old_page_shows |= at(x, 8) == QColor(40, 80, 120);
    }
    EXPECT_TRUE(old_page_shows);
    EXPECT_EQ(at(200, 8), QColor(168, 168, 168));
}

// Group boxes are framed around controls and must never take their clicks.
TEST(MyGroupBox, ClicksGoThroughToTheControlsItFrames) {
    SolidPage page(QColor(40, 80, 120));
    page.resize(300, 200);
    auto* button = new CButtonST(&page);
    button->setGeometry(50, 50, 60, 40);
    auto* box = new CMyGroupBox(&page);
    box->setGeometry(5, 5, 280, 180);
    box->raise();  // even when stacked above
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    // Through the window, so that the application picks the widget under the pointer.
    QTest::mouseClick(page.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(80, 70));
    EXPECT_EQ(clicked.count(), 1);
}

}  // namespace
}  // namespace panoptix
