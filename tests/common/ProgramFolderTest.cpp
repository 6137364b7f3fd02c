#include "common/ProgramFolder.h"
#include "fixtures/TempFolder.h"

#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

TEST(ProgramFolder, TheUserFolderIsSeededFromTheInstalledOneAndKeepsWhatTheUserWrote) {
    TempFolder root;
    root.write("opt/Campanor/campanor", "#!/bin/sh\n");
    root.write("opt/Campanor/timeup.mp3", "ring v1");
    root.write("opt/Campanor/vomu.chm", "help v1");
    root.write("opt/Campanor/skin/Paper.skn", "QWidget {}");
    QDir().mkpath(root.file("opt/Campanor/DayTimeTable"));
    QDir().mkpath(root.file("opt/Campanor/PlayListFile"));
    const QString installed = root.file("opt/Campanor");
    const QString user = root.file("data/Campanor");

    ASSERT_TRUE(seedProgramFolder(installed, user, "campanor"));
    EXPECT_EQ(root.bytes("data/Campanor/timeup.mp3"), "ring v1");
    EXPECT_EQ(root.bytes("data/Campanor/skin/Paper.skn"), "QWidget {}");
    EXPECT_TRUE(QFileInfo(user + "/DayTimeTable").isDir());
    EXPECT_TRUE(QFileInfo(user + "/PlayListFile").isDir());
    EXPECT_FALSE(QFile::exists(user + "/campanor")) << "the program stays where it is";

    // What the user wrote survives the next start; a newer shipped help replaces the old.
    root.write("data/Campanor/DayTimeTable/Default.DTT", "\"|08:00:00*x>每天<y\"\r\n");
    root.write("data/Campanor/Shut.txt", "\"开30\"\r\n");
    root.write("opt/Campanor/vomu.chm", "help v2");
    root.write("opt/Campanor/DayTimeTable/Default.DTT", "\"\"\r\n");
    ASSERT_TRUE(seedProgramFolder(installed, user, "campanor"));
    EXPECT_EQ(root.bytes("data/Campanor/vomu.chm"), "help v2");
    EXPECT_EQ(root.bytes("data/Campanor/DayTimeTable/Default.DTT"), "\"|08:00:00*x>每天<y\"\r\n");
    EXPECT_EQ(root.bytes("data/Campanor/Shut.txt"), "\"开30\"\r\n");
    EXPECT_FALSE(seedProgramFolder(root.file("missing"), user, "campanor"));
}

TEST(ProgramFolder, AnUnwritableExecutableFolderMeansTheUserFolder) {
    TempFolder root;
    root.write("opt/Campanor/campanor", "#!/bin/sh\n");
    const QString installed = root.file("opt/Campanor");
    qputenv("XDG_DATA_HOME", root.file("data").toUtf8());
    EXPECT_EQ(userProgramFolder(), root.file("data/Campanor"));
    EXPECT_EQ(defaultProgramFolder(installed + "/campanor"), installed);
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::ExeOwner);
    const bool root_ = QFileInfo(installed).isWritable();
    if (!root_) {
        EXPECT_EQ(defaultProgramFolder(installed + "/campanor"), root.file("data/Campanor"));
    }
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(userProgramFolder(), QDir::homePath() + "/.local/share/Campanor");
    qunsetenv("XDG_DATA_HOME");
    if (root_)
        GTEST_SKIP() << "root writes everywhere: the package test runs the program as another user";
}

TEST(ProgramFolder, AnInstalledPackageFolderIsNeverTheProgramFolderEvenForRoot) {
    TempFolder root;
    qputenv("XDG_DATA_HOME", root.file("data").toUtf8());
    const QString user = root.file("data/Campanor");
    // Root may write anywhere: what counts is whose folder it is.
    EXPECT_EQ(defaultProgramFolder("/opt/Campanor/campanor"), user);
    EXPECT_EQ(defaultProgramFolder("/usr/lib/campanor/campanor"), user);
    root.write("opt/Campanor/campanor", "#!/bin/sh\n");
    root.write("opt/Campanor/.installed-by-package", "");
    ASSERT_TRUE(QFileInfo(root.file("opt/Campanor")).isWritable());
    EXPECT_EQ(defaultProgramFolder(root.file("opt/Campanor/campanor")), user);
    // The marker stays with the package: the user's folder is not a package's.
    ASSERT_TRUE(seedProgramFolder(root.file("opt/Campanor"), user, "campanor"));
    EXPECT_FALSE(QFile::exists(user + "/.installed-by-package"));
    EXPECT_FALSE(isInstalledPackageFolder(user));
    // A folder of one's own (a build, an install prefix one owns) is used as it is.
    root.write("build/Campanor/campanor", "#!/bin/sh\n");
    EXPECT_EQ(defaultProgramFolder(root.file("build/Campanor/campanor")),
              root.file("build/Campanor"));
    qunsetenv("XDG_DATA_HOME");
}
