#pragma once

#include "common/Power.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace campanor {

// The countdown before a shutdown, restart or log-off: it counts the wait
// down, then runs the power routine, unless cancelled. Whoever opened it
// hears the system's answer and decides what follows (ending the program
// when the request was accepted); on a refusal the window closes.
class CountdownWindow : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { ShutDown, Restart, LogOff };

    // `setting` is the power-prompt text ("开60"); `answered` gets the
    // system's answer to the power routine.
    CountdownWindow(Kind kind, const QString& setting, Power& power, Power::Done answered,
                    QWidget* parent = nullptr);

    void Form_Load(const QString& setting);
    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();
    // Shows the window on top again with the focus on cancel; the count goes on.
    void bringForward();

    // The seconds of a power-prompt text: the leading digits after the flag.
    static int waitSeconds(const QString& setting);

    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QTimer* Timer1 = nullptr;

  signals:
    // Closed before the power routine ran: by its cancel button, its close
    // box or the program's end.
    void cancelled();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void runRoutine();

    Kind kind_;
    Power& power_;
    Power::Done answered_;
    int left_ = 0;
    bool acting_ = false;
};

// Calls the power routine of a kind.
void runPowerRoutine(Power& power, CountdownWindow::Kind kind, Power::Done done);

} // namespace campanor
