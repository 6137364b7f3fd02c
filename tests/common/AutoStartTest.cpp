#include "common/AutoStart.h"
#include "common/ProgramFolder.h"
#include "fixtures/TempFolder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

namespace {

// Points the autostart folder at a scratch folder for one test.
class AutoStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        // No systemd user instance unless a test puts one there.
        runtime_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }
    void TearDown() override {
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("XDG_RUNTIME_DIR", runtime_);
    }
    QString entryText() const { return QString::fromUtf8(config.bytes("autostart/Clock.desktop")); }
    void writeEntry(const QString& exec) const {
        config.write(
            "autostart/Clock.desktop",
            ("[Desktop Entry]\nType=Application\nName=Clock\nExec=" + exec + "\n").toUtf8());
    }
    bool entryExists() const { return config.exists("autostart/Clock.desktop"); }

    TempFolder config;
    TempFolder runtime;
    QByteArray runtime_;
    XdgAutoStart autoStart;
};

} // namespace

TEST_F(AutoStartTest, TheEntryStartsTheProgramOnItsFolder) {
    EXPECT_EQ(XdgAutoStart::entryPath(), config.file("autostart/Clock.desktop"));
    const QString program = "/opt/Campanor School/campanor";
    const QString folder = "/srv/O'Brien \"A\" $HOME 100%/bells\\x";
    ASSERT_TRUE(autoStart.enable(program, folder));
    const QString text = entryText();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nExec=env \"CAMPANOR_HOME=/srv/O'Brien \\\\\"A\\\\\" \\\\$HOME "
                              "100%%/bells\\\\\\\\x\" \"/opt/Campanor School/campanor\"\n"))
        << text.toStdString();
    // Read back as a desktop would run it: the folder survives every quoting rule.
    const QString exec = text.section("\nExec=", 1).section('\n', 0, 0);
    EXPECT_EQ(XdgAutoStart::execArguments(exec),
              (QStringList{"env", "CAMPANOR_HOME=" + folder, program}));
    EXPECT_TRUE(XdgAutoStart::startsProgram(text, program, folder));
    EXPECT_FALSE(XdgAutoStart::startsProgram(text, program, "/srv/other"));
    EXPECT_FALSE(XdgAutoStart::startsProgram(text, "/usr/bin/campanor", folder));
}

TEST_F(AutoStartTest, OnlyThisProgramsEntryIsRemoved) {
    const QString program = QCoreApplication::applicationFilePath();
    const QString folder = "/srv/campanor";

    // Another program's Clock.desktop stays, whatever form its Exec has.
    for (const QString& exec : {QString("/usr/bin/xclock -digital"), QString("env TZ=UTC xclock"),
                                QString("\"") + program + "-old\"", QString("\"unbalanced")}) {
        writeEntry(exec);
        EXPECT_TRUE(autoStart.disable(program, folder));
        EXPECT_TRUE(entryExists()) << exec.toStdString();
    }
    // So does this program's entry for another folder.
    ASSERT_TRUE(autoStart.enable(program, "/srv/elsewhere"));
    autoStart.disable(program, folder);
    EXPECT_TRUE(entryExists());

    ASSERT_TRUE(autoStart.enable(program, folder));
    EXPECT_TRUE(autoStart.disable(program, folder));
    EXPECT_FALSE(entryExists());
    EXPECT_TRUE(autoStart.disable(program, folder)) << "already gone is fine";

    // An entry of the older form, the program alone, starts it on its own
    // folder; a field code after it does not make it another's.
    writeEntry("\"" + program + "\" %U");
    autoStart.disable(program, folder);
    EXPECT_TRUE(entryExists());
    autoStart.disable(program, defaultProgramFolder(program));
    EXPECT_FALSE(entryExists());
}

TEST_F(AutoStartTest, UnderASystemdUserInstanceTheEntryStartsAWatchedUnit) {
    runtime.write("systemd/private", "");
    const QString program = "/opt/Campanor $HOME/campanor";
    const QString folder = "/srv/100% \"bells\"";
    ASSERT_TRUE(autoStart.enable(program, "/srv/elsewhere"));
    ASSERT_TRUE(autoStart.enable(program, folder));
    EXPECT_TRUE(entryText().contains("\nExec=systemctl --user start campanor.service\n"))
        << entryText().toStdString();
    const QString unit = QString::fromUtf8(config.bytes("systemd/user/campanor.service"));
    for (const char* line : {"\nType=notify\n", "\nRestart=on-failure\n", "\nWatchdogSec=10\n",
                             "\nPartOf=graphical-session.target\n",
                             "\nEnvironment=\"CAMPANOR_HOME=/srv/100%% \\\"bells\\\"\"\n",
                             "\nExecStart=\"/opt/Campanor $$HOME/campanor\"\n"})
        EXPECT_TRUE(unit.contains(QString::fromUtf8(line))) << line << "\n" << unit.toStdString();

    // Another folder's program leaves both in place; its own removes both.
    EXPECT_TRUE(autoStart.disable(program, "/srv/elsewhere"));
    EXPECT_TRUE(entryExists());
    EXPECT_TRUE(autoStart.disable(program, folder));
    EXPECT_FALSE(entryExists());
    EXPECT_FALSE(config.exists("systemd/user/campanor.service"));
}
