#pragma once

class QCoreApplication;
class QTranslator;

namespace campanor {

// Qt's own texts (standard buttons, input boxes, the file dialog) in Simplified
// Chinese, like every text of the program. Returns the installed translator
// (owned by `app`), or nullptr when Qt's translation files are not installed:
// the program then runs with Qt's English texts.
QTranslator* installQtTranslations(QCoreApplication& app);

} // namespace campanor
