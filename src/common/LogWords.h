#pragma once

#include <QString>

// The as-run log's words, in one place. A person reads the log to learn why a
// bell did not ring; the program reads it too (the last sign of life before a
// start, the failed colour of the last-run line, the signal to other
// programs). Whatever writes one of these words and whatever looks for it
// takes it from here, so the two cannot drift apart.
namespace campanor::logword {

// An instruction's entry: "指令 <second> 开始 <time> <outcome>：<line>".
inline QString instruction() {
    return QStringLiteral("指令");
}
inline QString started() {
    return QStringLiteral("开始");
}
// Between a word and what it is about, as in "失败：why".
inline constexpr char16_t kColon = u'：';

// How an instruction went.
inline QString done() {
    return QStringLiteral("完成");
}
// The bare word when nobody said why.
inline QString failed(const QString& why = {}) {
    return why.isEmpty() ? QStringLiteral("失败") : QStringLiteral("失败") + kColon + why;
}
inline bool isFailure(const QString& outcome) {
    return outcome.startsWith(failed());
}
inline QString cancelled(const QString& why = {}) {
    return why.isEmpty() ? QStringLiteral("取消") : QStringLiteral("取消") + kColon + why;
}
// One instruction a second: the others of that second are only written down.
inline QString passedOver() {
    return QStringLiteral("跳过（这一秒已执行另一条指令）");
}
inline QString notRunOnHoliday(const QString& holidayName) {
    return holidayName.isEmpty() ? QStringLiteral("未执行（放假）")
                                 : QStringLiteral("未执行（放假：%1）").arg(holidayName);
}
inline QString suspended() {
    return QStringLiteral("暂停（紧急广播）");
}
// Asked of the system; the final outcome comes with its answer.
inline QString requested() {
    return QStringLiteral("已请求");
}
inline QString countdownOpened(int seconds) {
    return QStringLiteral("已打开 %1 秒倒计时").arg(seconds);
}
inline QString countdownBroughtForward() {
    return QStringLiteral("倒计时已在进行，窗口提到最前");
}
inline QString readingFolder() {
    return started() + kColon + QStringLiteral("正在读取搜索文件夹");
}
// An action asked for by another program rather than by the table.
inline QString fromOutside(const QString& outcome) {
    return QStringLiteral("外部命令") + kColon + outcome;
}
inline QString refused(const QString& why) {
    return QStringLiteral("拒绝") + kColon + why;
}

// A line of the day that fell due while the program was not running.
inline QString missed() {
    return QStringLiteral("错过（程序没有运行）");
}

// The program's own life.
inline QString programStarted() {
    return QStringLiteral("程序启动");
}
inline QString programEnded() {
    return QStringLiteral("程序退出");
}

} // namespace campanor::logword
