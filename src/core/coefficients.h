#pragma once
// One shape for every table of coefficients. The ticked condition, and where a table has one the
// band its number falls in (a sash count, a share of the area, a relief height), select one row;
// the row's chain of factors is applied to the measured value left to right. Each factor knows
// the boxes that chose it, so that a result's trail can say why it was applied.

#include "core/rule.h"

#include <limits>
#include <string>
#include <vector>

namespace velaro {

// The values of a number a row applies to, each end included or not.
struct Band {
    static constexpr long double kNone = std::numeric_limits<long double>::infinity();
    long double from = -kNone;
    long double to = kNone;
    bool fromIncluded = true;
    bool toIncluded = true;
    std::string words = {}; // fixed words, such as "2 переплета"; else written from the ends

    bool contains(long double value) const;
};

Band sashCount(int sashes);   // exactly 1 or 2, "1 переплет" / "2 переплета"
Band below(long double to);   // less than `to`
Band upTo(long double to);    // `to` included
Band above(long double from); // more than `from`
Band between(long double from, long double to, bool toIncluded = false); // `from` included

struct Factor {
    long double value;
    // The boxes that apply it when all are ticked, and whose on-screen names it is given by.
    // Empty: the row's condition chose it, and it always applies.
    std::vector<std::string> by = {};
};

struct Coefficients {
    std::vector<std::string> ticked; // exactly these of the table's condition boxes are ticked
    std::vector<Factor> factors;
    Band band = {};
};

struct CoefficientTable {
    std::vector<Coefficients> rows;
    // What the number of the bands is and its unit ("рельеф", "мм"): a band without fixed words
    // is written with them, e.g. «рельеф 45 мм, более 30 мм».
    std::string measure = {};
    std::string unit = {};

    // The row whose condition holds for these ticks and this number, or nullptr.
    const Coefficients* rowFor(const FormState& state, long double number = 0.0L) const;
    // The measured term run through that row's factors that apply, in order, each with the words
    // that chose it (the first also with the band's), shown in `field` with its trail. A rule's
    // checks let through only ticks some row holds for; anything else is a fault of the program.
    Results result(const FormState& state, const std::string& field, TrailTerm term,
                   long double number = 0.0L) const;
};

// A field or box as the trail names it: its on-screen name without a trailing colon.
std::string wordsFor(const FormState& state, const std::string& name);

} // namespace velaro
