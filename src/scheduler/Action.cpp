#include "Action.h"

#include <array>
#include <utility>

namespace campanor {

namespace {

using Word = std::pair<ActionKind, const char16_t*>;

// The order matters: the first word that the field begins with wins.
constexpr std::array<Word, 20> kWords = {{
    {ActionKind::StartBackStatic, u"播音开-静态"},
    {ActionKind::StartFrontStatic, u"前置播音"},
    {ActionKind::StartBackMemory, u"播音开-记忆静态播放"},
    {ActionKind::SearchBackSorted, u"搜索文件夹-后置排序"},
    {ActionKind::SearchFrontSorted, u"搜索文件夹-前置排序"},
    {ActionKind::SearchBackRandom, u"搜索文件夹-后置随机"},
    {ActionKind::SearchFrontRandom, u"搜索文件夹-前置随机"},
    {ActionKind::CloseFrontPlayer, u"前置关"},
    {ActionKind::StartBackDynamic, u"播音开-动态"},
    {ActionKind::CloseBackPlayer, u"后置关"},
    {ActionKind::LineInOn, u"线路打开"},
    {ActionKind::LineInOff, u"线路关闭"},
    {ActionKind::MicOn, u"麦克风开"},
    {ActionKind::MicOff, u"麦克风关"},
    {ActionKind::ShutDown, u"关机"},
    {ActionKind::Restart, u"重启"},
    {ActionKind::LogOff, u"注销"},
    {ActionKind::LaunchProgram, u"执行程序"},
    {ActionKind::EndLaunchedProgram, u"终止程序"},
    {ActionKind::OpenTable, u"打开表"},
}};

} // namespace

Action recognizeAction(const QString& actionField) {
    for (const auto& [kind, word] : kWords) {
        const QString text = QString::fromUtf16(word);
        if (actionField.startsWith(text))
            return {kind, actionField.mid(text.size(), kMaxParameterLength)};
    }
    return {ActionKind::Ring, actionField};
}

QString actionWord(ActionKind kind) {
    for (const auto& [k, word] : kWords) {
        if (k == kind)
            return QString::fromUtf16(word);
    }
    return {};
}

} // namespace campanor
