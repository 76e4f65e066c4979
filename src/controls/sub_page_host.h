#pragma once
// SubPageHost: the one sub page a page shows in an area of its own (the multiviewer's sub pages,
// the switcher's settings pages, the matrix router's sub pages). The owner makes each page, as
// a child of its own, and hands it over; a page replaced is hidden at once and deleted once
// control is back in the event loop, never while one of its handlers runs (the press that
// replaces a page may come from the page itself).
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace panoptix {

class SubPageHost {
  public:
    explicit SubPageHost(const QRect& area) : area_(area) {}
    // The owner is going: the page shown goes with it, at once.
    ~SubPageHost();
    SubPageHost(const SubPageHost&) = delete;
    SubPageHost& operator=(const SubPageHost&) = delete;

    // The page shown, or nullptr.
    QWidget* Current() const { return page_.data(); }
    // Hides the page shown, if there is one, and deletes it later; none is shown after.
    void Remove();
    // Removes the page shown (unless it is page), then places page in the area and shows it.
    void Show(QWidget* page);

  private:
    QRect area_;
    QPointer<QWidget> page_;
};

}  // namespace panoptix
