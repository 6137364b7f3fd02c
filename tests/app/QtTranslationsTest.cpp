#include "app/QtTranslations.h"
#include "common/FileDialogs.h"
#include "fixtures/TempFolder.h"
#include "fixtures/WaitUntil.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace campanor;
using namespace campanor::test;

namespace {

// Installs the translations for one test and takes them away again, so the
// other tests of this binary see the texts they expect.
class QtTranslationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        translator = installQtTranslations(*QCoreApplication::instance());
        ASSERT_NE(translator, nullptr) << "qt6-translations-l10n is not installed";
    }
    void TearDown() override {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(QLocale::c());
    }
    QTranslator* translator = nullptr;
};

QStringList buttonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

struct ProbeSaid {
    QString date, lcAll, setlocale;
};

// A fresh start under the given locale variables (the others removed).
ProbeSaid probe(const QString& file, const QList<QPair<QString, QString>>& locale) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES", "LANG", "LANGUAGE"})
        env.remove(QLatin1String(name));
    for (const auto& [name, value] : locale)
        env.insert(name, value);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(CAMPANOR_LOCALE_PROBE), {file});
    process.waitForFinished(20000);
    ProbeSaid said;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(u'\n')) {
        const QString value = line.section(u'=', 1);
        if (line.startsWith(QLatin1String("date=")))
            said.date = value;
        else if (line.startsWith(QLatin1String("LC_ALL=")))
            said.lcAll = value;
        else if (line.startsWith(QLatin1String("setlocale=")))
            said.setlocale = value;
    }
    return said;
}

} // namespace

TEST(SystemLocale, FileDialogDatesAreChineseWhereTheSystemHasNoLocale) {
    TempFolder dir;
    dir.write("song.mp3", "x");
    const QString file = dir.file("song.mp3");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(8, 5)),
                                  QFileDevice::FileModificationTime));
    }
    const QString chinese = QStringLiteral("2026/12/7 08:05");

    const ProbeSaid c = probe(file, {{"LANG", "C"}});
    EXPECT_EQ(c.date, chinese) << c.date.toStdString();
    // The C library and the programs started keep the system's own.
    EXPECT_EQ(c.lcAll, QStringLiteral("(unset)"));
    EXPECT_EQ(c.setlocale, QStringLiteral("C"));

    const ProbeSaid utf8 = probe(file, {{"LANG", "C.UTF-8"}});
    EXPECT_EQ(utf8.date, chinese) << utf8.date.toStdString();
    EXPECT_EQ(utf8.setlocale, QStringLiteral("C.UTF-8"));

    const ProbeSaid posix = probe(file, {{"LC_ALL", "POSIX"}, {"LANG", "en_US.UTF-8"}});
    EXPECT_EQ(posix.date, chinese) << posix.date.toStdString();
    EXPECT_EQ(posix.lcAll, QStringLiteral("POSIX"));

    // A system with a locale of its own keeps it.
    const ProbeSaid english = probe(file, {{"LANG", "en_US.UTF-8"}});
    EXPECT_TRUE(english.date.startsWith(QStringLiteral("12/7/26"))) << english.date.toStdString();
}

TEST_F(QtTranslationsTest, StandardButtonsAndInputBoxesSpeakChinese) {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok |
                           QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));

    QInputDialog input;
    input.show();
    EXPECT_TRUE(buttonTexts(input).contains(QStringLiteral("确定")))
        << buttonTexts(input).join(',').toStdString();
    EXPECT_TRUE(buttonTexts(input).contains(QStringLiteral("取消")));
}

TEST_F(QtTranslationsTest, FileDialogIsChineseAndShowsTheFilterOnce) {
    TempFolder dir;
    dir.write("morning.plf", "");
    dir.write("EVENING.PLF", "");
    dir.write("notes.txt", "");
    QFileDialog dialog(nullptr, QStringLiteral("打开曲目表：(*.PLF)"), dir.path(),
                       toQtFilter(QStringLiteral("曲目表(*.PLF)|*.plf")));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("曲目表 (*.PLF)")});

    // Both spellings of the extension are offered; other files are not. The
    // model fills in from a thread of its own, so wait for the folder's files.
    QStringList shown;
    auto offered = [&] {
        shown.clear();
        const QModelIndex root = model->index(dir.path());
        for (int row = 0; row < model->rowCount(root); ++row) {
            const QModelIndex index = model->index(row, 0, root);
            if (model->flags(index) & Qt::ItemIsEnabled)
                shown << model->fileName(index);
        }
        shown.sort();
        return shown.size() >= 2;
    };
    EXPECT_TRUE(waitUntil(offered, 10000));
    EXPECT_EQ(shown, (QStringList{"EVENING.PLF", "morning.plf"}));
    EXPECT_TRUE(buttonTexts(dialog).contains(QStringLiteral("取消")))
        << buttonTexts(dialog).join(',').toStdString();
}

TEST(QtFilter, KeepsNamesWithoutPatternsAndUnrelatedParentheses) {
    EXPECT_EQ(toQtFilter(QStringLiteral("所有可以播放的文件|*.wav;*.mp3")),
              QStringLiteral("所有可以播放的文件 (*.wav *.mp3)"));
    // Parentheses that name other patterns than the filter's stay as they are.
    EXPECT_EQ(toQtFilter(QStringLiteral("表(*.DTT)|*.plf")), QStringLiteral("表(*.DTT) (*.plf)"));
    EXPECT_EQ(toQtFilter(QStringLiteral("声音(*.WAV;*.MP3)|*.mp3;*.wav|全部|*")),
              QStringLiteral("声音 (*.WAV *.MP3);;全部 (*)"));
}
