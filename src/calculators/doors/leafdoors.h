#pragma once
// Doorways with leaves, solid or glazed: one design for both windows. Each window brings its own
// coefficient table; the grid of wall types and the tick checks follow from it. A window whose
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
    WindowDescription window;
    QString titleSecondLine;
    QSize picture;
    QString resultLastLine;
    const leafdoors::Table& table;
};

class LeafDoorWindow : public DoorWindow {
  public:
    LeafDoorWindow(const LeafDoorDesign& design, char decimalSeparator, QWidget* parent);
};

} // namespace velaro
