#pragma once
// What a person would find wrong with a window's layout, looked at the same way for every window:
// a text that does not fit the control showing it, a control that sticks out of the client area,
// and controls lying on top of each other.

#include <QList>
#include <QStringList>

class QFont;
class QWidget;

namespace velaro::test {

// One line per fault, naming the controls; empty when the window looks right. The window should
// be shown, so that styles and fonts are applied as on screen.
QStringList layoutFaults(const QWidget* window);

// Whether a face the windows are laid out for is stood in for by the family whose widths the
// layout is made for: empty if so, else one sentence naming the family and the package that
// brings it ("Liberation Serif is not installed: install fonts-liberation2").
QString faceFault(const QFont& font, const QString& family, const QString& package);

// The first of the program's faces (serif, bold serif, sans) whose family is missing, as
// faceFault says it; empty when all are there. Without them every window is measured in a wider
// face, so a layout check is meaningless until this is empty.
QString missingFace();

// How the given controls lie on a surface, checked more strictly than layoutFaults: one line
// per control not wholly inside the surface, per label whose text does not fit it (a wrapping
// label: its wrapped lines do not fit down), and per two controls with a pixel in common, push
// buttons included. Empty when all is well.
QStringList placementFaults(const QWidget* surface, const QList<QWidget*>& controls);

// A control as the fault lines name it: its objectName and what it shows.
QString describeControl(const QWidget* control);

} // namespace velaro::test
