#include "CommandLineClient.h"

#include "RemoteService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

namespace campanor {

namespace {

constexpr int kRefused = 1;
constexpr int kUsage = 2;
constexpr int kNotRunning = 3;
constexpr int kTimeoutMs = 10000;

const char* const kHelp =
    "用法：campanor [命令]\n"
    "不带命令时启动程序。以下命令交给本用户正在运行的程序执行：\n"
    "  --status                    显示状态（内部时钟、指令表、下一条指令、播音器、紧急广播）\n"
    "  --run \"<响应方式>\"          立即执行一个动作，如 线路打开、前置播音/路径/文件.PLF\n"
    "  --ring                      立即响默认乐音\n"
    "  --open-table PATH           打开指令表\n"
    "  --emergency on [PLAYLIST]   开始紧急广播（默认曲目表 PlayListFile/EMERGENCY.PLF）\n"
    "  --emergency off             结束紧急广播\n"
    "  --plan YYYY-MM-DD           列出这一天将执行的指令（不需要程序在运行）\n"
    "  --help                      显示本说明\n"
    "退出状态：0 完成；1 被拒绝（原因见标准错误）；2 命令行有误；3 本用户没有运行中的程序。\n";

void say(FILE* to, const QString& text) {
    std::fprintf(to, "%s\n", qUtf8Printable(text));
}

QString absolute(const QString& path) {
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

struct Call {
    QString method;
    QVariantList arguments;
};

// The command of the arguments; nullopt for none, an empty method for one
// that is used wrongly.
std::optional<Call> parse(const QStringList& args) {
    const QString command = args.value(1);
    const QStringList rest = args.mid(2);
    if (command == QStringLiteral("--status") && rest.isEmpty())
        return Call{QStringLiteral("Status"), {}};
    if (command == QStringLiteral("--run") && rest.size() == 1)
        return Call{QStringLiteral("Run"), {rest[0]}};
    if (command == QStringLiteral("--ring") && rest.isEmpty())
        return Call{QStringLiteral("Run"), {QStringLiteral("默认乐音")}};
    if (command == QStringLiteral("--open-table") && rest.size() == 1)
        return Call{QStringLiteral("OpenTable"), {absolute(rest[0])}};
    if (command == QStringLiteral("--emergency") && !rest.isEmpty()) {
        if (rest[0] == QStringLiteral("on") && rest.size() <= 2)
            return Call{QStringLiteral("Emergency"), {true, absolute(rest.value(1))}};
        if (rest[0] == QStringLiteral("off") && rest.size() == 1)
            return Call{QStringLiteral("Emergency"), {false, QString()}};
    }
    for (const char* known : {"--status", "--run", "--ring", "--open-table", "--emergency"})
        if (command == QLatin1String(known))
            return Call{};
    return std::nullopt;
}

void printStatus(const QVariantMap& status) {
    for (auto it = status.cbegin(); it != status.cend(); ++it) {
        const QVariant& value = it.value();
        const QString text = value.typeId() == QMetaType::Bool
                                 ? (value.toBool() ? QStringLiteral("yes") : QStringLiteral("no"))
                                 : value.toString();
        say(stdout, it.key() + QStringLiteral(": ") + text);
    }
}

} // namespace

std::optional<int> runOutsideCommand(int argc, char* argv[]) {
    if (argc < 2)
        return std::nullopt;
    const QString first = QString::fromLocal8Bit(argv[1]);
    if (first == QStringLiteral("--help") || first == QStringLiteral("-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const std::optional<Call> call = parse(args);
    if (!call)
        return std::nullopt;
    if (call->method.isEmpty()) {
        say(stderr, QStringLiteral("命令行有误：") + args.mid(1).join(u' '));
        std::fputs(kHelp, stderr);
        return kUsage;
    }

    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(remote::kService)) {
        say(stderr, QStringLiteral("本用户没有正在运行的 Campanor。"));
        return kNotRunning;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(remote::kService, remote::kPath,
                                                          remote::kInterface, call->method);
    message.setArguments(call->arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
            reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner")) {
            say(stderr, QStringLiteral("本用户没有正在运行的 Campanor。"));
            return kNotRunning;
        }
        say(stderr, QStringLiteral("被拒绝：") + reply.errorMessage());
        return kRefused;
    }
    if (call->method == QStringLiteral("Status") && !reply.arguments().isEmpty())
        printStatus(qdbus_cast<QVariantMap>(reply.arguments().first()));
    return 0;
}

} // namespace campanor
