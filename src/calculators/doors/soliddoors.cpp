#include "calculators/doors/soliddoors.h"

namespace velaro {
namespace {

using namespace leafdoors;

// Primed parts leave masonry walls as they are and take timber and partitions to 0.3.
// clang-format off
const Table kTable{{
    {{kMasonry},                {{2.4L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kOneSide},      {{2.6L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kBothSides},    {{2.8L}, {1.0L, {doors::kPrimed}}}},
    {{kTimber},                 {{2.7L}, {0.3L, {doors::kPrimed}}}},
    {{kPartitions},             {{2.7L}, {0.3L, {doors::kPrimed}}}},
    {{kPartitions, kThick},     {{2.9L}, {0.3L, {doors::kPrimed}}}},
}};
// clang-format on

} // namespace

Outcome soliddoors::compute(const FormState& state) {
    return leafdoors::compute(kTable, state);
}

SolidDoorWindow::SolidDoorWindow(char decimalSeparator, QWidget* parent)
    : LeafDoorWindow(
          {{"TForm24", "dverigluhie",
            QStringLiteral("Калькулятор окраски дверных проемов с глухими дверными полотнами"),
            QSize(492, 675)},
           QStringLiteral("ЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ С ГЛУХИМИ ДВЕРНЫМИ ПОЛОТНАМИ:"),
           QSize(145, 153),
           QStringLiteral("с глухими дверными полотнами:"),
           kTable},
          decimalSeparator, parent) {}

} // namespace velaro
