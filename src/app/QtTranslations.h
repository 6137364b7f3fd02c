#pragma once

class QCoreApplication;
class QTranslator;

namespace campanor {

// Qt's own texts (standard buttons, input boxes, the file dialog) in Simplified
// Chinese, like every text of the program. Returns the installed translator
// (owned by `app`), or nullptr when Qt's translation files are not installed:
// the program then runs with Qt's English texts.
QTranslator* installQtTranslations(QCoreApplication& app);

// Qt's file dialog writes dates with the system's locale, which the default
// locale set above does not reach. Where the system has none (C or POSIX), Qt
// is given the Chinese one. Runs before anything asks Qt for the system
// locale, that is before the application object is made; the environment is
// left as it was, so the C library and the programs started see the system's.
void useChineseWhereTheSystemHasNoLocale();

} // namespace campanor
