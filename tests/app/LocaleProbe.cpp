// Starts as the program does and says how Qt's file dialog shows a file's
// date, and what the C library and started programs see of the locale. The
// system locale is read once per process, so each case needs a fresh one.
#include "app/QtTranslations.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemModel>
#include <clocale>
#include <cstdio>

int main(int argc, char* argv[]) {
    campanor::useChineseWhereTheSystemHasNoLocale();
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    QFileSystemModel model;
    model.setRootPath(QFileInfo(file).path());
    // The column "Date Modified", as the dialog lists it.
    std::printf("date=%s\n", qPrintable(model.index(file, 3).data().toString()));
    std::printf("LC_ALL=%s\n",
                qEnvironmentVariableIsSet("LC_ALL") ? qgetenv("LC_ALL").constData() : "(unset)");
    std::printf("setlocale=%s\n", std::setlocale(LC_ALL, nullptr));
    return 0;
}
