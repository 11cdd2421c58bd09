#pragma once
// A quantity typed as arithmetic, as an estimator adds up walls on paper: «2,5*3 + 1,2*2 − 0,8».
// Worked out exactly in Decimal; where the text is not sound, says where and why, so the
// field can put the cursor on the mistake.

#include "estimate/decimal.h"

#include <QString>

#include <optional>

namespace velaro {

struct Evaluation {
    std::optional<Decimal> value; // set when the text is sound
    // A quotient did not end (10/3): the value is rounded half up to hundredths, and documents
    // write it after «≈».
    bool approximate = false;
    int errorAt = -1;             // the position (from 0) of the mistake in the text given
    QString error;                // what is wrong, in Russian
};

// Numbers with ',' or '.' as the decimal point (`separator` is the one the user writes and
// names the point in messages), + and − (also '-' and '–'), * × · for times, / : for division,
// unary signs, parentheses and blanks between any of them. Every step stays within what a typed
// figure may hold (fifteen integer digits, six decimals), so nothing is rounded unless a quotient
// never ends. A text longer than kLongestQuantity is refused, never cut.
inline constexpr int kLongestQuantity = 10000;
Evaluation evaluateQuantity(const QString& text, QChar separator);

// The arithmetic as documents write it: × for times, / for division, spaces around the signs
// between terms, a sign before a figure kept against it, figures as typed:
// «2*1,5+-0,5» → «2 × 1,5 + −0,5».
QString writtenArithmetic(const QString& text);

} // namespace velaro
