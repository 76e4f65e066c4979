// The widget tests' main(): one application object for the whole run, offscreen unless the
// environment names another platform. The user's settings file lives in a folder of the run's
// own, emptied before every test, so that no test reads or writes the real user's settings and
// none sees what an earlier one left.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace {

class FreshSettingsFolder : public ::testing::EmptyTestEventListener {
  public:
    explicit FreshSettingsFolder(QString path) : path_(std::move(path)) {}
    void OnTestStart(const ::testing::TestInfo& /*info*/) override {
        QDir folder(path_);
        folder.removeRecursively();
        folder.mkpath(QStringLiteral("."));
    }

  private:
    QString path_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettingsFolder(config.path()));
    return RUN_ALL_TESTS();
}
