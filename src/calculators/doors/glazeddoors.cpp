#include "calculators/doors/glazeddoors.h"

namespace velaro {
namespace {

using namespace leafdoors;

// Primed parts leave masonry walls as they are and take partitions to 0.3.
// clang-format off
const Table kTable{{
    {{kMasonry},                {{1.8L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kOneSide},      {{2.0L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kBothSides},    {{2.2L}, {1.0L, {doors::kPrimed}}}},
    {{kPartitions},             {{2.1L}, {0.3L, {doors::kPrimed}}}},
    {{kPartitions, kThick},     {{2.3L}, {0.3L, {doors::kPrimed}}}},
}};
// clang-format on

} // namespace

Outcome glazeddoors::compute(const FormState& state) {
    return leafdoors::compute(kTable, state);
}

GlazedDoorWindow::GlazedDoorWindow(char decimalSeparator, QWidget* parent)
    : LeafDoorWindow(
          {{"TForm25", "dveriosteklenie",
            QStringLiteral("Калькулятор окраски дверных проемов с остекленными дверными полотнами"),
            QSize(492, 639)},
           QStringLiteral("ЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ С ОСТЕКЛЕННЫМИ ДВЕРНЫМИ ПОЛОТНАМИ:"),
           QSize(161, 161),
           QStringLiteral("с остекленными дверными полотнами:"),
           kTable},
          decimalSeparator, parent) {}

} // namespace velaro
