#include "media/FolderWalk.h"
#include "fixtures/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace campanor;
using namespace campanor::test;

namespace {

QStringList under(const TempFolder& dir, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names)
        paths << dir.file(name);
    return paths;
}

} // namespace

TEST(FolderWalk, FilesFirstThenFolderByFolderBreadthFirst) {
    TempFolder dir;
    for (const char* name : {"a.mp3", "Music/b.wav", "Music/Old/c.mid"})
        dir.write(QLatin1String(name), "x");
    auto found = FolderWalk::walk(dir.path());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->files, under(dir, {"a.mp3", "Music/b.wav", "Music/Old/c.mid"}));
    EXPECT_EQ(found->folders, under(dir, {"Music", "Music/Old"}));
    EXPECT_FALSE(found->truncated);

    // One level is finished before the next begins, and within a folder the
    // names come in order ignoring case.
    for (const char* name : {"zed/Deep/d.mp3", "zed/B.mp3", "Music/A.mp3", "Music/c.wav", "B.WAV"})
        dir.write(QLatin1String(name), "x");
    found = FolderWalk::walk(dir.path() + "/");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->files,
              under(dir, {"a.mp3", "B.WAV", "Music/A.mp3", "Music/b.wav", "Music/c.wav",
                          "zed/B.mp3", "Music/Old/c.mid", "zed/Deep/d.mp3"}));
    EXPECT_EQ(found->folders, under(dir, {"Music", "zed", "Music/Old", "zed/Deep"}));
}

TEST(FolderWalk, OnlyPlayableFilesMatchedIgnoringCase) {
    EXPECT_EQ(FolderWalk::patterns().size(), 30);
    TempFolder dir;
    const QStringList playable = {"1.AIFF", "2.Mid", "3.mpeg", "4.qt", "5.Snd", "6.x.WMA"};
    const QStringList other = {"cover.jpg", "notes.txt",   "mp3",    "song.mp3.bak",
                               "a.ogv",     ".hidden.mp3", "b.mpegx"};
    for (const QString& name : playable + other)
        dir.write(name, "x");
    dir.write(".hiddenfolder/e.mp3", "x");
    dir.write("folder.mp3/f.wav", "x"); // a folder named like a sound file is walked, not played
    auto found = FolderWalk::walk(dir.path());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->files, under(dir, playable + QStringList{"folder.mp3/f.wav"}));
    EXPECT_EQ(found->folders, under(dir, {"folder.mp3"}));
}

TEST(FolderWalk, ARootFolderGetsNoDoubleSlash) {
    // The real root, held to a few folders so the walk stays short.
    auto found = FolderWalk::walk(QStringLiteral("/"), 5, 50);
    ASSERT_TRUE(found);
    const QStringList top =
        QDir("/").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    ASSERT_FALSE(found->folders.isEmpty());
    EXPECT_EQ(found->folders.first(), "/" + top.first());
    for (const QString& path : found->folders + found->files) {
        EXPECT_TRUE(path.startsWith(u'/')) << path.toStdString();
        EXPECT_FALSE(path.contains(QStringLiteral("//"))) << path.toStdString();
    }
}

TEST(FolderWalk, StopsAtTheListLimitsWithWhatItFound) {
    TempFolder dir;
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"})
        dir.write(QLatin1String(name), "x");
    auto found = FolderWalk::walk(dir.path(), 10, 3);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->files, under(dir, {"1.mp3", "2.mp3", "3.mp3"}));
    EXPECT_TRUE(found->truncated);

    // A full folder queue takes no more folders, but the queued ones are still walked.
    TempFolder tree;
    for (const char* name : {"a/1.mp3", "a/x/2.mp3", "b/3.mp3", "c/4.mp3", "d/5.mp3"})
        tree.write(QLatin1String(name), "x");
    found = FolderWalk::walk(tree.path(), 2, 100);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->folders, under(tree, {"a", "b"}));
    EXPECT_EQ(found->files, under(tree, {"a/1.mp3", "b/3.mp3"}));
    EXPECT_TRUE(found->truncated);

    found = FolderWalk::walk(tree.path(), 5, 5);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->files.size(), 5);
    EXPECT_FALSE(found->truncated) << "exactly at the limits is not cut";
}

TEST(FolderWalk, LinksAreFollowedButNeverLoop) {
    TempFolder dir;
    for (const char* name : {"top/a.mp3", "top/Music/b.wav", "top/Elsewhere/e.mp3", "c.mp3"})
        dir.write(QLatin1String(name), "x");
    const auto link = [&](const char* target, const char* name) {
        return symlink(target, QFile::encodeName(dir.file(QLatin1String(name))).constData());
    };
    ASSERT_EQ(link("..", "top/Music/up"), 0);
    ASSERT_EQ(link(".", "top/Music/self"), 0);
    ASSERT_EQ(link("../Elsewhere", "top/Music/Linked"), 0);
    ASSERT_EQ(link("b.wav", "top/Music/alias.wav"), 0);
    ASSERT_EQ(link("gone.mp3", "top/Music/dangling.mp3"), 0);
    ASSERT_EQ(link("../../c.mp3", "top/Music/out.mp3"), 0);
    auto found = FolderWalk::walk(dir.file("top"));
    ASSERT_TRUE(found);
    // Elsewhere is walked once, under its own name, which comes first.
    EXPECT_EQ(found->files, under(dir, {"top/a.mp3", "top/Elsewhere/e.mp3", "top/Music/alias.wav",
                                        "top/Music/b.wav", "top/Music/out.mp3"}));
    EXPECT_EQ(found->folders, under(dir, {"top/Elsewhere", "top/Music", "top/Music/Linked",
                                          "top/Music/self", "top/Music/up"}));
}

TEST(FolderWalk, AMissingOrUnreadableFolderIsNoResult) {
    TempFolder dir;
    dir.write("plain.mp3", "x");
    EXPECT_FALSE(FolderWalk::walk(dir.file("gone")));
    EXPECT_FALSE(FolderWalk::walk(dir.file("plain.mp3")));
    EXPECT_FALSE(FolderWalk::walk(QString()));
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    dir.write("open/a.mp3", "x");
    dir.write("open/shut/b.mp3", "x");
    QFile::setPermissions(dir.file("open/shut"), QFile::Permissions());
    auto found = FolderWalk::walk(dir.file("open"));
    ASSERT_TRUE(found) << "a subfolder that cannot be read is passed over";
    EXPECT_EQ(found->files, under(dir, {"open/a.mp3"}));
    QFile::setPermissions(dir.file("open"), QFile::Permissions());
    EXPECT_FALSE(FolderWalk::walk(dir.file("open")));
    QFile::setPermissions(dir.file("open"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(dir.file("open/shut"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
