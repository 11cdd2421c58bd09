#include "reference/draw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace reference {
namespace {

constexpr std::array<std::int64_t, 8> kPowersOfTen{1,     10,     100,     1000,
                                                   10000, 100000, 1000000, 10000000};

std::int64_t uniform(Rng& rng, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(rng);
}

bool oneIn(Rng& rng, int n) {
    return uniform(rng, 1, n) == 1;
}

} // namespace

std::string decimalText(std::int64_t units, int decimals, char separator) {
    const std::int64_t scale = kPowersOfTen.at(static_cast<std::size_t>(decimals));
    std::string text = std::to_string(units / scale);
    std::string fraction = std::to_string(units % scale);
    if (units % scale == 0)
        return text;
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    while (fraction.back() == '0')
        fraction.pop_back();
    return text + separator + fraction;
}

std::string drawAmount(Rng& rng, char separator) {
    if (oneIn(rng, 500))
        return std::string(1, separator); // a lone separator reads 0
    if (oneIn(rng, 200))
        return "1000000";
    const int decade = static_cast<int>(uniform(rng, 0, 6));
    const std::int64_t whole =
        decade == 0 ? 0 : uniform(rng, 0, kPowersOfTen.at(static_cast<std::size_t>(decade)) - 1);
    const int decimals = static_cast<int>(uniform(rng, 0, 4));
    const std::int64_t scale = kPowersOfTen.at(static_cast<std::size_t>(decimals));
    std::string text = decimalText(whole * scale + uniform(rng, 0, scale - 1), decimals, separator);
    if (text.size() > 2 && text[0] == '0' && text[1] == separator && oneIn(rng, 4))
        text.erase(0, 1); // ",25"
    else if (text.find(separator) == std::string::npos && oneIn(rng, 10))
        text += separator; // "25,"
    return text;
}

std::string drawBetween(Rng& rng, int low, int high, char separator) {
    const int decimals = static_cast<int>(uniform(rng, 0, 4));
    const std::int64_t scale = kPowersOfTen.at(static_cast<std::size_t>(decimals));
    return decimalText(uniform(rng, low * scale, high * scale), decimals, separator);
}

std::string nearBound(Rng& rng, std::string_view bound, char separator) {
    // The bound in units of the fourth decimal.
    const Real value = decimal(std::string(bound) + "e4", kExactBits);
    const std::int64_t units = mpfr_get_si(value.get(), MPFR_RNDN);
    return decimalText(units + uniform(rng, -1, 1), 4, separator);
}

namespace {

// m·alpha + beta − ½ less the whole number nearest to it.
Real offsetFromHalf(const Real& alpha, const Real& beta, std::int64_t m) {
    Real y(kExactBits), whole(kExactBits);
    mpfr_mul_si(y.get(), alpha.get(), m, MPFR_RNDN);
    mpfr_add(y.get(), y.get(), beta.get(), MPFR_RNDN);
    mpfr_sub_d(y.get(), y.get(), 0.5, MPFR_RNDN);
    mpfr_round(whole.get(), y.get());
    mpfr_sub(y.get(), y.get(), whole.get(), MPFR_RNDN);
    return y;
}

// q·alpha less the whole number nearest to it.
Real drift(const Real& alpha, std::int64_t q) {
    Real shift(kExactBits), whole(kExactBits);
    mpfr_mul_si(shift.get(), alpha.get(), q, MPFR_RNDN);
    mpfr_round(whole.get(), shift.get());
    mpfr_sub(shift.get(), shift.get(), whole.get(), MPFR_RNDN);
    return shift;
}

// Nothing held at kExactBits is this close to a whole number unless it is one.
bool negligible(const Real& x) {
    return mpfr_zero_p(x.get()) || mpfr_get_exp(x.get()) < -150;
}

// The denominators of the continued fraction of alpha, up to `limit`: the steps q for which
// q·alpha comes nearer a whole number than with any smaller step.
std::vector<std::int64_t> denominators(const Real& alpha, std::int64_t limit) {
    std::vector<std::int64_t> found;
    Real x = rounded(alpha, kExactBits), partial(kExactBits);
    std::int64_t q = 0, qBefore = 1; // k(n-1), k(n-2)
    for (int step = 0; step < 200; ++step) {
        mpfr_floor(partial.get(), x.get());
        if (mpfr_cmp_d(partial.get(), 1e13) > 0)
            break;
        const std::int64_t a = mpfr_get_si(partial.get(), MPFR_RNDN);
        if (q != 0 && a > (limit - qBefore) / q)
            break;
        const std::int64_t next = a * q + qBefore;
        if (next > limit)
            break;
        qBefore = q;
        q = next;
        found.push_back(q);
        mpfr_sub(x.get(), x.get(), partial.get(), MPFR_RNDN);
        if (negligible(x))
            break;
        mpfr_ui_div(x.get(), 1, x.get(), MPFR_RNDN);
    }
    return found;
}

} // namespace

HalfSearch::HalfSearch(const Real& alpha, std::int64_t low, std::int64_t high)
    : alpha_(rounded(alpha, kExactBits)), low_(low), high_(high) {
    if (high < low || mpfr_sgn(alpha.get()) <= 0)
        return;
    for (std::int64_t q : denominators(alpha, high - low)) {
        const double shift = mpfr_get_d(drift(alpha, q).get(), MPFR_RNDN);
        if (shift == 0)
            continue;
        steps_.push_back(q);
        shifts_.push_back(shift);
    }
}

std::int64_t HalfSearch::from(std::int64_t m, const Real& beta) const {
    // Each step q moves the error by q·alpha less a whole number, smaller and smaller:
    // subtracting the right multiple of each shrinks the error as far as the range allows. The
    // multiple only has to be right to the nearest whole number, so doubles do for it.
    Real error = offsetFromHalf(alpha_, beta, m);
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        const std::int64_t q = steps_[i];
        const double ratio = std::nearbyint(mpfr_get_d(error.get(), MPFR_RNDN) / shifts_[i]);
        if (ratio == 0 || std::fabs(ratio) > static_cast<double>((high_ - low_) / q + 1))
            continue;
        const std::int64_t moved = m - static_cast<std::int64_t>(ratio) * q;
        if (moved >= low_ && moved <= high_) {
            m = moved;
            error = offsetFromHalf(alpha_, beta, m);
        }
    }
    return m;
}

bool onHalf(const Real& alpha, const Real& beta, std::int64_t m) {
    return negligible(offsetFromHalf(alpha, beta, m));
}

double distanceToDoubleMidpoint(const Real& value) {
    if (mpfr_zero_p(value.get()))
        return 1e9;
    // value / ulp of its double, in [2^52, 2^53): its fraction is ½ on a midpoint.
    Real scaled = rounded(value, kExactBits), whole(kExactBits);
    mpfr_abs(scaled.get(), scaled.get(), MPFR_RNDN);
    mpfr_mul_2si(scaled.get(), scaled.get(), 53 - static_cast<long>(mpfr_get_exp(value.get())),
                 MPFR_RNDN);
    mpfr_floor(whole.get(), scaled.get());
    mpfr_sub(scaled.get(), scaled.get(), whole.get(), MPFR_RNDN);
    mpfr_sub_d(scaled.get(), scaled.get(), 0.5, MPFR_RNDN);
    mpfr_abs(scaled.get(), scaled.get(), MPFR_RNDN);
    mpfr_mul_2si(scaled.get(), scaled.get(), kExtendedBits - kDoubleBits, MPFR_RNDN);
    return mpfr_get_d(scaled.get(), MPFR_RNDN);
}

namespace {

// The shown result as a straight line in one amount: value = slope × amount + offset.
struct Line {
    Real slope{kExactBits}, offset{kExactBits};
};

Line lineOf(const Plan& plan, const Shown& shown, Inputs& inputs, const std::string& field,
            char separator) {
    const std::string kept = inputs.texts.at(field);
    Line line;
    inputs.texts[field] = "0";
    line.offset = exactValue(plan, shown, inputs, separator);
    inputs.texts[field] = "1";
    line.slope = exactValue(plan, shown, inputs, separator);
    mpfr_sub(line.slope.get(), line.slope.get(), line.offset.get(), MPFR_RNDN);
    inputs.texts[field] = kept;
    return line;
}

const Real& powerOfTen(int exponent) {
    static std::map<int, Real> cache;
    auto it = cache.find(exponent);
    if (it == cache.end())
        it = cache.emplace(exponent, decimal("1e" + std::to_string(exponent), kExactBits)).first;
    return it->second;
}

// The amount as whole units of its last decimal, and the result in units of its rounding:
// result / unit = units × alpha + beta.
struct Scaled {
    int decimals;
    std::int64_t high; // 10^6 in units
    Real alpha{kExactBits}, beta{kExactBits};
};

Scaled scaled(const Line& line, int digit, int decimals) {
    Scaled s{decimals, kPowersOfTen.at(6)};
    for (int i = 0; i < decimals; ++i)
        s.high *= 10;
    mpfr_div(s.alpha.get(), line.slope.get(), powerOfTen(digit + decimals).get(), MPFR_RNDN);
    mpfr_div(s.beta.get(), line.offset.get(), powerOfTen(digit).get(), MPFR_RNDN);
    return s;
}

Real valueAt(const Line& line, const Scaled& s, std::int64_t units) {
    Real value(kExactBits);
    mpfr_mul_si(value.get(), line.slope.get(), units, MPFR_RNDN);
    mpfr_div(value.get(), value.get(), powerOfTen(s.decimals).get(), MPFR_RNDN);
    mpfr_add(value.get(), value.get(), line.offset.get(), MPFR_RNDN);
    return value;
}

// Where a result can come arbitrarily near a half (an irrational coefficient such as π), aims it
// within half a double ulp of the half and within two extended ulps of the midpoint between two
// doubles: there the extended product decides by its last bits which double the rounding gets,
// and the half decides between them. Tries offsets from the half at random; keeps `units` if no
// try lands.
std::int64_t besideMidpoint(const Line& line, const Scaled& s, int digit, std::int64_t units,
                            Rng& rng) {
    const Real value = valueAt(line, s, units);
    const double ulps = distanceToHalfInUlps(value, digit);
    if (ulps < 0 || ulps > 4.0)
        return units; // the halves are out of reach
    const HalfSearch search(s.alpha, 0, s.high);
    // One double ulp of the result, in rounding units.
    Real ulp(kExactBits), aim(kExactBits), beta(kExactBits);
    mpfr_set_ui_2exp(ulp.get(), 1, mpfr_get_exp(value.get()) - kDoubleBits, MPFR_RNDN);
    mpfr_div(ulp.get(), ulp.get(), powerOfTen(digit).get(), MPFR_RNDN);
    for (int attempt = 0; attempt < 400; ++attempt) {
        mpfr_mul_d(aim.get(), ulp.get(), std::uniform_real_distribution<double>(-0.5, 0.5)(rng),
                   MPFR_RNDN);
        mpfr_sub(beta.get(), s.beta.get(), aim.get(), MPFR_RNDN);
        const std::int64_t candidate = search.from(uniform(rng, 0, s.high), beta);
        const Real landed = valueAt(line, s, candidate);
        const double fromHalf = distanceToHalfInUlps(landed, digit);
        if (fromHalf >= 0 && fromHalf <= 0.5 && distanceToDoubleMidpoint(landed) <= 2.0)
            return candidate;
    }
    return units;
}

} // namespace

bool landOnHalf(const Plan& plan, Inputs& inputs, const std::vector<std::string>& amounts, Rng& rng,
                char separator) {
    const Shown& shown = plan.shown[rng() % plan.shown.size()];
    std::vector<std::string> candidates;
    for (std::size_t index : shown.terms) {
        const Term& term = plan.terms[index];
        std::vector<std::string> fields{term.first};
        for (const Factor& factor : term.factors)
            if (!factor.coefficient)
                fields.push_back(factor.field);
        for (const std::string& field : fields)
            if (!inputs.texts.at(field).empty() &&
                std::find(amounts.begin(), amounts.end(), field) != amounts.end())
                candidates.push_back(field);
    }
    if (candidates.empty())
        return false;
    const std::string field = candidates[rng() % candidates.size()];
    const Line line = lineOf(plan, shown, inputs, field, separator);

    Scaled s = scaled(line, shown.digit, static_cast<int>(uniform(rng, 0, 4)));
    std::int64_t chosen = HalfSearch(s.alpha, 0, s.high).from(uniform(rng, 0, s.high), s.beta);
    if (!onHalf(s.alpha, s.beta, chosen) && s.decimals < 4) {
        // An exact half often needs the fourth decimal.
        s = scaled(line, shown.digit, 4);
        chosen = HalfSearch(s.alpha, 0, s.high).from(uniform(rng, 0, s.high), s.beta);
    }
    if (!onHalf(s.alpha, s.beta, chosen) && oneIn(rng, 16))
        chosen = besideMidpoint(line, s, shown.digit, chosen, rng);
    else if (oneIn(rng, 3))
        chosen = std::clamp<std::int64_t>(chosen + (oneIn(rng, 2) ? 1 : -1), 0, s.high);
    inputs.texts[field] = decimalText(chosen, s.decimals, separator);
    return true;
}

} // namespace reference
