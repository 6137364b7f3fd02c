#include "OutsideAction.h"

#include "table/InstructionComposer.h"

#include <QFileInfo>

namespace campanor {

namespace {

OutsideAction refused(const QString& why) {
    return {Action{}, why};
}

} // namespace

OutsideAction checkOutsideAction(const QString& field, const QString& defaultRing) {
    if (field.trimmed().isEmpty())
        return refused(QStringLiteral("没有要执行的动作"));
    if (const QChar c = forbiddenCharacterIn(field); !c.isNull())
        return refused(forbiddenCharacterMessage(QStringLiteral("响应方式"), c));
    const QString text = field == QStringLiteral("默认乐音") ? defaultRing : field;
    const Action action = recognizeAction(text);
    const QFileInfo target(action.parameter);
    switch (action.kind) {
    case ActionKind::Ring:
        // Any field that is no action word is a ring: one that names no
        // sound file is an action nobody knows.
        if (!target.isFile())
            return refused(QStringLiteral("未知的动作（也不是一个存在的铃声文件）：") + field);
        break;
    case ActionKind::StartBackStatic:
    case ActionKind::StartBackMemory:
    case ActionKind::StartBackDynamic:
    case ActionKind::StartFrontStatic:
        if (!target.isFile())
            return refused(QStringLiteral("曲目表文件不存在：") + action.parameter);
        break;
    case ActionKind::OpenTable:
        if (!target.isFile())
            return refused(QStringLiteral("指令表文件不存在：") + action.parameter);
        break;
    case ActionKind::SearchBackSorted:
    case ActionKind::SearchFrontSorted:
    case ActionKind::SearchBackRandom:
    case ActionKind::SearchFrontRandom:
        if (!target.isDir())
            return refused(QStringLiteral("文件夹不存在：") + action.parameter);
        break;
    case ActionKind::LaunchProgram:
        if (action.parameter.trimmed().isEmpty())
            return refused(QStringLiteral("没有要执行的程序"));
        break;
    default:
        // The other words take no parameter: anything after one is a typo.
        if (!action.parameter.isEmpty())
            return refused(QStringLiteral("未知的动作：") + field);
        break;
    }
    return {action, QString()};
}

} // namespace campanor
