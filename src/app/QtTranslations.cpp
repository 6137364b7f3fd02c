#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace campanor {

namespace {

bool isCOrPosix(const QByteArray& name) {
    return name.isEmpty() || name == "C" || name == "POSIX" || name.startsWith("C.");
}

} // namespace

void useChineseWhereTheSystemHasNoLocale() {
    // The time category, as the C library resolves it.
    QByteArray time = qgetenv("LC_ALL");
    if (time.isEmpty())
        time = qgetenv("LC_TIME");
    if (time.isEmpty())
        time = qgetenv("LANG");
    if (!isCOrPosix(time))
        return;
    const bool allWasSet = qEnvironmentVariableIsSet("LC_ALL");
    const QByteArray all = qgetenv("LC_ALL");
    qputenv("LC_ALL", "zh_CN.UTF-8");
    // Qt reads the environment once, at its first look at the system locale.
    (void)QLocale::system();
    if (allWasSet)
        qputenv("LC_ALL", all);
    else
        qunsetenv("LC_ALL");
}

QTranslator* installQtTranslations(QCoreApplication& app) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    // The program's own dates and numbers follow the same language (the file
    // dialog's take the system locale: see useChineseWhereTheSystemHasNoLocale).
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        qWarning("Qt's Chinese translations (qtbase_zh_CN.qm) were not found; "
                 "standard dialogs stay in English");
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace campanor
