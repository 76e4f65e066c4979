#pragma once
// What every multiviewer sub-page shares: the 490 x 420 page with skin bitmap 194 stretched
// over it, the rounded group frame at (5, 5) 480 x 410, the page control colours, and the key
// handling: the page sees Enter and Esc before its controls do and swallows them with the
// trace " mian  esc  \n" (a page that handles Enter itself overrides OnEnterKey). Controls are
// placed from tables of (control id, position, size) so that a test finds them by id.
#include <QComboBox>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>

#include "link/device_link.h"
#include "multiviewer/core/multiviewer_actions.h"
#include "multiviewer/core/multiviewer_commands.h"
#include "multiviewer/core/multiviewer_state.h"

class QLabel;
class QLineEdit;
class QPainter;

class CMyGroupBox;

namespace panoptix {

class MultiviewerSubPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kPageSize{490, 420};
    static constexpr QRect kFrameRect{5, 5, 480, 410};
    static constexpr int kBackgroundBitmap = 194;

    MultiviewerSubPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);

  protected:
    // A caption (static control) and a drop-down list beside it, as a page table row.
    struct ListRow {
        int list_id;
        const char* caption;
        QRect caption_rect;
        QRect list_rect;
    };

    DeviceLink& Link() const { return link_; }
    MultiviewerState& Multiviewer() const { return multiviewer_; }
    // The link a command takes now: LAN while m_eState is 0, else the serial port.
    CommandRoute CommandLink() const { return RouteForMode(link_.mode()); }

    QLabel* AddCaption(const QString& text, const QRect& rect, int control_id = 0);
    QComboBox* AddList(int control_id, const QRect& rect, const QStringList& entries);
    QComboBox* AddListRow(const ListRow& row, const QStringList& entries);
    QLineEdit* AddField(int control_id, const QRect& rect);

    // Once the page has made its controls: page colours, and the key handling (EnterEscFilter)
    // on every one.
    void FinishControls();

    // Enter pressed with target holding the keyboard focus; the key is consumed either way.
    virtual void OnEnterKey(QWidget* target);
    virtual void OnEscKey();
    // Lines and texts the page paints over its background.
    virtual void PaintPage(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;

  private:
    DeviceLink& link_;
    MultiviewerState& multiviewer_;
    CMyGroupBox* frame_ = nullptr;
};

// Selects an entry without the change notification, as a page sets its lists from the state;
// an index outside the list leaves it without a selection.
void SelectQuietly(QComboBox* list, int index);
// Entries "<prefix>1" .. "<prefix>count" built with a printf-style pattern holding one %d.
QStringList NumberedEntries(const char* pattern, int first, int last);
// "OFF", "ON".
QStringList OffOnEntries();

// The pen of the lines the pages paint between their sections, and of their painted texts.
void UseSectionLinePen(QPainter& painter);
void UseSectionTextPen(QPainter& painter);

}  // namespace panoptix
