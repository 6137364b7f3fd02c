#include "media/Playlist.h"
#include "fixtures/TempFolder.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::TempFolder;

TEST(Playlist, SplitsJoinsAndKeepsAHeadWithoutSeparator) {
    EXPECT_TRUE(splitPlaylistText("").isEmpty());
    EXPECT_EQ(splitPlaylistText("|/m/a.mp3|/m/b.wma"), (QStringList{"/m/a.mp3", "/m/b.wma"}));
    EXPECT_EQ(splitPlaylistText("|/m/a.mp3|/m/a.mp3"), (QStringList{"/m/a.mp3", "/m/a.mp3"}));
    // Edited by hand without its first "|": the first track is kept.
    EXPECT_EQ(splitPlaylistText("/m/a.mp3|/m/b.mp3"), (QStringList{"/m/a.mp3", "/m/b.mp3"}));
    EXPECT_EQ(joinPlaylistText({"/m/a.mp3", "/m/b.mp3"}), "|/m/a.mp3|/m/b.mp3");
}

TEST(Playlist, RemovesEveryOccurrenceOfATrackOnly) {
    const QString text = "|/m/a.mp3|/m/a.mp3x|/m/b.mp3|/m/a.mp3";
    EXPECT_EQ(removeTrack(text, "/m/a.mp3"), "|/m/a.mp3x|/m/b.mp3");
}

TEST(Playlist, MissingFilesAreDroppedUnlessTheirFolderIsAbsent) {
    TempFolder dir;
    dir.write("a.mp3", "x");
    dir.write("c.mp3", "x");
    const QString usb = dir.file("usb/songs/d.mp3"); // a stick not plugged in
    const QString text = "|" + dir.file("a.mp3") + "|" + dir.file("gone.mp3") + "|" + usb + "|" +
                         dir.file("c.mp3") + "|" + dir.file("gone.mp3") + "|" + dir.file("a.mp3");
    const MissingTracks missing = sortOutMissingFiles(text);
    EXPECT_EQ(missing.text, "|" + dir.file("a.mp3") + "|" + usb + "|" + dir.file("c.mp3") + "|" +
                                dir.file("a.mp3"));
    EXPECT_EQ(missing.dropped, QStringList{dir.file("gone.mp3")});
    EXPECT_EQ(missing.passedOver, QStringList{usb});
}

TEST(Playlist, CompanionFilesAndMemoryPosition) {
    TempFolder dir;
    const QString plf = dir.file("Morning.PLF");
    EXPECT_EQ(memoryFileOf(plf), plf + "R");
    EXPECT_EQ(volumeFileOf(plf), plf + "_Volume.txt");
    EXPECT_EQ(balanceFileOf(plf), plf + "_Balance.txt");
    EXPECT_FALSE(readMemoryPosition(plf));
    ASSERT_TRUE(writeMemoryPosition(plf, 120));
    EXPECT_EQ(dir.bytes("Morning.PLFR"), QByteArray("120\r\n"));
    addToMemoryPosition(plf, 30);
    EXPECT_EQ(readMemoryPosition(plf), 150);
}

TEST(Playlist, SliderFilesAreClampedToTheRange) {
    TempFolder dir;
    EXPECT_FALSE(readSliderFile(dir.file("none.txt"), 0, 5000));
    dir.write("v.txt", "4000\r\n");
    EXPECT_EQ(readSliderFile(dir.file("v.txt"), 0, 5000), 4000);
    dir.write("v.txt", "9000\r\n");
    EXPECT_EQ(readSliderFile(dir.file("v.txt"), 0, 5000), 5000);
    dir.write("b.txt", "-20000\r\n");
    EXPECT_EQ(readSliderFile(dir.file("b.txt"), -10000, 10000), -10000);
    // No whole number in it: the caller's default, as for a missing file.
    for (const QByteArray& content : {QByteArray(""), QByteArray("5000.0\r\n"),
                                      QByteArray("loud\r\n"), QByteArray("\"\"\r\n")}) {
        dir.write("v.txt", content);
        EXPECT_FALSE(readSliderFile(dir.file("v.txt"), 0, 5000)) << content.toStdString();
    }
}

TEST(Playlist, SearchFolderPrefixIsTheFolderAllTracksShare) {
    EXPECT_EQ(searchFolderPrefix({"/music/sub/a.mp3", "/music/b.mp3"}), "/music/");
    EXPECT_EQ(searchFolderPrefix({"/music/a.mp3"}), "/music/");
    EXPECT_TRUE(searchFolderPrefix({}).isEmpty());
    // Sibling folders: cut at a folder boundary, never inside a name.
    EXPECT_EQ(searchFolderPrefix({"/x/names/a.mp3", "/x/odd/b.mp3"}), "/x/");
    EXPECT_EQ(searchFolderPrefix({"/x/name/a.mp3", "/x/names/b.mp3", "/x/name/c/d.mp3"}), "/x/");
    EXPECT_EQ(searchFolderPrefix({"/a/b.mp3", "/c/d.mp3"}), "/");
    EXPECT_EQ(searchFolderPrefix({"music/a.mp3", "/x/b.mp3"}), "") << "nothing shared";
}

TEST(Shuffle, NoTrackStaysInPlace) {
    for (int n = 2; n <= 9; ++n) {
        QStringList tracks;
        for (int i = 0; i < n; ++i)
            tracks << QString::number(i);
        for (int round = 0; round < 200; ++round) {
            const QStringList shuffled = ShufflePlaylist(tracks);
            ASSERT_EQ(shuffled.size(), n);
            EXPECT_EQ(QSet<QString>(shuffled.begin(), shuffled.end()).size(), n);
            for (int i = 0; i < n; ++i)
                ASSERT_NE(shuffled[i], tracks[i]) << "n=" << n;
        }
    }
    // Even at the ends of the random range.
    for (double r : {0.0, 0.999999999})
        EXPECT_EQ(ShufflePlaylist({"a", "b", "c"}, [r] { return r; }).size(), 3);
    EXPECT_EQ(ShufflePlaylist({"only"}), QStringList{"only"});
}

TEST(Shuffle, SmallListsHaveTheirOnlyCycles) {
    EXPECT_EQ(ShufflePlaylist({"a", "b"}), (QStringList{"b", "a"}));
    QSet<QString> seen;
    for (int round = 0; round < 200; ++round)
        seen << ShufflePlaylist({"a", "b", "c"}).join("");
    EXPECT_EQ(seen, (QSet<QString>{"bca", "cab"}));
}
