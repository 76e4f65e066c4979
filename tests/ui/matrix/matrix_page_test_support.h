#pragma once
// Shared by the matrix page tests: a router on loopback UDP and on a pseudo-terminal, the page
// opened on a link and a matrix block of the test's own, and the buttons' pictures read back.
#include <gtest/gtest.h>

#include <QTest>

#include <memory>
#include <string>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"
#include "matrix/pages/matrix_control_ids.h"
#include "matrix/pages/matrix_page.h"
#include "support/pty_peer.h"
#include "support/udp_peer.h"

namespace panoptix::testing_support {

class MatrixPageTest : public ::testing::Test {
  protected:
    void SetUp() override { SelectPeer(link_, router_, 0x81, 0x01); }
    void TearDown() override {
        page_.reset();
        link_.serial_port.ClosePort(500);
    }

    // A new page on the block as it stands, as the main window opens it.
    MatrixPage& Open() {
        page_.reset();
        page_ = std::make_unique<MatrixPage>(link_, matrix_, nullptr);
        page_->show();
        return *page_;
    }

    // A control of the page itself (crosspoint buttons, tabs).
    CButtonST* PageButton(int id) const {
        // The tabs share their ids with sub page buttons: the page's own come first.
        for (QObject* child : page_->children()) {
            auto* widget = qobject_cast<CButtonST*>(child);
            if (widget != nullptr && ControlIdOf(widget) == id) {
                return widget;
            }
        }
        return nullptr;
    }
    // A control of the sub page shown.
    template <class T = CButtonST>
    T* SubPageControl(int id) const {
        return FindControlAs<T>(page_->SubPage(), id);
    }

    void Click(QAbstractButton* button) const {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void ClickInput(int k) const { Click(PageButton(matrix_id::InputId(k))); }
    void ClickOutput(int k) const { Click(PageButton(matrix_id::OutputId(k))); }
    void ClickFunction(int id) const { Click(SubPageControl(id)); }
    void ShowTab(int id) const { Click(PageButton(id)); }

    // The sixteen buttons as the operator sees them, from their pictures: "in --+----- out
    // ++++++++" ('+' lit, '-' normal, '?' any other picture).
    std::string Screen() const {
        const auto row = [this](auto id_of) {
            std::string text;
            for (int k = 1; k <= kMatrixPorts; ++k) {
                const int picture = PageButton(id_of(k))->PictureId();
                text += picture == CrosspointBitmapId(k, CrosspointPicture::kLit)      ? '+'
                        : picture == CrosspointBitmapId(k, CrosspointPicture::kNormal) ? '-'
                                                                                       : '?';
            }
            return text;
        };
        return "in " + row(matrix_id::InputId) + " out " + row(matrix_id::OutputId);
    }

    // The one datagram the router received since the last call ("" for none).
    std::string TakeDatagram() {
        const auto datagram = router_.Receive(kQuietMs);
        EXPECT_FALSE(router_.Receive(0)) << "a second datagram";
        return datagram ? std::string(datagram->bytes.begin(), datagram->bytes.end())
                        : std::string();
    }

    static constexpr int kQuietMs = 40;
    DeviceLink link_;
    MatrixState matrix_;
    UdpPeer router_;
    std::unique_ptr<MatrixPage> page_;
};

}  // namespace panoptix::testing_support
