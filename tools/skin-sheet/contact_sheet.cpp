#include "contact_sheet.h"

#include "controls/bitmap_slider.h"
#include "controls/button_st.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "resources/skin.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>

namespace panoptix::skin {
namespace {

constexpr int kMargin = 16;
constexpr int kGap = 14;
constexpr int kLabelHeight = 18;
// Pictures wider than this go into the second group, one or two to a row.
constexpr int kLargeWidth = 400;
constexpr int kLargeHeight = 200;
const QColor kSheetGround(44, 46, 50);
const QColor kLabelColour(200, 204, 210);

// Pictures are shown as the controls draw them: keyed pixels are transparent.
QImage AsDrawn(int id, const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const Keying keying = KeyingOf(id);
    if (keying == Keying::Opaque || image.isNull()) {
        return image;
    }
    const QRgb key = keying == Keying::BlackIsTransparent ? 0u : image.pixel(0, 0) & 0x00FFFFFFu;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == key) {
                line[x] = 0;
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
        const bool large = info.size.width() >= kLargeWidth || info.size.height() >= kLargeHeight;
        (large ? large_ones : small_ones).push_back(info);
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

// A page that paints one background bitmap over itself, as the device pages do, and then
// whatever else the mock asks for.
class MockPage : public QWidget {
  public:
    MockPage(QWidget* parent, int bitmap_id, std::function<void(QPainter&)> extra = {})
        : QWidget(parent), bitmap_id_(bitmap_id), extra_(std::move(extra)) {}

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        DrawPageBackground(painter, rect(), bitmap_id_);
        if (extra_) {
            extra_(painter);
        }
    }

  private:
    int bitmap_id_;
    std::function<void(QPainter&)> extra_;
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

MockPage* AddGroup(QWidget* parent, int bitmap_id, QRect geometry) {
    auto* page = new MockPage(parent, bitmap_id);
    page->setGeometry(geometry);
    auto* frame = new CMyGroupBox(page);
    frame->setGeometry(5, 5, geometry.width() - 10, geometry.height() - 10);
    return page;
}

// The layout preview as the pages paint it: windows in light blue with dark insides.
void PaintPreview(QPainter& painter, const std::vector<QRect>& windows) {
    const QPoint origin(5, 40);
    painter.fillRect(QRect(origin, QSize(720, 480)), QColor(152, 152, 152));
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    int label = 1;
    for (const QRect& window : windows) {
        const QRect place = window.translated(origin);
        painter.fillRect(place, QColor(89, 187, 255));
        painter.fillRect(place.adjusted(2, 2, -2, -2), QColor(55, 55, 55));
        painter.setPen(QColor(60, 180, 255));
        painter.drawText(place.center() - QPoint(5, -5), QString::number(label++));
    }
}

// The main window with its title-bar buttons, device list and scan key; a page goes at
// (20, 110), 1240 x 580.
std::unique_ptr<MockPage> MainWindow(const QString& device) {
    auto window = std::make_unique<MockPage>(nullptr, 195);
    window->resize(1280, 720);
    AddButton(window.get(), 198, QRect(1150, 0, 47, 35), "_");
    AddButton(window.get(), 197, QRect(1200, 0, 34, 35), "[]");
    AddButton(window.get(), 188, QRect(1236, 0, 42, 35), "X");
    AddButton(window.get(), 199, QRect(2, 690, 25, 30));
    AddButton(window.get(), 196, QRect(560, 55, 138, 50), "s");
    if (!device.isEmpty()) {
        auto* combo = new QComboBox(window.get());
        combo->setGeometry(80, 68, 480, 26);
        combo->addItem(device);
    }
    return window;
}

QImage Finish(MockPage& window) {
    ApplyPageControlColours(&window);
    for (auto* page : window.findChildren<MockPage*>()) {
        ApplyPageControlColours(page);
    }
    return window.grab().toImage();
}

QImage SwitcherMock() {
    auto window = MainWindow("KV-SW1200_192.0.2.21");
    auto* panel = new MockPage(window.get(), 294);
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
    lever->move(697, 90);
    lever->SetChannel(301);
    lever->SetThumb(302);
    lever->SetMargins(10, 30, 0, 35);
    lever->SetVertical(true);
    lever->SetRange(0, 129);
    lever->SetPos(80);

    auto* settings = AddGroup(panel, 194, QRect(960, 100, 250, 400));
    const int wipe_ids[9] = {360, 370, 368, 362, 359, 368, 357, 354, 365};
    const QPoint wipe_places[9] = {{30, 100},  {90, 100}, {150, 100}, {30, 160}, {90, 160},
                                   {150, 160}, {30, 220}, {90, 220},  {150, 220}};
    for (int n = 0; n < 9; ++n) {
        AddButton(settings, wipe_ids[n], QRect(wipe_places[n], QSize(50, 50)));
    }
    return Finish(*window);
}

QImage MultiviewMock() {
    auto window = MainWindow("KV-MV1600_192.0.2.11");
    std::vector<QRect> windows;
    for (int i = 0; i < 4; ++i) {
        windows.emplace_back((i % 2) * 360, (i / 2) * 240, 360, 240);
    }
    auto* container = new MockPage(
        window.get(), 187, [windows](QPainter& painter) { PaintPreview(painter, windows); });
    container->setGeometry(20, 110, 1240, 580);
    AddButton(container, 193, QRect(748, 25, 80, 75));
    AddButton(container, 204, QRect(840, 25, 80, 75));
    AddButton(container, 189, QRect(932, 25, 72, 75));
    AddButton(container, 200, QRect(1012, 25, 92, 75));
    auto* page = AddGroup(container, 194, QRect(750, 105, 490, 420));
    const int faces[7] = {171, 174, 175, 177, 179, 181, 183};
    const QPoint places[7] = {{40, 60},  {140, 60},  {40, 130}, {140, 130},
                              {40, 200}, {140, 200}, {40, 270}};
    for (int t = 0; t < 7; ++t) {
        AddButton(page, faces[t], QRect(places[t], QSize(80, 57)));
    }
    for (int k = 1; k <= 16; ++k) {
        auto* label = new QLabel(QStringLiteral("WIN  %1").arg(k, 2), page);
        label->setGeometry(260, 22 + (k - 1) * 24, 60, 20);
        label->setEnabled(k <= 4);
        auto* list = new QComboBox(page);
        list->setGeometry(330, 22 + (k - 1) * 24, 120, 20);
        list->addItem(QStringLiteral("SDI %1").arg(k));
        list->setEnabled(k <= 4);
    }
    return Finish(*window);
}

QImage MatrixMock() {
    auto window = MainWindow("KV-MX0808_192.0.2.31");
    auto* matrix = new MockPage(window.get(), 229);
    matrix->setGeometry(20, 110, 1240, 580);
    for (int k = 1; k <= 8; ++k) {
        const int x = 80 + 68 * (k - 1);
        AddButton(matrix, (k == 3 ? 212 : 211) + 2 * k, QRect(x, 180, 60, 65));
        AddButton(matrix, (k == 1 || k == 4 || k == 5 ? 212 : 211) + 2 * k, QRect(x, 380, 60, 65));
    }
    AddButton(matrix, 193, QRect(748, 25, 80, 75));
    AddButton(matrix, 200, QRect(840, 25, 90, 75));
    auto* function = AddGroup(matrix, 230, QRect(750, 105, 490, 420));
    AddButton(function, 233, QRect(200, 100, 220, 60));
    AddButton(function, 234, QRect(200, 195, 220, 65));
    AddButton(function, 232, QRect(272, 300, 140, 65));
    AddButton(function, 235, QRect(100, 300, 140, 65));
    return Finish(*window);
}

QImage QuadMock() {
    auto window = MainWindow("KV-2718_192.0.2.41");
    const std::vector<QRect> windows = {QRect(0, 0, 360, 480), QRect(360, 0, 360, 480)};
    auto* quad = new MockPage(window.get(), 187,
                              [windows](QPainter& painter) { PaintPreview(painter, windows); });
    quad->setGeometry(20, 110, 1240, 580);
    for (const QRect& frame :
         {QRect(800, 30, 400, 90), QRect(800, 130, 400, 300), QRect(800, 430, 400, 95)}) {
        auto* box = new CMyGroupBox(quad);
        box->setGeometry(frame);
    }
    const int xs[4] = {830, 920, 1010, 1100};
    for (int m = 0; m <= 8; ++m) {
        const int x = m == 8 ? 830 : xs[m % 4];
        const int y = m < 4 ? 160 : (m < 8 ? 220 : 280);
        const int height = (m == 1 || m == 2) ? 50 : 48;
        AddButton(quad, (m == 3 ? 310 : 309) + 2 * m, QRect(x, y, 68, height));
    }
    AddButton(quad, 374, QRect(830, 460, 70, 45));
    auto* time = new QLineEdit("3", quad);
    time->setGeometry(910, 470, 40, 20);
    auto* channel = new QLabel("Channel", quad);
    channel->setGeometry(850, 45, 50, 20);
    for (int i = 0; i < 4; ++i) {
        auto* number = new QLabel(QString::number(i + 1), quad);
        number->setGeometry(922 + 40 * i, 45, 20, 20);
        auto* lamp = new QLabel(quad);
        lamp->setGeometry(910 + 40 * i, 63, 30, 20);
        lamp->setPixmap(Icon(i == 2 ? 376 : 375).pixmap(32, 32));
    }
    return Finish(*window);
}

}  // namespace

QImage RenderMockPanel() {
    const QImage views[4] = {SwitcherMock(), MultiviewMock(), MatrixMock(), QuadMock()};
    QImage sheet(2560, 1440, QImage::Format_RGB32);
    QPainter painter(&sheet);
    for (int i = 0; i < 4; ++i) {
        painter.drawImage(QPoint((i % 2) * 1280, (i / 2) * 720), views[i]);
    }
    return sheet;
}

}  // namespace panoptix::skin
