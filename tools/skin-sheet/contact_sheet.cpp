#include "contact_sheet.h"

#include "controls/bitmap_slider.h"
#include "controls/button_st.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "resources/skin.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QTextStream>

#include <algorithm>

namespace panoptix::skin {
namespace {

constexpr int kMargin = 16;
constexpr int kGap = 14;
constexpr int kLabelHeight = 18;
// Pictures wider than this go into the second group, one or two to a row.
constexpr int kLargeWidth = 400;
const QColor kSheetGround(44, 46, 50);
const QColor kLabelColour(200, 204, 210);

// Button pictures are shown as the buttons draw them: pure black is transparent.
QImage AsDrawn(int id, const QImage& picture) {
    const ResourceInfo* info = FindResource(id);
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    if (info != nullptr && info->kind == ResourceKind::Bitmap && info->size.width() < kLargeWidth) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & 0x00FFFFFFu) == 0) {
                    line[x] = 0;
                }
            }
        }
    }
    return image;
}

// Lays out one group of ids in rows; returns the y below the group.
int PlaceGroup(const std::vector<ResourceInfo>& group, int top, int sheet_width,
               std::vector<SheetPlacement>& placements) {
    int x = kMargin;
    int y = top;
    int row_height = 0;
    for (const ResourceInfo& info : group) {
        const int cell_width = std::max(info.size.width(), 40);
        if (x + cell_width > sheet_width - kMargin && x > kMargin) {
            x = kMargin;
            y += row_height + kLabelHeight + kGap;
            row_height = 0;
        }
        placements.push_back({info.id, QRect(QPoint(x, y), info.size)});
        x += cell_width + kGap;
        row_height = std::max(row_height, info.size.height());
    }
    return y + row_height + kLabelHeight + kGap;
}

}  // namespace

ContactSheet BuildContactSheet(int sheet_width) {
    std::vector<ResourceInfo> small_ones;
    std::vector<ResourceInfo> large_ones;
    for (const ResourceInfo& info : AllResources()) {
        (info.size.width() < kLargeWidth ? small_ones : large_ones).push_back(info);
    }
    ContactSheet sheet;
    int y = PlaceGroup(small_ones, kMargin, sheet_width, sheet.placements);
    y = PlaceGroup(large_ones, y + kGap, sheet_width, sheet.placements);

    sheet.image = QImage(sheet_width, y, QImage::Format_RGB32);
    sheet.image.fill(kSheetGround);
    QPainter painter(&sheet.image);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(kLabelColour);
    for (const SheetPlacement& placement : sheet.placements) {
        painter.drawImage(placement.rect.topLeft(),
                          AsDrawn(placement.id, RenderResource(placement.id)));
        const QRect label(placement.rect.left(), placement.rect.bottom() + 2,
                          std::max(placement.rect.width(), 40), kLabelHeight - 2);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, QString::number(placement.id));
    }
    return sheet;
}

QString ResourceListing() {
    QString text;
    QTextStream out(&text);
    for (const ResourceInfo& info : AllResources()) {
        out << info.id << ' ' << info.size.width() << ' ' << info.size.height() << ' '
            << (info.kind == ResourceKind::Bitmap ? "bitmap" : "icon") << '\n';
    }
    return text;
}

namespace {

// A page that paints one background bitmap over itself, as the device pages do.
class MockPage : public QWidget {
  public:
    MockPage(QWidget* parent, int bitmap_id) : QWidget(parent), bitmap_id_(bitmap_id) {}

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        DrawPageBackground(painter, rect(), bitmap_id_);
    }

  private:
    int bitmap_id_;
};

CButtonST* AddButton(QWidget* page, int picture_id, QRect geometry, const QString& caption = {}) {
    auto* button = new CShadeButtonST(page);
    button->setGeometry(geometry);
    button->setText(caption);
    button->SetPictureById(picture_id);
    button->SetTransparent();
    button->SetBorder(false);
    return button;
}

}  // namespace

QImage RenderMockPanel() {
    MockPage window(nullptr, 195);
    window.resize(1280, 720);
    AddButton(&window, 198, QRect(1150, 0, 47, 35), "_");
    AddButton(&window, 197, QRect(1200, 0, 34, 35), "[]");
    AddButton(&window, 188, QRect(1236, 0, 42, 35), "X");
    AddButton(&window, 199, QRect(2, 690, 25, 30));
    AddButton(&window, 196, QRect(560, 55, 138, 50), "s");
    auto* combo = new QComboBox(&window);
    combo->setGeometry(80, 68, 480, 26);
    combo->addItem("KV-SW1200_192.0.2.21");

    auto* panel = new MockPage(&window, 294);
    panel->setGeometry(20, 110, 1240, 580);
    const int xs[4] = {10, 80, 150, 220};
    for (int s = 1; s <= 8; ++s) {
        const int col = (s - 1) % 4;
        const int row = (s - 1) / 4;
        const int unlit = 250 + 3 * (s - 1);
        AddButton(panel, s == 3 ? unlit - 1 : unlit, QRect(xs[col], 120 + 80 * row, 70, 70));
        AddButton(panel, s == 5 ? unlit - 2 : unlit, QRect(xs[col], 340 + 80 * row, 70, 70));
    }
    AddButton(panel, 280, QRect(360, 120, 70, 70));
    AddButton(panel, 283, QRect(360, 200, 70, 70));
    AddButton(panel, 278, QRect(360, 340, 70, 70));
    AddButton(panel, 281, QRect(360, 420, 70, 70));
    AddButton(panel, 300, QRect(465, 120, 70, 70));
    AddButton(panel, 290, QRect(535, 120, 70, 70));
    AddButton(panel, 292, QRect(605, 120, 70, 70));
    AddButton(panel, 247, QRect(465, 200, 70, 70));
    AddButton(panel, 297, QRect(605, 200, 70, 70));
    AddButton(panel, 296, QRect(465, 340, 70, 70));
    AddButton(panel, 286, QRect(535, 340, 70, 70));
    AddButton(panel, 303, QRect(605, 340, 70, 70));
    AddButton(panel, 285, QRect(465, 420, 80, 80));
    AddButton(panel, 305, QRect(600, 420, 80, 80));
    AddButton(panel, 289, QRect(870, 420, 80, 80));
    AddButton(panel, 347, QRect(870, 120, 80, 80));
    AddButton(panel, 342, QRect(875, 205, 70, 70));
    AddButton(panel, 343, QRect(875, 275, 70, 70));
    AddButton(panel, 345, QRect(875, 345, 70, 70));
    auto* lever = new CBitmapSlider(panel, 1160);
    lever->move(700, 95);
    lever->SetChannel(301);
    lever->SetThumb(302);
    lever->SetMargins(10, 30, 0, 35);
    lever->SetVertical(true);
    lever->SetRange(0, 129);
    lever->SetPos(80);

    auto* settings = new MockPage(panel, 194);
    settings->setGeometry(960, 100, 250, 400);
    auto* frame = new CMyGroupBox(settings);
    frame->setGeometry(5, 5, 240, 390);
    const int wipe_ids[9] = {360, 370, 368, 362, 359, 368, 357, 354, 365};
    for (int n = 0; n < 9; ++n) {
        AddButton(settings, wipe_ids[n], QRect(30 + 60 * (n % 3), 100 + 60 * (n / 3), 50, 50));
    }
    auto* label = new QLabel("WIPE PATTERN", settings);
    label->setGeometry(30, 50, 170, 20);
    ApplyPageControlColours(settings);
    ApplyPageControlColours(&window);
    return window.grab().toImage();
}

}  // namespace panoptix::skin
