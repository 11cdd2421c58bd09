#pragma once
// Doorways with leaves, solid or glazed: one design for both windows. Each window brings its own
// coefficient table; the grid of wall types and the tick checks follow from it. A window whose
// table has no timber-wall row has no timber-wall row in its grid either.

#include "calculators/doors/doorwindow.h"

#include <string_view>
#include <vector>

namespace velaro {

namespace leafdoors {

// One row of a coefficient table: the wall type ticked, the further tick (empty: none), the
// coefficient, and the factor the coefficient is scaled by when the parts are primed.
struct Coefficient {
    std::string_view wall;
    std::string_view further;
    long double factor;
    long double primedFactor;
};
using Table = std::vector<Coefficient>;

inline constexpr std::string_view kMasonry = "CheckBox1";
inline constexpr std::string_view kTimber = "CheckBox2";
inline constexpr std::string_view kPartitions = "CheckBox3";
inline constexpr std::string_view kOneSide = "CheckBox5";
inline constexpr std::string_view kBothSides = "CheckBox7";
inline constexpr std::string_view kThick = "CheckBox6";

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
