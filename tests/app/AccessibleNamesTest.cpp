#include "app/FormallFixture.h"
#include "dialogs/FormSelectFiles.h"
#include "fixtures/ScriptedMedia.h"
#include "players/PlayerWindow.h"
#include "table/ComposerPanel.h"
#include "table/FormEdit.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTreeWidget>

using namespace campanor;
using namespace campanor::test;

namespace {

bool isControlWithoutCaption(const QWidget* w) {
    if (qobject_cast<const QScrollBar*>(w))
        return false;
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text().trimmed().isEmpty();
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QProgressBar*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

// A part of a composite control (the line edit inside a combo box or a date
// box, the views inside a list) is named through its owner.
bool isPartOfAControl(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (isControlWithoutCaption(p) || qobject_cast<const QComboBox*>(p))
            return true;
    }
    return false;
}

// "Window/objectName (class)" for every visible caption-less control that a
// screen reader would announce without a name.
QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window) || !isControlWithoutCaption(w) ||
            isPartOfAControl(w, window))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        // On Linux a combo box reads out its current item as its name, which
        // says nothing about what the box is for.
        const QString name = qobject_cast<QComboBox*>(w)
                                 ? w->accessibleName()
                                 : (accessible ? accessible->text(QAccessible::Name) : QString());
        if (name.trimmed().isEmpty())
            unnamed << window->objectName() + u'/' + w->objectName() + QStringLiteral(" (") +
                           QLatin1String(w->metaObject()->className()) + u')';
    }
    return unnamed;
}

class AccessibleNamesTest : public FormallTest {};

// The first element under `node` whose name is `name`, walking the accessible tree.
QAccessibleInterface* findByName(QAccessibleInterface* node, const QString& name) {
    if (!node)
        return nullptr;
    if (node->text(QAccessible::Name) == name)
        return node;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* found = findByName(node->child(i), name))
            return found;
    }
    return nullptr;
}

} // namespace

TEST_F(AccessibleNamesTest, EveryWindowNamesItsCaptionlessControls) {
    useScriptedMedia();
    start();
    dir.write("DayTimeTable/Default.DTT",
              TempFolder::quoted(QStringLiteral("|08:00:00*上课>每天<线路打开")));
    auto w = start();
    w->show();
    QList<QWidget*> windows{w.get()};

    w->ListView1->setCurrentItem(w->ListView1->topLevelItem(0));
    w->ListView1_Click();
    w->Command3_Click();
    windows << w->editDialog();

    w->showFolderPicker();
    windows << w->folderPicker();
    item(*w, "MenuAsRunLog")->trigger();
    windows << w->asRunLogWindow();
    item(*w, "Register")->trigger();
    windows << w->helpWindow();
    item(*w, "MenuAbout")->trigger();
    windows << w->aboutBox();
    item(*w, "MenuSoundDevice")->trigger();
    windows << w->soundDeviceWindow();
    item(*w, "Player")->trigger();
    item(*w, "ReportPlayerNew")->trigger();
    for (PlayerWindow* player : {w->backPlayer(), w->frontPlayer()}) {
        ASSERT_NE(player, nullptr);
        windows << player;
        player->Command1_Click();
        ASSERT_NE(player->picker(), nullptr);
        windows << player->picker();
    }
    w->DispatchAction(QStringLiteral("22:00:00*没有注释>每天<关机"));
    ASSERT_NE(w->countdown(0), nullptr);
    windows << w->countdown(0);

    QStringList unnamed;
    // The composer shows other boxes for other actions and day rules.
    for (QRadioButton* option : w->composer->findChildren<QRadioButton*>()) {
        option->setChecked(true);
        unnamed << unnamedControls(w.get());
    }
    unnamed.removeDuplicates();
    for (QWidget* window : windows) {
        ASSERT_NE(window, nullptr);
        unnamed << unnamedControls(window);
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();

    // Buttons whose captions are signs are read out by what they do.
    for (PlayerWindow* player : {w->backPlayer(), w->frontPlayer()}) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(player->Command5)->text(QAccessible::Name),
                  QStringLiteral("播放"));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(player->Command6)->text(QAccessible::Name),
                  QStringLiteral("暂停"));
    }
    // The time lists say which part of the time they hold.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w->List1)->text(QAccessible::Name),
              QStringLiteral("时"));
}

TEST_F(AccessibleNamesTest, TheClocksCanBeReadThroughTheWindowsAccessibleTree) {
    auto w = start();
    w->show();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(w.get());
    ASSERT_NE(window, nullptr);
    for (const char* second : {"08:00:01", "08:00:02"}) {
        clock.advanceMs(1000);
        w->Timer1_Timer();
        const QString caption = QStringLiteral("Win32系统时钟>") + QLatin1String(second) +
                                QStringLiteral(" 本软件内部时钟>") + QLatin1String(second);
        ASSERT_EQ(w->DisplayTimeLabel->text(), caption);
        QAccessibleInterface* found = findByName(window, caption);
        ASSERT_NE(found, nullptr) << second;
        EXPECT_FALSE(found->state().invisible);
        // At the menu bar's right end, inside the window, not over a menu.
        QMenuBar* bar = w->menuBar();
        const QRect barRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
        EXPECT_TRUE(barRect.contains(found->rect()));
        EXPECT_EQ(found->rect().right(), barRect.right());
        for (QAction* menu : bar->actions()) {
            if (!menu->isVisible())
                continue;
            const QRect item = bar->actionGeometry(menu);
            EXPECT_FALSE(
                found->rect().intersects(QRect(bar->mapToGlobal(item.topLeft()), item.size())))
                << menu->text().toStdString();
        }
    }
}
