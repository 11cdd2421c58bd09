#pragma once
// Inputs for the property test: measured amounts as a person types them, values near the bounds
// of a coefficient band, and amounts built so that a result lands on a rounding half.

#include "reference/plan.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

using Rng = std::mt19937_64;

// units / 10^decimals as field text, trailing fraction zeros dropped ("12,5", "3", "0,0625").
std::string decimalText(std::int64_t units, int decimals, char separator);

// An amount from 0 to 10^6 with 0 to 4 decimals, magnitudes spread evenly over the decades, now
// and then typed as ",5" or "5,".
std::string drawAmount(Rng& rng, char separator);

// A value from `low` to `high` with 0 to 4 decimals.
std::string drawBetween(Rng& rng, int low, int high, char separator);

// `bound` (a decimal with '.') itself or one unit of the fourth decimal either side of it.
std::string nearBound(Rng& rng, std::string_view bound, char separator);

// Looks for a whole m in [low, high] for which m·alpha + beta lies as near as it can to k + ½
// for some whole k, walking from a start along the continued-fraction denominators of alpha.
// With a rational alpha it reaches an exact half where one exists.
class HalfSearch {
  public:
    HalfSearch(const Real& alpha, std::int64_t low, std::int64_t high);
    std::int64_t from(std::int64_t start, const Real& beta) const;

  private:
    Real alpha_;
    std::int64_t low_, high_;
    std::vector<std::int64_t> steps_; // denominators q
    std::vector<double> shifts_;      // q·alpha less its nearest whole number
};

// Whether m·alpha + beta is k + ½ exactly (to the precision held).
bool onHalf(const Real& alpha, const Real& beta, std::int64_t m);

// How far a value lies from the midpoint between its two neighbouring doubles, in units of the
// last place of the extended type: where two ways of forming the same product in extended
// precision can round to different doubles.
double distanceToDoubleMidpoint(const Real& value);

// Rewrites one amount that feeds one shown result of the plan so that the result lands as near
// a rounding half as an amount of 0 to 4 decimals allows. Where no exact half is reachable but
// the halves can be approached at will (π), now and then it aims beside the midpoint between two
// doubles as well; otherwise, now and then, the amount is moved one unit of its last decimal
// off. False when the result has no amount (in `amounts`, not empty) to vary.
bool landOnHalf(const Plan& plan, Inputs& inputs, const std::vector<std::string>& amounts, Rng& rng,
                char separator);

} // namespace reference
