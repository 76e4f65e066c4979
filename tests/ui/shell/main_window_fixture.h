#pragma once
// What the main window tests share: a main window whose search stays on loopback, stand-in
// pages that note how they were opened, and a few readers of what the window shows.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSignalBlocker>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <map>

#include "controls/control_id.h"
#include "controls/shade_button_st.h"
#include "link/udp_transport.h"
#include "shell/configure_window.h"
#include "shell/main_window.h"
#include "shell/message_box_sink.h"
#include "shell_test_support.h"

namespace panoptix::testing_support {

inline const QRect kPageRect{20, 110, 1240, 580};

// A replaced page is removed with deleteLater(): this is the event loop getting to it.
inline void DeleteReplacedPages() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline std::vector<std::string> ComboTexts(const QComboBox* combo) {
    std::vector<std::string> texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts.push_back(combo->itemText(i).toStdString());
    }
    return texts;
}

// Lines of the trace from the first one equal to `from` on.
inline std::vector<std::string> TracesFrom(const TraceRecorder& traces, const std::string& from) {
    const auto lines = traces.lines();
    const auto it = std::find(lines.begin(), lines.end(), from);
    return {it, lines.end()};
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog_ = std::make_unique<MainWindow>();
        // Unicast on loopback only: nothing is broadcast from a test.
        dialog_->State().link.endpoints.broadcast_address = "127.0.0.1";
        dialog_->State().link.endpoints.local_port = FreeLoopbackPort();
    }

    // Stand-in pages for the kinds given; they note whether the wait cursor was up.
    void RegisterStandInPages(std::initializer_list<DevicePageKind> kinds) {
        for (const DevicePageKind kind : kinds) {
            dialog_->DevicePages().Register(kind, [this, kind](PanoptixState&, const DeviceId&,
                                                               QWidget* parent, const QRect& at) {
                auto* page = new StandInPage(kind, parent);
                page->setGeometry(at);
                const QCursor* cursor = QApplication::overrideCursor();
                waited_while_opening_ = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
                combo_text_while_opening_ = dialog_->DeviceCombo()->currentText().toStdString();
                return page;
            });
        }
    }

    StandInPage* Page() const { return dynamic_cast<StandInPage*>(dialog_->CurrentPage()); }

    // Puts devices into the table and the list without a search, selecting none; entry i is
    // named "device i" unless names says otherwise.
    void ListDevices(const std::vector<uint8_t>& type_bytes,
                     std::vector<std::u16string> names = {}) {
        for (size_t i = 0; i < type_bytes.size(); ++i) {
            dialog_->State().link.device_table[i].SetIpText("127.0.0.1");
            dialog_->State().link.device_table[i].device_type = type_bytes[i];
            if (names.size() <= i) {
                names.push_back(QStringLiteral("device %1").arg(i).toStdU16String());
            }
        }
        dialog_->ListDevices(names);
    }

    MessageRecorder messages_;
    std::unique_ptr<MainWindow> dialog_;
    bool waited_while_opening_ = false;
    std::string combo_text_while_opening_;
};

}  // namespace panoptix::testing_support
