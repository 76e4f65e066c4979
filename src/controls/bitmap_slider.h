#pragma once
// CBitmapSlider: a slider drawn from two skin pictures, a channel (the track) and a thumb
// (transparent where it has the colour of its top-left pixel). It reports every change of
// position to its owner with two signals that are delivered through the event loop, like
// posted messages, and carry the control id and the new position.
#include <QPixmap>
#include <QWidget>

class CBitmapSlider : public QWidget {
    Q_OBJECT

  public:
    explicit CBitmapSlider(QWidget* parent = nullptr, int control_id = 0);

    // Loads the channel picture and sizes the control to it (keeping its position); the
    // channel is drawn opaque. False, with nothing changed, if the id has no picture.
    bool SetChannel(int resource_id);
    // Loads the thumb picture. False, with nothing changed, if the id has no picture.
    bool SetThumb(int resource_id);
    void SetMargins(int left, int top, int right, int bottom);
    void SetVertical(bool on);
    void SetRange(int minimum, int maximum);
    // Stores the position limited to the range (first to the maximum, then to the minimum)
    // and repaints.
    void SetPos(int position);
    int GetPos() const { return position_; }
    void SetPageStep(int step);
    int GetPageStep() const { return page_step_; }
    int GetRangeMin() const { return minimum_; }
    int GetRangeMax() const { return maximum_; }
    bool IsVertical() const { return vertical_; }
    int ControlId() const { return control_id_; }
    QSize ThumbSize() const { return thumb_.size(); }
    bool IsDragging() const { return dragging_; }
    // A dotted focus rectangle while the control has the focus (on by default).
    void SetDrawFocusRect(bool on);

    // The thumb centre along the travel axis for a position. With an empty range or no
    // travel left by the margins, the thumb stays at the start of its travel.
    int PositionToPixel(int position) const;
    // The position for a thumb centre; the minimum with an empty range or no travel.
    int PixelToPosition(int pixel) const;

  signals:
    // During a drag, each time the position changes.
    void SliderMoving(int control_id, int position);
    // When the mouse button is released, and after every keyboard move.
    void SliderMoved(int control_id, int position);
    // A mouse click on the control (after its release), delivered at once.
    void Clicked(int control_id);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int AxisSize() const;
    int StartMargin() const;
    int EndMargin() const;
    int ThumbLength() const;
    int Travel() const;
    int AxisCoordinate(const QPointF& point) const;
    void DragTo(int pointer);
    void PostMoving();
    void PostMoved();

    int control_id_;
    int minimum_ = 0;
    int maximum_ = 255;
    int position_ = 0;
    int page_step_ = 20;
    int margin_left_ = 0;
    int margin_top_ = 0;
    int margin_right_ = 0;
    int margin_bottom_ = 0;
    bool vertical_ = false;
    bool dragging_ = false;
    bool focused_ = false;
    bool draw_focus_rect_ = true;
    int grab_offset_ = 0;
    QPixmap channel_;
    QPixmap thumb_;  // made transparent where it had its top-left pixel's colour
};

// Also reachable as panoptix::CBitmapSlider.
namespace panoptix {
using ::CBitmapSlider;
}  // namespace panoptix
