#pragma once

#include "Action.h"

#include <QString>

namespace campanor {

// What carries out each kind of action. The main window implements it; an
// executor that cannot do its work throws, and whoever called the dispatcher
// (the tick's trap, a command from outside) says why.
class ActionExecutors {
  public:
    virtual ~ActionExecutors() = default;

    virtual void startBackStatic(const QString& playlist) = 0;
    virtual void startBackMemory(const QString& playlist) = 0;
    virtual void startBackDynamic(const QString& playlist) = 0;
    virtual void startFrontStatic(const QString& playlist) = 0;
    // One of the four search-folder kinds; `line` is the instruction, for an
    // outcome that comes when the folder has been read.
    virtual void playSearchFolder(ActionKind kind, const QString& folder, const QString& line) = 0;
    virtual void closeFrontPlayer() = 0;
    virtual void closeBackPlayer() = 0;
    // `line` is the instruction that rang, for a failure that comes later.
    virtual void ring(const QString& path, const QString& line) = 0;
    virtual void openTable(const QString& path) = 0;
    virtual void lineIn(bool on) = 0;
    virtual void mic(bool on) = 0;
    // ShutDown, Restart or LogOff; `line` is the instruction that asked.
    virtual void power(ActionKind kind, const QString& line) = 0;
    virtual void launchProgram(const QString& commandLine) = 0;
    virtual void endLaunchedProgram() = 0;
};

// Recognises the action of an instruction and hands it to its executor. The
// tick calls it with each due line; commands from outside and the restore at
// start-up come through it too.
class Dispatcher {
  public:
    explicit Dispatcher(ActionExecutors& executors) : executors_(executors) {}

    // The action field of the instruction `line`.
    void dispatch(const QString& line);
    // An action already recognised; `line` stands for it in what is reported later.
    void run(const Action& action, const QString& line);

  private:
    ActionExecutors& executors_;
};

} // namespace campanor
