#pragma once
// What the main window and every calculator window share as top-level windows: identity, a
// title bar with minimise but no maximise, the default font, one fixed light palette, Return
// pressing the focused button, guarded menu commands, and a frame kept inside the screen.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class QAction;
class QColor;
class QMainWindow;
class QScreen;
class QWidget;

namespace velaro {

// Names the window and sets its caption, icon, title-bar buttons, font and palette (every
// colour fixed, `background` behind the controls).
void setUpTopLevelWindow(QMainWindow& window, const QString& className, const QString& caption,
                         const QString& iconPath, const QColor& background);

// Adds a command to a menu of the window (creating the menu on first use), both named for tests
// and scripts; the handler runs guarded.
QAction* addMenuCommand(QMainWindow& window, const QString& menuTitle, const QString& menuName,
                        const QString& commandTitle, const QString& commandName,
                        const std::function<void()>& handler);

// Where a frame's top-left goes so that the frame stays inside `available`: along each axis
// where it fits, the wanted position moved in only as far as needed; where it does not, at
// the area's left or top edge, so that the title bar stays on screen.
QPoint keptInside(QPoint wanted, QSize frame, const QRect& available);
// Centred in `available`, kept inside as above.
QPoint centredInside(QSize frame, const QRect& available);

// Where a window's frame goes, given the frame's outer size and its screen's available area.
using Placement = std::function<QPoint(QSize frame, const QRect& available)>;

// The frame margins the window system reports; empty until it has framed the window.
QMargins knownFrameMargins(const QWidget& window);

// Shows the window restored from a minimised state, raised and active.
void bringToFront(QWidget& window);

// Puts the window's frame where `where` says on `screen` (the window's own where null).
// A window not framed yet is placed as if framed with `likelyMargins` (another window's,
// framed alike), and placed again the moment the window system has framed it.
void placeFrame(QWidget& window, const QScreen* screen, Placement where,
                const QMargins& likelyMargins = {});

// Runs `framed` once, when the window system first reports the window's frame margins, before
// a pending placement is made again with them.
void whenFramed(QWidget& window, std::function<void(const QMargins&)> framed);

} // namespace velaro
