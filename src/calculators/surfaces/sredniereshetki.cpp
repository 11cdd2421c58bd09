#include "calculators/surfaces/sredniereshetki.h"

#include "calculators/surfaces/steelgrilles.h"

namespace velaro {
namespace {

// Multiplies by 1 all the same: the result is the projection rounded to two decimals.
OneInputDescription mediumGrilles() {
    return grilleDescription({
        .className = "TForm17",
        .module = "sredniereshetki",
        .clientHeight = 500,
        .description = {QStringLiteral("для решеток средней сложности без рельефа и с рельефом "),
                        QStringLiteral("с заполнением до 30% типа лестничных, балконных и т.п.")},
        .picture = {148, 161},
        .coefficient = 1.0L,
    });
}

} // namespace

TForm17::TForm17(char decimalSeparator, QWidget* parent)
    : OneInputWindow(mediumGrilles(), decimalSeparator, parent) {}

} // namespace velaro
