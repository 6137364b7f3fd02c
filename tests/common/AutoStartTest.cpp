#include "common/AutoStart.h"
#include "fixtures/TempFolder.h"

#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

TEST(AutoStart, EntryAppearsWithTheProgramPathAndDisappears) {
    TempFolder config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    XdgAutoStart autoStart;
    const QString entry = config.file("autostart/Clock.desktop");
    EXPECT_EQ(XdgAutoStart::entryPath(), entry);

    ASSERT_TRUE(autoStart.enable("/opt/Campanor School/campanor"));
    const QString text = QString::fromUtf8(config.bytes("autostart/Clock.desktop"));
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/Campanor School/campanor\"\n"));

    EXPECT_TRUE(autoStart.disable());
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_TRUE(autoStart.disable()) << "already gone is fine";
    qunsetenv("XDG_CONFIG_HOME");
}
