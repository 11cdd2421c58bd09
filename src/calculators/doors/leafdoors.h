#pragma once
// Doorways with leaves, solid or glazed: one window with two designs. Each design brings its own
// coefficient table; the grid of wall types and the tick checks follow from it. A design whose
// table has no timber-wall row has no timber-wall row in its grid either.

#include "calculators/doors/doorwindow.h"
#include "core/coefficients.h"

namespace velaro {

namespace leafdoors {

// Each row's condition is a wall type, with at most one further tick that belongs to it (trims,
// thick partitions); its chain is the coefficient, then the primed parts' factor where ticked.
using Table = CoefficientTable;

inline constexpr const char* kMasonry = "CheckBox1";
inline constexpr const char* kTimber = "CheckBox2";
inline constexpr const char* kPartitions = "CheckBox3";
inline constexpr const char* kOneSide = "CheckBox5";
inline constexpr const char* kBothSides = "CheckBox7";
inline constexpr const char* kThick = "CheckBox6";

// Refuses an empty area and inconsistent ticks, in this order; otherwise the area times the
// coefficient of the one matching row.
Outcome compute(const Table& table, const FormState& state);

} // namespace leafdoors

struct LeafDoorDesign {
    const char* className;
    const char* module;
    int clientHeight;
    QString leaves; // the kind of leaves as the caption, the title and the result name them
    QSize picture;
    const leafdoors::Table& table;
};

namespace leafdoors {
// Solid leaves: masonry walls, timber walls or partitions, the architraves and the 140–160 mm
// partitions, and primed parts, which scale timber and partitions down (TForm24).
const LeafDoorDesign& solidLeaves();
// Glazed leaves: the solid leaves without timber walls, with smaller coefficients (TForm25).
const LeafDoorDesign& glazedLeaves();
} // namespace leafdoors

class LeafDoorWindow : public DoorWindow {
  public:
    // The design must outlive the window: its rule reads the design's table.
    LeafDoorWindow(const LeafDoorDesign& design, char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro
