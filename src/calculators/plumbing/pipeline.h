#pragma once
// The pipeline windows: one length field per nominal diameter, each length times the painted
// area per running metre of its diameter, summed into one total. The steel and cast-iron
// windows are one window with two designs: their texts and their table of rows.

#include "core/calculatorwindow.h"

#include <span>

namespace velaro::pipeline {

struct Row {
    int diameter;            // mm, shown in the row label
    const char* length;      // the row's length field
    long double coefficient; // м2 per running metre
};

struct Design {
    WindowDescription window;
    QString title;
    QString subtitle;
    QString prompt;
    QString totalLabel;
    std::span<const Row> rows;
};

// The field that shows the total.
inline constexpr const char* kTotal = "Edit1";

// Steel pipelines, with the protrusions of fittings and hooks and the fasteners (TForm3).
const Design& steelPipelines();
// Cast-iron pipelines, with the protrusions of sockets and the fasteners (TForm4).
const Design& castIronPipelines();

// Each filled row's length times its coefficient, summed unrounded in row order and shown at two
// decimals. The first malformed length in row order ends the computation.
Outcome compute(std::span<const Row> rows, const FormState& state);

class Window : public CalculatorWindow {
  public:
    // The design must outlive the window: its rule reads the design's rows.
    Window(const Design& design, char decimalSeparator, QWidget* parent = nullptr);

  private:
    void setOrders(std::span<const Row> rows);
};

} // namespace velaro::pipeline
