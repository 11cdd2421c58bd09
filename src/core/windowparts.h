#pragma once
// The pieces every calculator window is built from, and the gaps they share: a field row (prompt,
// field, unit), a grid of conditions (text cells placed by row, column and spans, captionless
// check boxes beside the cells that name them) and the window's foot (Compute, the result row,
// Reset). CalculatorWindow places them; the types describe them.

#include <QList>
#include <QRect>
#include <QString>

#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;

namespace velaro {

class NumericEdit;

inline constexpr const char* kCompute = "Button1";
inline constexpr const char* kReset = "Button2";
inline constexpr const char* kPrimedTick = "CheckBox4"; // "Детали проолифленные:"

inline constexpr int kUnitGap = 6;      // from a field to its unit
inline constexpr int kPromptGap = 8;    // from a prompt to the field after it
inline constexpr int kTextDrop = 2;     // a text on a field's line stands this far below its top
inline constexpr int kButtonWidth = 75; // Compute and Reset
inline constexpr int kButtonHeight = 25;
inline constexpr int kFootMargin = 10; // below Reset, in the window and door calculators
inline constexpr int kBoxWidth = 17;   // a captionless check box
inline constexpr int kCellBoxGap = 2;  // from a sunken cell to its box
inline constexpr int kPrimedBoxGap = 7; // from «Детали проолифленные:» to its box
// The result caption's lines, alike in every calculator.
inline constexpr Qt::Alignment kResultCaptionAlignment = Qt::AlignHCenter | Qt::AlignTop;

// A prompt, the field it names and the field's unit.
struct FieldRow {
    QLabel* prompt = nullptr;
    NumericEdit* field = nullptr;
    QLabel* unit = nullptr; // none where the row shows no unit

    QList<QWidget*> widgets() const;
    QRect bounds() const;
    void moveBy(QPoint offset) const;
};

// Where a unit stands beside its field: centred on the field's height, or on the line of a
// prompt that stands before the field (kTextDrop below its top).
enum class UnitLine { Centred, Text };

// A cell of a condition grid at (row, column), spanning rows and columns. A cell with a box has
// the check box at its right end; the box is named by the texts of the cells listed in
// `namedBy`, in that order (by its own cell's text where none are listed). Sunken cells are
// named StaticText1, StaticText2 … in the order the window adds them.
struct GridCell {
    QString text;
    int row;
    int column;
    int rowSpan = 1;
    int columnSpan = 1;
    const char* box = nullptr;
    std::vector<std::pair<int, int>> namedBy = {}; // (row, column) of the naming cells
};

struct ConditionGrid {
    std::vector<int> columns; // widths, a box beside a cell included
    std::vector<int> rows;    // heights
    std::vector<GridCell> cells;
    // Sunken: the text centred and wrapped in a sunken cell, the box as tall as the cell.
    // Lines: plain lines of text from the cell's left edge, a kBoxWidth square box centred on one.
    // Prompts: plain text ending `boxGap` before its box, the box as tall as the text.
    enum class Cells { Sunken, Lines, Prompts } style = Cells::Sunken;
    int spacing = 0;          // between neighbouring rows and columns
    int boxGap = kCellBoxGap; // from a cell's text to its box
    int left = -1;            // the grid's left edge; centred across the window where negative
    QString nameSeparator = QStringLiteral(" — "); // between the texts that name a box
    // Sunken cells keep wrapped text clear of their edge by a margin, and a row grows to fit
    // its wrapped texts.
    bool fitText = false;
};

// The window's foot: Compute, the result row and Reset.
struct WindowFoot {
    QPushButton* compute = nullptr;
    FieldRow result;
    QPushButton* reset = nullptr;
};

} // namespace velaro
