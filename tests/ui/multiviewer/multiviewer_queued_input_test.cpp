// Input that arrives while the window waits on a device: the clicks stay queued through the wait
// and are then handled in order, each one entirely before the next, with the page tree whole.
// Worth running under ASan: a click handled inside a wait used to delete the page whose
// constructor was still running.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalBlocker>
#include <QTest>

#include <algorithm>
#include <vector>

#include "controls/control_id.h"
#include "multiviewer/pages/multiviewer_control_ids.h"
#include "multiviewer/pages/multiviewer_page.h"
#include "multiviewer/pages/multiviewer_sub_page.h"
#include "page_test_support.h"
#include "shell/main_window.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing_support::FreePanelPort;
using testing_support::MessageRecorder;
using testing_support::MultiviewerScript;
using testing_support::UdpPeer;

// Notes every click (button release) that reaches one of the watched buttons, and what the
// window looked like at that moment.
class ClickLog : public QObject {
  public:
    struct Click {
        int control_id;
        bool wait_cursor_up;
        int container_page;
        int shown_sub_pages;
    };

    ClickLog(QPointer<MultiviewerPage>& container, std::vector<QWidget*> buttons)
        : container_(container), buttons_(std::move(buttons)) {
        qApp->installEventFilter(this);
    }
    ~ClickLog() override { qApp->removeEventFilter(this); }
    ClickLog(const ClickLog&) = delete;
    ClickLog& operator=(const ClickLog&) = delete;

    const std::vector<Click>& clicks() const { return clicks_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            std::find(buttons_.begin(), buttons_.end(), watched) != buttons_.end()) {
            const auto* button = static_cast<QWidget*>(watched);
            int page = -1;
            int shown = 0;
            if (!container_.isNull()) {
                page = container_->current_page();
                const auto sub_pages = container_->findChildren<MultiviewerSubPage*>();
                shown = static_cast<int>(
                    std::count_if(sub_pages.begin(), sub_pages.end(),
                                  [](const MultiviewerSubPage* p) { return p->isVisible(); }));
            }
            clicks_.push_back(
                {ControlIdOf(button), QApplication::overrideCursor() != nullptr, page, shown});
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QPointer<MultiviewerPage>& container_;
    std::vector<QWidget*> buttons_;
    std::vector<Click> clicks_;
};

// A press and a release in the middle of button, put in the event queue as the operator's
// click would be; nothing handles them until the event loop runs.
void QueueClick(QWidget* button) {
    const QPointF at = button->rect().center();
    const QPointF global = button->mapToGlobal(at);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(
            button, new QMouseEvent(type, at, global, Qt::LeftButton, held, Qt::NoModifier));
    }
}

TEST(QueuedInputTest, ClicksDuringAWaitRunAfterItOneAtATime) {
    MessageRecorder messages;
    // A multiviewer that never answers: every status query waits its full 200 ms, and the
    // search that the scan click starts waits its two seconds and finds nothing.
    UdpPeer device(MultiviewerScript(std::nullopt));
    MainWindow dialog;
    dialog.State().link.endpoints.device_port = device.port();
    dialog.State().link.endpoints.local_port = FreePanelPort();
    dialog.State().link.endpoints.broadcast_address = "127.0.0.1";  // the search stays on loopback
    dialog.State().link.device_table[0].SetIpText("127.0.0.1");
    dialog.State().link.device_table[0].device_type = device_type::kMultiviewer;
    dialog.ListDevices({u"MV16_127.0.0.1"});
    dialog.State().link.m_device_index = 0;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.OpenDevicePage();
    QPointer<MultiviewerPage> container = qobject_cast<MultiviewerPage*>(dialog.CurrentPage());
    ASSERT_FALSE(container.isNull());
    ASSERT_EQ(device.WaitForFrames(1, 1000).size(), 1u);

    QWidget* umd_button = FindControl(container.data(), mv_id::kUmdPageButton);
    QWidget* layout_button = FindControl(container.data(), mv_id::kControlPageButton);
    QWidget* colour_button = FindControl(container.data(), mv_id::kColorPageButton);
    QWidget* scan_button = FindControl(&dialog, main_dialog_id::kScan);
    ClickLog log(container, {umd_button, layout_button, colour_button, scan_button});

    // The operator clicks four times while the status page below queries the device: the UMD
    // tab, the layout tab (whose page queries again), the colour tab, and scan (which searches
    // and closes the whole multiviewer page).
    QueueClick(umd_button);
    QueueClick(layout_button);
    QueueClick(colour_button);
    QueueClick(scan_button);

    container->ShowPage(1);  // the status page waits for its reply as it opens

    EXPECT_TRUE(log.clicks().empty()) << "a click was handled inside the wait";
    EXPECT_EQ(container->current_page(), 1);
    EXPECT_EQ(dialog.CurrentPage(), container.data());

    QCoreApplication::processEvents();  // the queued clicks, each with its own wait
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Each click reached its button with no wait running, after the one before had finished:
    // the page it found is the one the previous click opened, and always exactly one.
    ASSERT_EQ(log.clicks().size(), 4u);
    const int expected_ids[] = {mv_id::kUmdPageButton, mv_id::kControlPageButton,
                                mv_id::kColorPageButton, main_dialog_id::kScan};
    const int page_found[] = {1, 3, 2, 5};
    for (size_t i = 0; i < 4; ++i) {
        const ClickLog::Click& click = log.clicks()[i];
        EXPECT_EQ(click.control_id, expected_ids[i]) << i;
        EXPECT_FALSE(click.wait_cursor_up) << i;
        EXPECT_EQ(click.container_page, page_found[i]) << i;
        EXPECT_EQ(click.shown_sub_pages, 1) << i;
    }

    // Three status queries (opening, status page, layout page), then the one search; the
    // search found nothing and the page it closed is gone.
    EXPECT_THAT(device.Commands(), ElementsAre(0x32, 0x32, 0x32, command::kDiscovery));
    EXPECT_TRUE(container.isNull());
    EXPECT_EQ(dialog.CurrentPage(), nullptr);
    EXPECT_EQ(dialog.DeviceCombo()->currentText(), QStringLiteral("No Device Found"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace panoptix
