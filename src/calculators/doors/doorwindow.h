#pragma once
// What the door calculators share. Every door window reads one area into Edit2 and writes one
// result into Edit4, refuses an empty area the same way, and is built from the same parts: a
// title in 11-pixel capitals, the area field beside the picture, grids of sunken text cells with a
// captionless check box to the right of the cell that names it, the primed-parts tick, and
// Compute, the result and Reset at the bottom.

#include "core/calculatorwindow.h"
#include "core/coefficients.h"
#include "core/refusals.h"

#include <optional>
#include <string>
#include <vector>

namespace velaro {

namespace doors {

inline constexpr const char* kArea = "Edit2";
inline constexpr const char* kSashes = "Edit3"; // where a door window asks for the sash count
inline constexpr const char* kResult = "Edit4";
inline constexpr const char* kPrimed = "CheckBox4";

// Texts several door windows show.
inline const QString kTickWhereItHolds =
    QStringLiteral("Поставьте галочку там, где условие выполняется:");
inline const QString kThickPartitions =
    QStringLiteral("Дополнительно поставьте галочку, если перегородки толщиной 140-160 мм с "
                   "коробками на всю ширину перегородки:");

// An empty area is refused before anything else: focus to the area, the result emptied.
std::optional<Refusal> refuseEmptyArea(const FormState& state);
// A refusal on the ticks: the focus stays, the result is emptied.
Refusal refusal(std::string message);
// The area read, then the table's chain for the ticks, as the window's only result.
Results paintedArea(const FormState& state, const CoefficientTable& table);

} // namespace doors

// Whether "Детали проолифленные:" beside CheckBox4 stands in a sunken cell or a plain label.
enum class PrimedText { SunkenCell, Label };

// The windows that read only an area: title, area field beside the picture, the grid of
// conditions, the primed-parts tick, Compute, result and Reset.
struct AreaWindowLayout {
    QString titleSecondLine;
    QSize picture;
    bool tickInstruction; // "Поставьте галочку там, где условие выполняется:" over the grid
    ConditionGrid grid;
    PrimedText primedText;
    QStringList resultCaption;
};

class DoorWindow : public CalculatorWindow {
  public:
    using CalculatorWindow::CalculatorWindow;

  protected:
    static constexpr int kMargin = 8;
    static constexpr int kGap = 10;        // between the parts of a window, top to bottom
    static constexpr int kUnderPrompt = 4; // from a prompt's foot to its field

    // A grid of door conditions: sunken cells two pixels apart, a box named by its row's heading
    // where the cell's own text does not tell it apart.
    static ConditionGrid conditionGrid(std::vector<int> columns, std::vector<int> rows,
                                       std::vector<GridCell> cells);

    // The helpers that take `top` place their part from there down and return its bottom edge.

    // Title lines in 11-pixel capitals, centred across the given width from the left edge.
    int addTitle(const QStringList& lines, int top, int width);
    // The picture at the right edge; the area prompt, Edit2 and "м2" centred to its left.
    int addAreaBesidePicture(QSize picture, int top);
    int addItalicLine(const QString& text, int top);
    // The primed-parts instruction over "Детали проолифленные:" and CheckBox4.
    int addPrimedTick(int top, PrimedText style);
    // Compute, the result caption with Edit4 and "м2", and Reset, spread evenly over what is
    // left of the window below `top`.
    void addComputeResultReset(const QStringList& resultCaption, int top);
    // All of an area-only window, top to bottom.
    void addAreaWindowParts(const AreaWindowLayout& layout);
};

} // namespace velaro
