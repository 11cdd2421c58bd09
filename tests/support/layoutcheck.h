#pragma once
// What a person would find wrong with a window's layout, looked at the same way for every window:
// a text that does not fit the control showing it, a control that sticks out of the client area,
// and controls lying on top of each other.

#include <QStringList>

class QWidget;

namespace velaro::test {

// One line per fault, naming the controls; empty when the window looks right. The window should
// be shown, so that styles and fonts are applied as on screen.
QStringList layoutFaults(const QWidget* window);

// A control as the fault lines name it: its objectName and what it shows.
QString describeControl(const QWidget* control);

} // namespace velaro::test
