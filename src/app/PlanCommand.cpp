#include "PlanCommand.h"

#include "calendar/CalendarFile.h"
#include "calendar/DayPlan.h"
#include "common/ProgramFolder.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace campanor {

std::optional<int> runPlanCommand(int argc, char* argv[]) {
    if (argc < 2 || std::strcmp(argv[1], "--plan") != 0)
        return std::nullopt;
    QCoreApplication app(argc, argv);
    const QString text = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (argc != 3 || !date.isValid()) {
        std::fprintf(stderr, "%s\n",
                     qUtf8Printable(QStringLiteral("日期无效：“%1”，应为 YYYY-MM-DD，例如 "
                                                   "campanor --plan 2026-10-10")
                                        .arg(text)));
        return 2;
    }
    const QString folder = programFolder();
    CalendarFile calendar(folder);
    calendar.load();
    const DayPlan plan =
        planDay(calendar.inUse() ? calendar.calendar() : Calendar(), date, defaultTableIn(folder));
    QString out = plan.dayLine + u'\n';
    for (const PlannedInstruction& instruction : plan.instructions) {
        out += instruction.line + u'\n';
        if (!instruction.missing.isEmpty())
            out += QStringLiteral("! ") + instruction.missing + u'\n';
    }
    const QByteArray bytes = out.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace campanor
