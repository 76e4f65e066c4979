#include "controls/button_st.h"

#include "controls/parent_background.h"
#include "resources/skin.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <unordered_map>
#include <utility>

namespace {

// Where the picture starts when the button also has a caption.
constexpr int kPictureLeftWithCaption = 3;
// The focus rectangle is inset by this many pixels.
constexpr int kFocusInset = 3;

// The disabled look of a picture: all colour removed and its brightness squeezed into a
// narrow, dim band of greys, so the shape stays readable but plainly inactive on the dark
// pages.
QPixmap MakeGreyed(const QPixmap& masked) {
    QImage image = masked.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            if (qAlpha(pixel) == 0) {
                continue;
            }
            const int grey = qGray(pixel);
            const int dim = 64 + grey * 80 / 255;
            line[x] = qRgba(dim, dim, dim, qAlpha(pixel));
        }
    }
    return QPixmap::fromImage(image);
}

// A picture with its pure black pixels made fully transparent: how a button shows it. Null if
// the picture cannot be converted.
QPixmap MaskBlack(const QImage& source) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        return QPixmap();
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == 0) {
                line[x] = 0;
            }
        }
    }
    return QPixmap::fromImage(std::move(image));
}

// The skin's pictures as buttons show them, made once per id and shared by every button that
// shows the id: a press that swaps a button's picture, and a page opened again, take them from
// here, and the skin's opaque copy is not kept beside them. Emptied when the application object
// goes, so that no pixmap outlives it.
bool skin_pictures_release_registered = false;

std::unordered_map<int, QPixmap>& SkinPictures() {
    static std::unordered_map<int, QPixmap> pictures;
    if (!skin_pictures_release_registered) {
        qAddPostRoutine([] {
            SkinPictures().clear();
            skin_pictures_release_registered = false;
        });
        skin_pictures_release_registered = true;
    }
    return pictures;
}

}  // namespace

CButtonST::CButtonST(QWidget* parent) : QAbstractButton(parent) {
    const QPalette& palette = QApplication::palette();
    for (int slot = 0; slot < kColourSlots; ++slot) {
        colours_[slot] =
            (slot % 2 == 0) ? palette.color(QPalette::Button) : palette.color(QPalette::ButtonText);
    }
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

CButtonST::~CButtonST() = default;

int CButtonST::MakePicture(const QPixmap& source, Picture& picture) {
    picture = Picture{};
    if (source.isNull() || source.width() <= 0 || source.height() <= 0) {
        return 1;
    }
    picture.masked = MaskBlack(source.toImage());
    if (picture.masked.isNull()) {
        return 2;
    }
    picture.masked.setDevicePixelRatio(source.devicePixelRatio());
    picture.size = source.deviceIndependentSize().toSize();
    return 0;
}

int CButtonST::SetPicture(const QPixmap& main, const QPixmap& second) {
    picture_id_ = 0;
    second_ = Picture{};
    int result = MakePicture(main, main_);
    if (result == 0 && !second.isNull()) {
        result = MakePicture(second, second_);
    }
    if (result != 0) {
        main_ = Picture{};
        second_ = Picture{};
    }
    updateGeometry();
    update();
    return result;
}

int CButtonST::SetPictureById(int resource_id) {
    auto& pictures = SkinPictures();
    auto known = pictures.find(resource_id);
    if (known == pictures.end()) {
        const QImage source = panoptix::skin::RenderResource(resource_id);
        if (source.isNull() || source.width() <= 0 || source.height() <= 0) {
            picture_id_ = 0;
            return SetPicture(QPixmap());
        }
        // Through a pixmap first, like any picture given to SetPicture: a picture with alpha (an
        // icon) is keyed after premultiplication, the same whichever way it came.
        QPixmap masked = MaskBlack(QPixmap::fromImage(source).toImage());
        if (masked.isNull()) {
            picture_id_ = 0;
            main_ = Picture{};
            second_ = Picture{};
            updateGeometry();
            update();
            return 2;
        }
        known = pictures.emplace(resource_id, std::move(masked)).first;
    }
    second_ = Picture{};
    main_ = Picture{known->second, QPixmap(), known->second.size()};
    picture_id_ = resource_id;
    updateGeometry();
    update();
    return 0;
}

void CButtonST::SetTransparent() {
    transparent_ = true;
    background_cache_ = QPixmap();
    update();
}

void CButtonST::SetBorder(bool on) {
    border_ = on;
    update();
}

void CButtonST::SetFlat(bool on) {
    flat_ = on;
    update();
}

void CButtonST::SetDrawDisabledGreyed(bool on) {
    draw_disabled_greyed_ = on;
    update();
}

void CButtonST::SetFocusRectInFlatStyle(bool on) {
    focus_rect_in_flat_ = on;
    update();
}

void CButtonST::SetColour(int slot, const QColor& colour) {
    if (slot < 0 || slot >= kColourSlots) {
        return;
    }
    colours_[slot] = colour;
    update();
}

QColor CButtonST::Colour(int slot) const {
    if (slot < 0 || slot >= kColourSlots) {
        return QColor();
    }
    return colours_[slot];
}

QSize CButtonST::sizeHint() const {
    if (HasPicture()) {
        const int extra = text().isEmpty() ? 0 : kPictureLeftWithCaption;
        return main_.size + QSize(extra, 0);
    }
    return QSize(75, 23);
}

bool CButtonST::IsPressedLook() const {
    return isDown() || (isCheckable() && isChecked());
}

const QPixmap& CButtonST::GreyedOf(Picture& picture) {
    if (picture.greyed.isNull() && !picture.masked.isNull()) {
        picture.greyed = MakeGreyed(picture.masked);
    }
    return picture.greyed;
}

void CButtonST::SetHovered(bool on) {
    if (hovered_ == on) {
        return;
    }
    hovered_ = on;
    update();
}

void CButtonST::enterEvent(QEnterEvent* event) {
    // While the left button is held down (a drag from elsewhere) a button does not light up.
    if (flat_ && isEnabled() && !(QApplication::mouseButtons() & Qt::LeftButton)) {
        SetHovered(true);
    }
    QAbstractButton::enterEvent(event);
}

void CButtonST::leaveEvent(QEvent* event) {
    SetHovered(false);
    QAbstractButton::leaveEvent(event);
}

void CButtonST::mouseMoveEvent(QMouseEvent* event) {
    if (flat_ && isEnabled()) {
        const bool inside = rect().contains(event->position().toPoint());
        const bool left_held = event->buttons() & Qt::LeftButton;
        if (inside && !hovered_ && !left_held) {
            SetHovered(true);
        } else if (!inside && hovered_) {
            SetHovered(false);
        }
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CButtonST::focusOutEvent(QFocusEvent* event) {
    SetHovered(false);
    QAbstractButton::focusOutEvent(event);
}

void CButtonST::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        SetHovered(false);
    }
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        SetHovered(false);
    }
    QAbstractButton::changeEvent(event);
}

bool CButtonST::event(QEvent* event) {
    if (event->type() == QEvent::Hide || event->type() == QEvent::WindowBlocked) {
        SetHovered(false);
    }
    return QAbstractButton::event(event);
}

void CButtonST::DrawBackground(QPainter& painter, bool hovered, bool pressed, bool focused) {
    QColor colour = colours_[kBackgroundNormal];
    if (hovered || pressed) {
        colour = colours_[kBackgroundActive];
    } else if (focused) {
        colour = colours_[kBackgroundFocused];
    }
    painter.fillRect(rect(), colour);
}

void CButtonST::DrawFrame(QPainter& painter, bool pressed) {
    if (!flat_ || !border_ || (!pressed && !hovered_)) {
        return;
    }
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor top_left = pressed ? dark : light;
    const QColor bottom_right = pressed ? light : dark;
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(top_left);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(bottom_right);
    painter.drawLine(0, bottom, right, bottom);
    painter.drawLine(right, 0, right, bottom);
}

QRect CButtonST::DrawPicture(QPainter& painter, bool pressed) {
    const bool use_second = !second_.masked.isNull() && !IsPressedLook() && !hovered_;
    Picture& picture = use_second ? second_ : main_;
    if (picture.masked.isNull()) {
        return QRect();
    }
    const QSize size = picture.size;
    QPoint origin;
    if (text().isEmpty()) {
        origin = QPoint((width() - size.width()) / 2, (height() - size.height()) / 2);
    } else {
        origin = QPoint(kPictureLeftWithCaption, (height() - size.height()) / 2);
    }
    const QPoint shift = (pressed && !isCheckable()) ? QPoint(1, 1) : QPoint(0, 0);
    if (!isEnabled() && draw_disabled_greyed_) {
        painter.drawPixmap(origin + shift, GreyedOf(picture));
    } else {
        painter.drawPixmap(origin + shift, picture.masked);
    }
    // The caption area begins where the unshifted picture ends.
    return QRect(origin, size);
}

void CButtonST::DrawCaption(QPainter& painter, const QRect& caption_area, bool pressed) {
    if (text().isEmpty() || caption_area.isEmpty()) {
        return;
    }
    QRect area = caption_area;
    if (pressed && !isCheckable()) {
        area.translate(1, 1);
    }
    painter.setFont(font());
    if (!isEnabled()) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(area.translated(1, 1), Qt::AlignCenter, text());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(area, Qt::AlignCenter, text());
        return;
    }
    const bool active = hovered_ || pressed;
    painter.setPen(active ? colours_[kTextActive] : colours_[kTextNormal]);
    painter.drawText(area, Qt::AlignCenter, text());
}

void CButtonST::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const bool pressed = IsPressedLook();
    const bool focused = hasFocus();

    if (transparent_) {
        if (background_cache_.isNull()) {
            background_cache_ = panoptix::CaptureParentBackground(this, rect());
        }
        if (!background_cache_.isNull()) {
            painter.drawPixmap(0, 0, background_cache_);
        }
    } else {
        DrawBackground(painter, hovered_, pressed, focused);
    }

    DrawFrame(painter, pressed);

    const QRect picture_rect = DrawPicture(painter, pressed);
    QRect caption_area = rect();
    if (picture_rect.isValid()) {
        caption_area.setLeft(picture_rect.right() + 1);
    }
    DrawCaption(painter, caption_area, pressed);

    if (focused && (!flat_ || focus_rect_in_flat_)) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

namespace panoptix {

void UseSkinTextButtonColours(CButtonST& button) {
    const QColor dark{64, 64, 64};
    const QColor light{128, 128, 128};
    button.SetColour(CButtonST::kBackgroundActive, dark);
    button.SetColour(CButtonST::kTextActive, light);
    button.SetColour(CButtonST::kBackgroundNormal, dark);
    button.SetColour(CButtonST::kTextNormal, light);
    button.SetColour(CButtonST::kBackgroundFocused, dark);
}

}  // namespace panoptix
