#include "media/FormSearchFile.h"
#include "fixtures/TempFolder.h"
#include "media/Playlist.h"

#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

namespace {

class FormSearchFileTest : public ::testing::Test {
  protected:
    QString frontList() const { return FormSearchFile::frontListPath(program.path()); }
    QString backList() const { return FormSearchFile::backListPath(program.path()); }
    bool search(const QString& folder) {
        FormSearchFile form(program.path(), &FrontPlayer);
        if (!form.setDir1Path(folder))
            return false;
        const bool saved = form.Command1_Click();
        label = form.Label1;
        unstorable = form.unstorable;
        return saved;
    }

    TempFolder program;
    TempFolder music;
    QString FrontPlayer;
    QString label;
    QStringList unstorable;
};

} // namespace

TEST_F(FormSearchFileTest, WritesTheBackListWithAFreshMemoryFile) {
    program.write("PlayListFile/TEMPBACK.PLFR", "120\r\n");
    for (const char* name : {"a.mp3", "Music/b.wav", "Music/Old/c.mid", "Music/notes.txt"})
        music.write(QLatin1String(name), "x");
    ASSERT_TRUE(search(music.path()));
    EXPECT_EQ(label, "Total:3");
    EXPECT_EQ(program.bytes("PlayListFile/TEMPBACK.PLF"),
              TempFolder::quoted("|" + music.file("a.mp3") + "|" + music.file("Music/b.wav") + "|" +
                                 music.file("Music/Old/c.mid")));
    EXPECT_EQ(program.bytes("PlayListFile/TEMPBACK.PLFR"), "0\r\n");
    EXPECT_FALSE(program.exists("PlayListFile/TEMPFRONT.PLF"));
}

TEST_F(FormSearchFileTest, FrontPlayerSendsOneSearchToTheFrontList) {
    music.write("a.mp3", "x");
    FrontPlayer = QStringLiteral("前置随机");
    ASSERT_TRUE(search(music.path()));
    EXPECT_EQ(readPlaylistFile(frontList()).value, "|" + music.file("a.mp3"));
    EXPECT_EQ(readMemoryPosition(frontList()), 0);
    EXPECT_TRUE(FrontPlayer.isEmpty());
    EXPECT_FALSE(program.exists("PlayListFile/TEMPBACK.PLF"));

    // The next search without it goes to the back list.
    music.write("b.mp3", "x");
    ASSERT_TRUE(search(music.path()));
    EXPECT_EQ(splitPlaylistText(readPlaylistFile(backList()).value).size(), 2);
    EXPECT_EQ(splitPlaylistText(readPlaylistFile(frontList()).value).size(), 1);

    FrontPlayer = QStringLiteral("前置排序");
    ASSERT_TRUE(search(music.path()));
    EXPECT_EQ(splitPlaylistText(readPlaylistFile(frontList()).value).size(), 2);
    FrontPlayer = QStringLiteral("something else");
    music.write("c.mp3", "x");
    ASSERT_TRUE(search(music.path()));
    EXPECT_EQ(splitPlaylistText(readPlaylistFile(backList()).value).size(), 3);
}

TEST_F(FormSearchFileTest, NothingPlayableGivesTheEmptyList) {
    program.write("PlayListFile/TEMPBACK.PLF", TempFolder::quoted("|/old/track.mp3"));
    music.write("cover.jpg", "x");
    ASSERT_TRUE(search(music.path()));
    EXPECT_EQ(label, "Total:0");
    EXPECT_EQ(program.bytes("PlayListFile/TEMPBACK.PLF"), "\"\"\r\n");
}

TEST_F(FormSearchFileTest, NamesAPlaylistCannotHoldAreLeftOut) {
    for (const char* name : {"a|b.mp3", "say \"hi\".mp3", "ok.mp3"})
        music.write(QLatin1String(name), "x");
    ASSERT_TRUE(search(music.path()));
    EXPECT_EQ(label, "Total:3");
    EXPECT_EQ(readPlaylistFile(backList()).value, "|" + music.file("ok.mp3"));
    EXPECT_EQ(unstorable.size(), 2);
}

TEST_F(FormSearchFileTest, AMissingFolderChangesNothing) {
    program.write("PlayListFile/TEMPBACK.PLF", TempFolder::quoted("|/old/track.mp3"));
    FormSearchFile form(program.path(), &FrontPlayer);
    EXPECT_FALSE(form.setDir1Path(music.file("gone")));
    EXPECT_FALSE(form.setDir1Path(QString()));
    EXPECT_FALSE(form.Command1_Click());
    EXPECT_EQ(program.bytes("PlayListFile/TEMPBACK.PLF"), TempFolder::quoted("|/old/track.mp3"));

    // A list that cannot be written is a failed search, not a stale list played.
    music.write("a.mp3", "x");
    QFile::remove(program.file("PlayListFile/TEMPBACK.PLF"));
    program.write("PlayListFile/TEMPBACK.PLF/blocker", "x"); // a folder where the file belongs
    EXPECT_FALSE(search(music.path()));
}
