#pragma once
// CButtonST: a flat push button that shows a picture (pure black pixels are transparent), an
// optional caption, reacts to the mouse hovering over it and, in transparent mode, draws the
// parent's background that it captured the first time it was painted.
#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

#include <array>

class CButtonST : public QAbstractButton {
    Q_OBJECT

  public:
    // Colour slots, in order: background and text while hovered or pressed, background and
    // text otherwise, background and text while focused.
    enum ColourSlot {
        kBackgroundActive = 0,
        kTextActive = 1,
        kBackgroundNormal = 2,
        kTextNormal = 3,
        kBackgroundFocused = 4,
        kTextFocused = 5,
        kColourSlots = 6,
    };

    explicit CButtonST(QWidget* parent = nullptr);
    ~CButtonST() override;

    // Stores the main picture and, if not null, a second picture shown while the button is
    // neither hovered nor pressed. Returns 0 on success, 1 if a picture has no size, 2 if its
    // mask cannot be made; on failure the button has no picture. Repaints.
    int SetPicture(const QPixmap& main, const QPixmap& second = QPixmap());
    // The skin's bitmap as the main picture, no second picture; remembers the id on success.
    int SetPictureById(int resource_id);
    // The id of the last successful SetPictureById, 0 if none (or if SetPicture came after).
    int PictureId() const { return picture_id_; }
    bool HasPicture() const { return !main_.masked.isNull(); }
    QSize PictureSize() const { return main_.size; }

    // Draw over the parent's background: drops the background cache so that it is captured
    // afresh at the next paint, and repaints.
    void SetTransparent();
    bool IsTransparent() const { return transparent_; }
    // Whether a captured background is held (tests and pages that move under the button).
    bool HasBackgroundCache() const { return !background_cache_.isNull(); }

    // In flat style, a thin 3D rectangle while hovered (raised) or pressed (sunken).
    void SetBorder(bool on);
    bool HasBorder() const { return border_; }
    void SetFlat(bool on);
    bool IsFlat() const { return flat_; }
    void SetDrawDisabledGreyed(bool on);
    void SetFocusRectInFlatStyle(bool on);

    // Slots 0-5 (ColourSlot); other slots are ignored.
    void SetColour(int slot, const QColor& colour);
    QColor Colour(int slot) const;

    bool IsHovered() const { return hovered_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

    // The background when not transparent: colour 0 when hovered or pressed, 4 when
    // focused, else 2. CShadeButtonST draws its shaded image instead.
    virtual void DrawBackground(QPainter& painter, bool hovered, bool pressed, bool focused);

    bool IsPressedLook() const;

  private:
    struct Picture {
        QPixmap masked;  // black pixels made transparent
        QPixmap greyed;  // the disabled look, made when first needed
        QSize size;
    };

    static int MakePicture(const QPixmap& source, Picture& picture);
    const QPixmap& GreyedOf(Picture& picture);
    void SetHovered(bool on);
    void DrawFrame(QPainter& painter, bool pressed);
    QRect DrawPicture(QPainter& painter, bool pressed);
    void DrawCaption(QPainter& painter, const QRect& caption_area, bool pressed);

    Picture main_;
    Picture second_;
    int picture_id_ = 0;
    QPixmap background_cache_;
    std::array<QColor, kColourSlots> colours_;
    bool flat_ = true;
    bool border_ = true;
    bool transparent_ = false;
    bool draw_disabled_greyed_ = true;
    bool focus_rect_in_flat_ = false;
    bool hovered_ = false;
};

// Also reachable as panoptix::CButtonST.
namespace panoptix {
using ::CButtonST;
}  // namespace panoptix

namespace panoptix {

// The skin's grey text button ("Set  IP", "Set  Default", the buttons of the settings window):
// dark grey 64, 64, 64 behind light grey 128, 128, 128 text, in colour slots 0-4.
void UseSkinTextButtonColours(CButtonST& button);

}  // namespace panoptix
