#pragma once
// What the main window and every calculator window share as top-level windows: identity,
// a title bar with minimise but no maximise, the default font and background colour, and
// menu commands whose handlers run inside the error guard.

#include <QString>

#include <functional>

class QColor;
class QMainWindow;
class QAction;

namespace velaro {

// Names the window, sets its caption and icon, the fixed title-bar buttons, the default font
// and the background colour.
void setUpTopLevelWindow(QMainWindow& window, const QString& className, const QString& caption,
                         const QString& iconPath, const QColor& background);

// Adds a command to a top-level menu of the window (creating the menu on first use), both
// named as the window's design names them; the handler runs guarded.
QAction* addMenuCommand(QMainWindow& window, const QString& menuTitle, const QString& menuName,
                        const QString& commandTitle, const QString& commandName,
                        const std::function<void()>& handler);

} // namespace velaro
