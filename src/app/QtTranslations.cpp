#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace campanor {

QTranslator* installQtTranslations(QCoreApplication& app) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    // Dates and sizes in the file dialog follow the same language.
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
