#pragma once
// What the door windows share. Each reads the doorways' area into Edit2 and writes one result
// into Edit4, refuses an empty area the same way, and is built from the same parts: a title in
// 11-pixel capitals and a result caption that both name what fills the doorways, grids of sunken
// text cells with a captionless box right of the cell that names it, and Compute, the result and
// Reset spread over the foot.

#include "core/calculatorwindow.h"
#include "core/coefficients.h"
#include "core/refusals.h"

namespace velaro {

namespace doors {

inline constexpr const char* kArea = "Edit2";
inline constexpr const char* kResult = "Edit4";

inline const QString kTickWhereItHolds =
    QStringLiteral("Поставьте галочку там, где условие выполняется:");

// The area's name on the estimate sheet.
inline constexpr const char* kAreaShortName = "Площадь проемов";

// An empty area is refused before anything else: focus to the area, the result emptied.
std::optional<Refusal> refuseEmptyArea(const FormState& state);

} // namespace doors

class DoorWindow : public CalculatorWindow {
  public:
    using CalculatorWindow::CalculatorWindow;

  protected:
    static constexpr int kMargin = 8;
    static constexpr int kGap = 10;        // between the parts of a window, top to bottom
    static constexpr int kUnderPrompt = 4; // from a prompt's foot to its field

    // Sunken cells two pixels apart, a box named by its row's heading where the cell's own text
    // does not tell it apart.
    static ConditionGrid conditionGrid(std::vector<int> columns, std::vector<int> rows,
                                       std::vector<GridCell> cells);

    // The title "… ЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ" and `filling` after it, centred over `width`
    // from the top margin; returns its bottom edge, as addItalicLine does.
    int addTitle(const QString& filling, int width);
    int addItalicLine(const QString& text, int top);
    // Compute, the result caption "… заполнения дверных проемов" and `filling` with Edit4 and
    // "м2", and Reset, spread evenly over what is left of the window below `top`.
    void addComputeResultReset(const QString& filling, int top);
};

} // namespace velaro
