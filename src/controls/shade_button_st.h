#pragma once
// CShadeButtonST: a CButtonST whose background, when not transparent, is a computed shaded
// image: a diagonal ramp through the button-face colours with a little noise and a green tint.
#include "controls/button_st.h"

#include <QImage>

class CShadeButtonST : public CButtonST {
    Q_OBJECT

  public:
    explicit CShadeButtonST(QWidget* parent = nullptr);

    // Computes the normal and the hovered shaded backgrounds for the button's current size.
    void ApplyShading();
    bool HasShading() const { return !shade_normal_.isNull(); }
    // The computed backgrounds (8-bit images with their palettes).
    const QImage& ShadeNormal() const { return shade_normal_; }
    const QImage& ShadeHovered() const { return shade_hovered_; }

  protected:
    void DrawBackground(QPainter& painter, bool hovered, bool pressed, bool focused) override;

  private:
    QImage shade_normal_;
    QImage shade_hovered_;
    QPixmap normal_pixmap_;
    QPixmap hovered_pixmap_;
};

// Also reachable as panoptix::CShadeButtonST.
namespace panoptix {
using ::CShadeButtonST;
}  // namespace panoptix
