// The liveness probe answers each request from the event loop with the visible windows and
// their enabled controls, in screen coordinates, and with a list's entries.
#include "app/liveness_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/control_id.h"

namespace panoptix {
namespace {

class LivenessProbeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_EQ(mkfifo(QFile::encodeName(folder_.filePath("ask")).constData(), 0600), 0);
        qputenv("PANOPTIX_LIVENESS_PROBE", QFile::encodeName(folder_.path()));
    }
    void TearDown() override { qunsetenv("PANOPTIX_LIVENESS_PROBE"); }

    // Sends one request and runs the event loop until its answer is there (at most 5 s).
    QString Ask(const char* request) {
        const int fd =
            open(QFile::encodeName(folder_.filePath("ask")).constData(), O_WRONLY | O_NONBLOCK);
        EXPECT_GE(fd, 0);
        EXPECT_GT(write(fd, request, strlen(request)), 0);
        close(fd);
        const QString number = QString::fromLatin1(request).section(QLatin1Char('\n'), 0, 0);
        QFile answer(folder_.filePath("answer"));
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 5000) {
            QTest::qWait(10);
            if (answer.open(QIODevice::ReadOnly)) {
                const QString text = QString::fromUtf8(answer.readAll());
                answer.close();
                if (text.section(QLatin1Char('\n'), 0, 0) == number) {
                    return text;
                }
            }
        }
        return {};
    }

    QTemporaryDir folder_;
};

TEST_F(LivenessProbeTest, AnswersWithTheVisibleWindowsAndTheirEnabledControls) {
    QWidget window;
    window.setWindowTitle("panel");
    window.setGeometry(40, 50, 300, 200);
    auto* button = new QPushButton("Connect", &window);
    button->setGeometry(10, 20, 80, 30);
    SetControlId(button, 1011);
    auto* list = new QComboBox(&window);
    list->addItems({"LAN", "Serial Port"});
    list->setCurrentIndex(1);
    list->setGeometry(10, 60, 120, 24);
    SetControlId(list, 1103);
    auto* disabled = new QPushButton("off", &window);
    disabled->setEnabled(false);
    auto* hidden = new QPushButton("hidden", &window);
    hidden->hide();
    InstallLivenessProbe(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();

    const QString answer = Ask("7\n");
    ASSERT_FALSE(answer.isEmpty());
    const QStringList lines = answer.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), "7");
    EXPECT_TRUE(answer.endsWith("end\n"));
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    EXPECT_TRUE(lines.contains(QStringLiteral("window\tQWidget\tpanel\t%1\t%2\t300\t200\t0")
                                   .arg(origin.x())
                                   .arg(origin.y())));
    EXPECT_TRUE(lines.contains(QStringLiteral("control\t1011\tQPushButton\t%1\t%2\t80\t30\tConnect")
                                   .arg(origin.x() + 10)
                                   .arg(origin.y() + 20)));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("control\t1103\tQComboBox\t%1\t%2\t120\t24\tSerial Port\t1|LAN|Serial Port")
            .arg(origin.x() + 10)
            .arg(origin.y() + 60)));
    EXPECT_TRUE(lines.contains("focus\t1011")) << "the control with the keyboard focus is named";
    EXPECT_FALSE(answer.contains("\toff")) << "a disabled control is not offered";
    EXPECT_FALSE(answer.contains("\thidden")) << "a hidden control is not offered";

    // Requests are answered in turn, each with its own number.
    EXPECT_EQ(Ask("8\n").section(QLatin1Char('\n'), 0, 0), "8");
}

TEST(LivenessProbe, WithoutTheVariableNothingIsInstalled) {
    qunsetenv("PANOPTIX_LIVENESS_PROBE");
    QWidget window;
    InstallLivenessProbe(&window);
    EXPECT_TRUE(window.children().isEmpty());
}

}  // namespace
}  // namespace panoptix
