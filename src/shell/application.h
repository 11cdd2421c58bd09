#pragma once
// The program's start-up: the application object and title, the fonts, the regional separator,
// the main window and the calculators, then the event loop until the main window closes.

#include <functional>

class QWidget;

namespace velaro {

// `started`, when given, is called once the main window has been shown (benchmarks hook in
// here); the program itself passes nothing.
int runApplication(int argc, char** argv, const std::function<void(QWidget&)>& started = {});

} // namespace velaro
