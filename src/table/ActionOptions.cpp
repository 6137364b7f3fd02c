#include "ActionOptions.h"

#include <array>

namespace campanor {

namespace {

using S = ParameterSource;

const std::array<ActionOption, 22>& options() {
    static const std::array<ActionOption, 22> all{{
        {"Option1", QStringLiteral("默认乐音"), {}, S::DefaultRing, nullptr},
        {"Option2", QStringLiteral("选择乐音"), {}, S::ChosenRing, nullptr},
        {"Option14", QStringLiteral("播音开-静态"), QStringLiteral("播音开-静态"), S::Playlist,
         "Text7"},
        {"Option35", QStringLiteral("播音开-记忆静态播放"), QStringLiteral("播音开-记忆静态播放"),
         S::Playlist, "Text10"},
        {"Option29", QStringLiteral("播音开-动态"), QStringLiteral("播音开-动态"), S::Playlist,
         "Text9"},
        {"Option8", QStringLiteral("前置播音"), QStringLiteral("前置播音"), S::Playlist, "Text13"},
        {"Option37", QStringLiteral("搜索文件夹-后置排序"), QStringLiteral("搜索文件夹-后置排序"),
         S::SearchFolder, "Text11"},
        {"Option38", QStringLiteral("搜索文件夹-后置随机"), QStringLiteral("搜索文件夹-后置随机"),
         S::SearchFolder, "Text12"},
        {"Option9", QStringLiteral("搜索文件夹-前置排序"), QStringLiteral("搜索文件夹-前置排序"),
         S::SearchFolder, "Text15"},
        {"Option10", QStringLiteral("搜索文件夹-前置随机"), QStringLiteral("搜索文件夹-前置随机"),
         S::SearchFolder, "Text16"},
        {"Option15", QStringLiteral("后置关"), QStringLiteral("后置关"), S::None, nullptr},
        {"Option11", QStringLiteral("前置关"), QStringLiteral("前置关"), S::None, nullptr},
        {"Option32", QStringLiteral("线路打开"), QStringLiteral("线路打开"), S::None, nullptr},
        {"Option33", QStringLiteral("线路关闭"), QStringLiteral("线路关闭"), S::None, nullptr},
        {"Option12", QStringLiteral("麦克风开"), QStringLiteral("麦克风开"), S::None, nullptr},
        {"Option13", QStringLiteral("麦克风关"), QStringLiteral("麦克风关"), S::None, nullptr},
        {"Option17", QStringLiteral("强制关机"), QStringLiteral("关机"), S::None, nullptr},
        {"Option22", QStringLiteral("强制重新启动计算机"), QStringLiteral("重启"), S::None,
         nullptr},
        {"Option23", QStringLiteral("注销用户"), QStringLiteral("注销"), S::None, nullptr},
        {"Option21", QStringLiteral("执行程序"), QStringLiteral("执行程序"), S::Program, "Text6"},
        {"Option30", QStringLiteral("终止程序"), QStringLiteral("终止程序"), S::None, nullptr},
        {"Option27", QStringLiteral("打开表"), QStringLiteral("打开表"), S::Table, "Text8"},
    }};
    return all;
}

} // namespace

std::span<const ActionOption> actionOptions() {
    return options();
}

const ActionOption* findActionOption(const QString& name) {
    for (const ActionOption& option : options())
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

} // namespace campanor
