#pragma once
// The program's start-up: the application object and title, the hand-over to a program of this
// user already running, the fonts, Qt's own texts in the user's language, the regional separator,
// the main window and the calculators, then the event loop until the main window closes.

#include <functional>

class QLocale;
class QWidget;

namespace velaro {

// Qt's own texts (a field's context menu, a box's buttons) in the language of `locale`, from the
// "qtbase" catalogue Qt installs with its translations (Debian's qt6-translations-l10n). Replaces
// what an earlier call installed; false where that language has no catalogue, and Qt keeps its
// English words.
bool installQtTranslations(const QLocale& locale);

// `started`, when given, is called once the main window has been shown (benchmarks hook in
// here); the program itself passes nothing.
int runApplication(int argc, char** argv, const std::function<void(QWidget&)>& started = {});

} // namespace velaro
