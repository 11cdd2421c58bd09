#pragma once
// What the main window and every calculator window share as top-level windows: identity,
// a title bar with minimise but no maximise, the default font, one fixed light palette, keys
// that press the focused button, menu commands whose handlers run inside the error guard, and
// placement of the window's frame inside the screen.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class QColor;
class QMainWindow;
class QPalette;
class QAction;
class QScreen;
class QWidget;

namespace velaro {

// Names the window, sets its caption and icon, the fixed title-bar buttons, the default font,
// the palette (lightPalette over `background`) and lets Return press the focused button.
void setUpTopLevelWindow(QMainWindow& window, const QString& className, const QString& caption,
                         const QString& iconPath, const QColor& background);

// The colours every window is drawn in, whatever the desktop's theme: dark text on light
// fields, buttons and boxes, with `background` behind them.
QPalette lightPalette(const QColor& background);

// Adds a command to a top-level menu of the window (creating the menu on first use); menu and
// command get the object names tests and scripts find them by; the handler runs guarded.
QAction* addMenuCommand(QMainWindow& window, const QString& menuTitle, const QString& menuName,
                        const QString& commandTitle, const QString& commandName,
                        const std::function<void()>& handler);

// Where a frame's top-left goes so that the frame stays inside `available`: along each axis
// where it fits, the wanted position moved in only as far as needed; where it does not, at
// the area's left or top edge, so that the title bar stays on screen.
QPoint keptInside(QPoint wanted, QSize frame, const QRect& available);
// The frame's top-left that centres it in `available`, kept inside as above.
QPoint centredInside(QSize frame, const QRect& available);

// Where a window's frame goes, given the frame's outer size and its screen's available area.
using Placement = std::function<QPoint(QSize frame, const QRect& available)>;

// The window's frame margins as the window system reports them; empty until it has framed
// the window.
QMargins knownFrameMargins(const QWidget& window);

// Whether the platform's windows have a frame drawn by a window system (false on the
// offscreen and minimal platforms, whose frame is a stand-in nobody sees).
bool windowSystemDrawsFrames();

// Puts the window's frame where `where` says on `screen` (the window's own where null).
// A window not framed yet has no known margins: it is placed as if framed with
// `likelyMargins` (another window's, framed alike), and placed again the moment the window
// system has framed it.
void placeFrame(QWidget& window, const QScreen* screen, Placement where,
                const QMargins& likelyMargins = {});

// Runs `framed` once, when the window system first reports the window's frame margins, before
// a pending placement is made again with them.
void whenFramed(QWidget& window, std::function<void(const QMargins&)> framed);

// Shows the window: restored if it was minimised, raised above the others and activated.
void bringToFront(QWidget& window);

} // namespace velaro
