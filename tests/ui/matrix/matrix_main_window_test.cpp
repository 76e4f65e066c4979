// The matrix page as the operator gets it: the main window opens it for the router's two type
// bytes, on the router's own block, with the lock cleared and the routes kept.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSignalBlocker>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "matrix/pages/matrix_control_ids.h"
#include "matrix/pages/matrix_page.h"
#include "shell/main_window.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

TEST(MainWindowMatrixTest, OpensForBothTypeBytesWithTheLockClearedAndTheRecordKept) {
    testing_support::MessageRecorder messages;
    MainWindow dialog;
    for (const uint8_t type_byte : {0x81, 0x82}) {
        dialog.State().link.device_table[0].SetIpText("127.0.0.1");
        dialog.State().link.device_table[0].device_type = type_byte;
        dialog.ListDevices({u"MX88_127.0.0.1"});
        dialog.State().link.m_device_index = 0;
        MatrixState& router =
            dialog.State().routers.For(LanDeviceId(dialog.State().link.device_table[0]));
        // What the operator left behind: input 6 on outputs 2 and 7, and the panel locked.
        router.m_eMatrixState = 1;
        router.m_matrix_input = 6;
        router.m_matrix_route = {0, 6, 0, 0, 0, 0, 6, 0};
        router.m_matrix_lock = ~0;
        dialog.show();

        dialog.OpenDevicePage();

        auto* page = qobject_cast<MatrixPage*>(dialog.CurrentPage());
        ASSERT_NE(page, nullptr) << int{type_byte};
        EXPECT_EQ(page->geometry(), QRect(20, 110, 1240, 580));
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(router.m_matrix_lock, 0);
        EXPECT_EQ(router.m_matrix_input, 6);
        EXPECT_EQ(FindControlAs<CButtonST>(page->SubPage(), matrix_id::kLock)->PictureId(), 231);
        const auto picture = [page](int id) {
            for (QObject* child : page->children()) {
                auto* button = qobject_cast<CButtonST*>(child);
                if (button != nullptr && ControlIdOf(button) == id) {
                    return button->PictureId();
                }
            }
            return 0;
        };
        EXPECT_EQ(picture(matrix_id::InputId(6)), 224);   // lit
        EXPECT_EQ(picture(matrix_id::OutputId(7)), 226);  // lit
        EXPECT_EQ(picture(matrix_id::OutputId(6)), 223);  // normal
    }
    EXPECT_TRUE(messages.texts.empty());
}

}  // namespace
}  // namespace panoptix
