#pragma once
// What the four settings pages of the switcher panel share: the 250 x 400 page in the panel's
// settings area with skin bitmap 194 stretched over it, the rounded group frame at (5, 5)
// 240 x 390, the page control colours, and the key and mouse handling. The page sees Enter
// and Esc before its controls do and swallows them with the trace " mian  esc  \n"; it looks
// at a mouse release over one of its sliders before the slider does, then passes it on.
// Controls are placed from tables of (control id, position, size) so that a test finds them by
// id; ids are unique within one page only.
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>

#include <array>

#include "switcher/core/switcher_panel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace panoptix {

class SwitcherSettingsPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kPageSize{250, 400};
    static constexpr QRect kFrameRect{5, 5, 240, 390};
    static constexpr int kBackgroundBitmap = 194;

    SwitcherSettingsPage(SwitcherPanel& panel, int frame_id, QWidget* parent);

  protected:
    // Rows of the pages: a list with its caption on its left, or a slider with its caption
    // above it and its level field on its right.
    static constexpr QRect ListCaptionAt(int y) { return {20, y, 92, 24}; }
    static constexpr QRect ListAt(int y) { return {112, y, 118, 24}; }
    static constexpr QRect SliderCaptionAt(int y) { return {20, y, 120, 20}; }
    static constexpr QRect SliderAt(int y) { return {20, y + 22, 160, 26}; }
    static constexpr QRect FieldAt(int y) { return {188, y + 23, 42, 24}; }

    SwitcherPanel& Panel() const { return panel_; }
    const AllSwitcherPageData& Data() const { return panel_.data(); }

    QLabel* AddCaption(const QString& text, const QRect& rect);
    // A drop-down list showing entry `shown` (none when it is not an entry); no pick is
    // reported for it. The list reports the operator's picks with activated().
    QComboBox* AddList(int control_id, const QRect& rect, const QStringList& entries, int shown);
    // A horizontal track bar of 0..maximum, a tick at every step, at position.
    QSlider* AddSlider(int control_id, const QRect& rect, int maximum, int position);
    // A read-only level field.
    QLineEdit* AddField(int control_id, const QRect& rect);

    // Once the page has made its controls: page colours, Enter and Esc swallowed on every one
    // (EnterEscFilter), and the sliders' releases watched.
    void FinishControls();

    // The mouse button was released over slider (before the slider handles the release).
    virtual void OnSliderReleased(QSlider* slider);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    SwitcherPanel& panel_;
};

// The source list of the KEY 1, KEY 2 and PIP pages: "Cam 01" to "Cam 10", then "MP".
QStringList SourceListEntries();
// Entries from a table of texts.
template <size_t N>
QStringList ListEntries(const std::array<const char*, N>& texts) {
    QStringList entries;
    for (const char* text : texts) {
        entries << QString::fromUtf8(text);
    }
    return entries;
}

}  // namespace panoptix
