// The UMD page offscreen: labels, Enter, the field limit and the on/off switch.
#include "sub_page_fixture.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing::RichReply;
using testing_support::CommandOf;
using testing_support::ConnectTo;
using testing_support::kPreviewAt;
using testing_support::MultiviewerScript;
using testing_support::PayloadOf;
using testing_support::Pick;
using testing_support::PixelAt;
using testing_support::Shot;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;

using testing_support::CaptionsOf;
using testing_support::EntriesOf;
using testing_support::SubPageTest;

TEST_F(SubPageTest, UmdPageShowsTheLabelsAndTheOnOffState) {
    state_.multiviewer.umd_name[0] = u"CAM 1";
    state_.multiviewer.umd_name[15] =
        u"Sixteen chars!!!";  // a device label longer than typing allows
    state_.multiviewer.umd_shown = 1;
    Make<MultiviewerUmdPage>();

    EXPECT_EQ(EntriesOf(List(mv_id::kUmdOnOffList)), QStringList({"UMD OFF", "UMD ON"}));
    EXPECT_EQ(List(mv_id::kUmdOnOffList)->currentIndex(), 1);
    EXPECT_EQ(Field(1035)->text(), "CAM 1");
    EXPECT_EQ(Field(1037)->text(), "");
    EXPECT_EQ(Field(1065)->text(), "Sixteen chars!!!");
    EXPECT_TRUE(CaptionsOf(page_.get()).contains("All Channel UMD"));
    EXPECT_TRUE(CaptionsOf(page_.get()).contains("Window16"));
    // Windows 1-8 on the left, 9-16 on the right, row by row.
    EXPECT_LT(Field(mv_id::UmdFieldId(1))->x(), Field(mv_id::UmdFieldId(9))->x());
    EXPECT_EQ(Field(mv_id::UmdFieldId(1))->y(), Field(mv_id::UmdFieldId(9))->y());
    EXPECT_LT(Field(mv_id::UmdFieldId(1))->y(), Field(mv_id::UmdFieldId(2))->y());
}

TEST_F(SubPageTest, UmdEnterSendsTheFocusedFieldsLabel) {
    Make<MultiviewerUmdPage>();
    TraceRecorder traces;
    QLineEdit* field = Field(mv_id::UmdFieldId(3));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("AB"));
    QTest::keyClick(field, Qt::Key_Return);

    const std::vector<uint8_t> frame = NextFrame();
    // A5 6C, length 32, device bytes, LAN link, zeros, 0x1E, window 3, fixed fields, "AB".
    ASSERT_EQ(frame.size(), 32u);
    EXPECT_THAT(std::vector<uint8_t>(frame.begin(), frame.begin() + 8),
                ElementsAre(0xA5, 0x6C, 0x20, 0x00, 0xA1, 0x07, 0x01, 0x00));
    EXPECT_EQ(CommandOf(frame), 0x1E);
    EXPECT_THAT(PayloadOf(frame, 12), ElementsAre(3, 1, 0, 1, 0, 1, 0, 1, 0x41, 0x00, 0x42, 0x00));
    EXPECT_EQ(state_.multiviewer.umd_name[2], u"AB");
    EXPECT_EQ(static_cast<MultiviewerUmdPage&>(*page_).umd_string_index(), 2);
    EXPECT_EQ(traces.CountStartingWith("m_umd_string_index = 2 \n"), 1u);
    EXPECT_TRUE(page_->isVisible());
}

TEST_F(SubPageTest, UmdEnterOutsideTheFieldsAndInAnEmptyField) {
    Make<MultiviewerUmdPage>();
    TraceRecorder traces;
    QTest::keyClick(List(mv_id::kUmdOnOffList), Qt::Key_Return);
    EXPECT_EQ(traces.CountStartingWith("m_umd_string_index = -1 \n"), 1u);
    EXPECT_TRUE(NothingSent());

    QLineEdit* field = Field(mv_id::UmdFieldId(16));
    field->clear();
    QTest::keyClick(field, Qt::Key_Enter);
    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(frame.size(), 28u);
    EXPECT_THAT(PayloadOf(frame, 1), ElementsAre(16));
    EXPECT_EQ(state_.multiviewer.umd_name[15], u"");
}

// Before any reply the labels are empty: Enter on a field nobody touched sends the empty label
// (28 bytes), not a one-space one.
TEST_F(SubPageTest, UmdEnterOnAnUntouchedFieldSendsTheEmptyLabel) {
    device_ = std::make_unique<UdpPeer>(MultiviewerScript(std::nullopt));
    testing_support::MultiviewerPageState fresh;
    ConnectTo(fresh, *device_);
    page_ = std::make_unique<MultiviewerUmdPage>(fresh.link, fresh.multiviewer, nullptr);
    page_->show();
    QLineEdit* field = Field(mv_id::UmdFieldId(7));
    EXPECT_TRUE(field->text().isEmpty());
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);

    const std::vector<uint8_t> frame = NextFrame();
    ASSERT_EQ(frame.size(), 28u);
    EXPECT_EQ(CommandOf(frame), 0x1E);
    EXPECT_THAT(PayloadOf(frame, 8), ElementsAre(7, 1, 0, 1, 0, 1, 0, 1));
    EXPECT_EQ(fresh.multiviewer.umd_name[6], u"");
    page_.reset();  // before the state it works on
}

TEST_F(SubPageTest, UmdFieldTakesTenCharactersAndEscKeepsThePage) {
    Make<MultiviewerUmdPage>();
    TraceRecorder traces;
    QLineEdit* field = Field(mv_id::UmdFieldId(5));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("ABCDEFGHIJK"));
    EXPECT_EQ(field->text(), "ABCDEFGHIJ");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(traces.CountStartingWith(" mian  esc  \n"), 1u);
    EXPECT_EQ(field->text(), "ABCDEFGHIJ");
    EXPECT_EQ(state_.multiviewer.umd_name[4], u"");  // typed but not sent: not stored
    EXPECT_TRUE(page_->isVisible());
    EXPECT_TRUE(NothingSent());
}

// A field shows a longer label the device reported in full, but typing never makes a label
// longer than ten characters: not by adding, not by replacing, not after shortening it a bit.
TEST_F(SubPageTest, UmdFieldNeverTakesAnEleventhTypedCharacter) {
    state_.multiviewer.umd_name[15] = u"Sixteen chars!!!";
    Make<MultiviewerUmdPage>();
    QLineEdit* field = Field(mv_id::UmdFieldId(16));
    ASSERT_EQ(field->text(), "Sixteen chars!!!");

    field->setFocus();
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->text(), "Sixteen chars!!!");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "Sixteen chars!!");  // shortening is fine
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->text(), "Sixteen chars!!");
    QTest::keyClick(field, Qt::Key_Left, Qt::ShiftModifier);  // select one, type over it
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->text(), "Sixteen chars!!");

    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("ABCDEFGHIJK"));
    EXPECT_EQ(field->text(), "ABCDEFGHIJ");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(NextFrame().size(), 48u);  // 28 bytes and ten UTF-16 characters
    EXPECT_EQ(state_.multiviewer.umd_name[15], u"ABCDEFGHIJ");
}

TEST_F(SubPageTest, UmdOnSendsTheSwitchAndTheBarsAppear) {
    MultiviewerPage container(state_.link, state_.multiviewer,
                              nullptr);  // draws the preview; opens with a query
    container.show();
    device_->WaitForFrames(1, 1000);
    device_->Forget();
    state_.multiviewer.umd_shown = 0;
    container.ShowPage(3);
    auto* list = FindControlAs<QComboBox>(container.SubPage(), mv_id::kUmdOnOffList);
    ASSERT_EQ(list->currentIndex(), 0);

    Pick(list, 1);

    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(CommandOf(frame), 0x36);
    EXPECT_THAT(PayloadOf(frame, 1), ElementsAre(1));
    EXPECT_EQ(state_.multiviewer.umd_shown, 1);
    // RichReply: layout 9 and UMD background code 0 (black) on window 1.
    const PreviewBar& bar = state_.multiviewer.umd_bar[0];
    const QImage shot = Shot(container);
    EXPECT_EQ(PixelAt(shot, kPreviewAt.x() + bar.x + 2, kPreviewAt.y() + bar.y + 2),
              QColor(0, 0, 0));
}

}  // namespace
}  // namespace panoptix
