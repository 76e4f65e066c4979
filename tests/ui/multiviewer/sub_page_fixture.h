#pragma once
// What the sub-page tests share: a page made on its own over a state connected to a fake
// multiviewer on loopback that answers the status query with a rich reply.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/ip_address_field.h"
#include "multiviewer/core/preview_geometry.h"
#include "multiviewer/core/status_decoder.h"
#include "multiviewer/pages/multiviewer_audio_page.h"
#include "multiviewer/pages/multiviewer_colour_page.h"
#include "multiviewer/pages/multiviewer_control_ids.h"
#include "multiviewer/pages/multiviewer_page.h"
#include "multiviewer/pages/multiviewer_preview_painter.h"
#include "multiviewer/pages/multiviewer_settings_page.h"
#include "multiviewer/pages/multiviewer_status_page.h"
#include "multiviewer/pages/multiviewer_umd_page.h"
#include "multiviewer/status_reply_builder.h"
#include "page_test_support.h"
#include "ui/list_pick.h"

namespace panoptix::testing_support {

inline QStringList EntriesOf(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    return entries;
}

inline QStringList CaptionsOf(const QWidget* page) {
    QStringList captions;
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->text().isEmpty() && label->text() != QStringLiteral(".")) {
            captions << label->text();
        }
    }
    return captions;
}

class SubPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device_ = std::make_unique<UdpPeer>(MultiviewerScript(testing::RichReply().Frame()));
        ConnectTo(state_, *device_);
    }

    template <class Page>
    Page& Make() {
        page_ = std::make_unique<Page>(state_.link, state_.multiviewer, nullptr);
        page_->show();
        return static_cast<Page&>(*page_);
    }

    QComboBox* List(int id) const { return FindControlAs<QComboBox>(page_.get(), id); }
    QLineEdit* Field(int id) const { return FindControlAs<QLineEdit>(page_.get(), id); }

    // The one frame the device receives next, or an empty one after the wait.
    std::vector<uint8_t> NextFrame() {
        std::vector<uint8_t> frame = device_->WaitForFrame(1);
        device_->Forget();
        return frame;
    }
    bool NothingSent() const { return device_->WaitForFrames(1, 150).empty(); }

    MessageRecorder messages_;
    testing_support::MultiviewerPageState state_;
    std::unique_ptr<UdpPeer> device_;
    std::unique_ptr<QWidget> page_;
};

}  // namespace panoptix::testing_support
