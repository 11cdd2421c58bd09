#pragma once
// The window the three window-opening calculators share: titles with the picture to their
// right, the area and sash-count fields, a grid of conditions, then the primed tick, Compute,
// the result and Reset spread over the rest of the window.

#include "core/calculatorwindow.h"

namespace velaro {

struct OpeningLayout {
    const char* className;
    const char* module;
    int clientHeight;
    QStringList titleLines;
    int titlePixelHeight; // the smaller titles of the grid windows
    QSize picture;
    // The openings the window is for, e.g. "с раздельными переплетами": the window's caption
    // ends with them and the result caption's last line names them.
    QString openings;
};

class OpeningWindow : public CalculatorWindow {
  public:
    static constexpr int kMargin = 16;

  protected:
    // Builds the whole window around its grid of conditions. Reset empties the fields, then
    // unticks the boxes in the order given.
    OpeningWindow(const OpeningLayout& layout, const ConditionGrid& conditions,
                  const QStringList& boxes, char decimalSeparator, QWidget* parent);
};

} // namespace velaro
