#include "scheduler/Action.h"

#include <gtest/gtest.h>

using namespace campanor;

TEST(Action, RecognisesEveryWordWithItsParameter) {
    const std::pair<QString, ActionKind> cases[] = {
        {QStringLiteral("播音开-静态/p/a.PLF"), ActionKind::StartBackStatic},
        {QStringLiteral("前置播音/p/a.PLF"), ActionKind::StartFrontStatic},
        {QStringLiteral("播音开-记忆静态播放/p/a.PLF"), ActionKind::StartBackMemory},
        {QStringLiteral("搜索文件夹-后置排序/p/a.PLF"), ActionKind::SearchBackSorted},
        {QStringLiteral("搜索文件夹-前置排序/p/a.PLF"), ActionKind::SearchFrontSorted},
        {QStringLiteral("搜索文件夹-后置随机/p/a.PLF"), ActionKind::SearchBackRandom},
        {QStringLiteral("搜索文件夹-前置随机/p/a.PLF"), ActionKind::SearchFrontRandom},
        {QStringLiteral("播音开-动态/p/a.PLF"), ActionKind::StartBackDynamic},
        {QStringLiteral("执行程序/p/a.PLF"), ActionKind::LaunchProgram},
        {QStringLiteral("打开表/p/a.PLF"), ActionKind::OpenTable},
    };
    for (const auto& [field, kind] : cases) {
        const Action action = recognizeAction(field);
        EXPECT_EQ(action.kind, kind) << field.toStdString();
        EXPECT_EQ(action.parameter, "/p/a.PLF") << field.toStdString();
    }
    const std::pair<QString, ActionKind> bare[] = {
        {QStringLiteral("前置关"), ActionKind::CloseFrontPlayer},
        {QStringLiteral("后置关"), ActionKind::CloseBackPlayer},
        {QStringLiteral("线路打开"), ActionKind::LineInOn},
        {QStringLiteral("线路关闭"), ActionKind::LineInOff},
        {QStringLiteral("麦克风开"), ActionKind::MicOn},
        {QStringLiteral("麦克风关"), ActionKind::MicOff},
        {QStringLiteral("关机"), ActionKind::ShutDown},
        {QStringLiteral("重启"), ActionKind::Restart},
        {QStringLiteral("注销"), ActionKind::LogOff},
        {QStringLiteral("终止程序 ignored"), ActionKind::EndLaunchedProgram},
    };
    for (const auto& [field, kind] : bare)
        EXPECT_EQ(recognizeAction(field).kind, kind) << field.toStdString();
}

TEST(Action, AnythingElseIsARingWithTheWholeField) {
    const Action ring = recognizeAction("/home/school/bell.wav");
    EXPECT_EQ(ring.kind, ActionKind::Ring);
    EXPECT_EQ(ring.parameter, "/home/school/bell.wav");
    // A word that is not at the very start does not count.
    EXPECT_EQ(recognizeAction(QStringLiteral(" 关机")).kind, ActionKind::Ring);
}

TEST(Action, ParameterIsCutAt500ButARingPathIsNot) {
    const QString longPath = "/" + QString(599, 'a');
    const Action program = recognizeAction(QStringLiteral("执行程序") + longPath);
    EXPECT_EQ(program.parameter, longPath.left(500));
    EXPECT_EQ(recognizeAction(longPath).parameter, longPath);
}
