#pragma once
// The window the three window-opening calculators share: titles with the picture to their
// right, the area and sash-count fields, a band of conditions that each calculator lays out
// itself, then the oiled-parts box, Compute, the result and Reset.

#include "core/calculatorwindow.h"

#include <vector>

namespace velaro {

struct OpeningLayout {
    WindowDescription window;
    QStringList titleLines;
    int titlePixelHeight; // the smaller titles of the grid windows
    QSize picture;
    QStringList resultCaption;
};

// A grid of sunken cells with captionless boxes beside them. Columns and rows are counted in
// grid units; a box stands in a column of its own, as tall as its row.
struct GridCell {
    const char* name;
    QString text;
    int row;
    int column;
    int rowSpan = 1;
    int columnSpan = 1;
};
struct GridBox {
    const char* name;
    int row;
    int column;
    QStringList namedBy; // the cells whose texts say what ticking the box means
};
struct ConditionGrid {
    std::vector<int> columnWidths;
    std::vector<int> rowHeights;
    std::vector<GridCell> cells;
    std::vector<GridBox> boxes;
};

class OpeningWindow : public CalculatorWindow {
    Q_OBJECT
  protected:
    // Builds the head, down to the instruction above the conditions.
    OpeningWindow(const OpeningLayout& layout, char decimalSeparator, QWidget* parent);

    static constexpr int kMargin = 16;
    static constexpr int kBoxSize = 17;

    // Where the conditions begin.
    int conditionsTop() const { return conditionsTop_; }
    // Places the grid centred below `top`; returns its bottom.
    int placeGrid(const ConditionGrid& grid, int top);
    // Builds the foot below the conditions, spread down to the bottom of the window, and sets
    // the Reset order: the fields, then the boxes in the order given.
    void placeFoot(int conditionsBottom, const QStringList& boxes);
    // An instruction to the user, in italics.
    void addInstruction(const QString& text, int top);

  private:
    int placeFields(int top);

    QStringList resultCaption_;
    int conditionsTop_ = 0;
};

} // namespace velaro
