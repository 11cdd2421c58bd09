#pragma once
// A window or door line given the opening's width and height instead of its area: the area is
// W × H to the hundredth, and the calculator's rule is run again on the line's inputs with that
// area. The sheet knows no calculator: the shell tells it how to run one (setCalculatorRules),
// and the catalogue which field holds the opening's area (openingSourceOf).

#include "core/rule.h"
#include "estimate/sheet.h"

#include <functional>
#include <optional>
#include <variant>

namespace velaro {

// A calculator's rule as the sheet may run it: the calculator's state with every field empty
// and every box unticked (with the names, units and short names its window gives them), and the
// rule itself.
struct CalculatorRule {
    FormState blank;
    std::function<Outcome(const FormState&)> run;
};
// By the calculator's class name, for the program's decimal separator; nullopt for a
// calculator the program does not have.
using CalculatorRules =
    std::function<std::optional<CalculatorRule>(const QString& calculator, char separator)>;
void setCalculatorRules(CalculatorRules rules);

// The line as its calculator records it when `field` holds `text`, its other inputs as they
// were, keeping its place in the sheet (room, count, system, price, norm, deduction, the room on
// the other side); or what stops it, in words.
std::variant<Line, QString> recomputed(const Line& line, const std::string& field,
                                       const QString& text, QChar separator);

// The window or door line for an opening of `width` × `height` metres, its formula starting
// «1,5 м × 1,8 м = 2,7 м2; »; or what stops it, in words.
std::variant<Line, QString> openingBySize(const Line& line, const QString& width,
                                          const QString& height, QChar separator);

} // namespace velaro
