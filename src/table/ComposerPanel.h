#pragma once

#include "InstructionComposer.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <map>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace campanor {

class FileDialogs;
class Prompter;
struct ActionOption;

// The composer of the main window: time lists, the "周期" and "响应方式"
// frames, the comment box and the add button. It builds an instruction line
// and hands it to the host to be committed.
class ComposerPanel : public QWidget {
    Q_OBJECT
  public:
    // What the composer needs of the window that holds it.
    struct Host {
        Prompter* prompter = nullptr;
        FileDialogs* dialogs = nullptr;
        QString programFolder;
        std::function<QStringList()> loadedLines;
        std::function<QString()> defaultRingPath;
        std::function<QString()> builtInRingPath;
        // Appends the line (with its "|") to the current table; false when
        // it could not be stored.
        std::function<bool(const QString&)> commit;
        // Shows the folder picker without waiting for it; it hands the folder
        // back through setSearchFolderParameter.
        std::function<void()> showFolderPicker;
    };

    explicit ComposerPanel(Host host, QWidget* parent = nullptr);

    void fillTimeLists();

    // The folder picker's hand-back: the folder becomes SearchPath and the
    // text and tooltip of the parameter box of the first checked
    // search-folder option. A folder no table can hold is refused with a
    // message and false.
    bool setSearchFolderParameter(const QString& folder);

    // Handlers.
    void Command1_Click();
    // The press on Option2, after it was handled: the sound dialog.
    void Option2_MouseDown(bool wasSelected);
    void reset();

    // The selected action option, or nullptr.
    const ActionOption* selectedAction() const;
    QRadioButton* option(const QString& name) const;
    QLineEdit* parameterBox(const QString& name) const;

    QString RealString;
    QString PlaylistParameter;
    QString SearchPath;
    QString ChosenRingPath;

    QListWidget *List1 = nullptr, *List2 = nullptr, *List3 = nullptr;
    QRadioButton *Option3 = nullptr, *Option4 = nullptr, *Option5 = nullptr, *Option6 = nullptr,
                 *Option7 = nullptr;
    QComboBox *Combo5 = nullptr, *Combo6 = nullptr, *Combo7 = nullptr, *Combo8 = nullptr,
              *Combo9 = nullptr, *Combo10 = nullptr;
    QLineEdit* Text5 = nullptr;
    // The 星期 option's weekdays, Monday first, and their quick choices.
    // Combo5 is kept as the one-day choice: setting it ticks that day alone.
    std::array<QCheckBox*, 7> Weekdays{};
    QPushButton *Workdays = nullptr, *WholeWeek = nullptr;
    QLineEdit* Text4 = nullptr;
    QPushButton* Command1 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildTimeLists();
    QWidget* buildDayRules();
    QWidget* buildComment();
    QWidget* buildActions();
    void enableDayRuleInputs();
    QWidget* buildWeekdays(QWidget* parent);
    void tickWeekdays(int count);
    bool confirmAdding(const QStringList& realStrings);
    void actionOption_Click(const ActionOption& option);
    void chooseFile(const ActionOption& option);
    void chooseSound();
    QString askFile(const ActionOption& option);
    ComposerInput input() const;
    void refuse(const Refusal& refusal);

    Host host_;
    std::map<QString, QRadioButton*> options_;
    std::map<QString, QLineEdit*> boxes_;
    // A day-rule input and its option: a click on the disabled input selects it.
    std::map<QObject*, QRadioButton*> dayRuleInputs_;
};

} // namespace campanor
