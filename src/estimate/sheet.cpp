#include "estimate/sheet.h"

#include <QRegularExpression>

#include <algorithm>

namespace velaro {
namespace {

std::optional<Decimal> nonNegative(const QString& text) {
    const auto value = Decimal::parse(text);
    if (!value || value->isNegative())
        return std::nullopt;
    return value;
}

// One look-up of the key a line: a sheet's lines are summed one by one, a hundred thousand of them
// when a deletion is undone.
template <class Key>
void adjust(QMap<Key, Totals::Sum>& sums, const Key& key, const Decimal& value, int sign,
            const Decimal& work = {}) {
    auto found = sums.find(key);
    if (found == sums.end())
        found = sums.insert(key, {});
    Totals::Sum& sum = *found;
    sum.value = sign > 0 ? sum.value + value : sum.value - value;
    sum.work = sign > 0 ? sum.work + work : sum.work - work;
    sum.lines += sign;
    if (sum.lines <= 0)
        sums.erase(found);
}

} // namespace

QString Material::problem() const {
    if (name.trimmed().isEmpty())
        return QStringLiteral("нет названия");
    if (unit != QStringLiteral("кг") && unit != QStringLiteral("л"))
        return QStringLiteral("единица должна быть «кг» или «л»");
    if (!nonNegative(consumption))
        return QStringLiteral("расход не число");
    if (!nonNegative(waste))
        return QStringLiteral("запас не число");
    if (cans.isEmpty())
        return QStringLiteral("тара не указана");
    if (cans.size() > kMostCanSizes)
        return QStringLiteral("тара больше чем %1 размеров").arg(kMostCanSizes);
    for (qsizetype i = 0; i < cans.size(); ++i) {
        // Named by its place only where there are several.
        const QString which = cans.size() > 1 ? QStringLiteral(" %1").arg(i + 1) : QString();
        const auto can = nonNegative(cans[i].size);
        if (!can || can->isZero())
            return QStringLiteral("тара%1 не положительное число").arg(which);
        if (!cans[i].price.trimmed().isEmpty() && !nonNegative(cans[i].price))
            return QStringLiteral("цена тары%1 не число").arg(which);
        for (qsizetype j = 0; j < i; ++j)
            if (*can == *Decimal::parse(cans[j].size))
                return QStringLiteral("тара %1 повторяется").arg(cans[i].size.trimmed());
    }
    return {};
}

QString percentProblem(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return {};
    // Digits and one separator only: Decimal::parse would take a sign or an exponent too.
    static const QRegularExpression form(QStringLiteral("^\\d+([.,](\\d+))?$"));
    const QRegularExpressionMatch match = form.match(typed);
    if (!match.hasMatch())
        return QStringLiteral("нужно число от 0 до 100");
    if (match.capturedLength(2) > 2)
        return QStringLiteral("не больше двух знаков после запятой");
    const auto value = Decimal::parse(typed);
    if (!value || value->compare(Decimal::whole(100)) > 0)
        return QStringLiteral("не больше 100 %");
    return {};
}

QString PaintSystem::problem() const {
    if (name.trimmed().isEmpty())
        return QStringLiteral("нет названия");
    for (qsizetype i = 0; i < layers.size(); ++i) {
        const Layer& layer = layers[i];
        if (layer.coats < 1 || layer.coats > 99)
            return QStringLiteral("число слоёв вне 1…99");
        if (layer.material == 0 && layer.work.trimmed().isEmpty())
            return QStringLiteral("у слоя %1 нет ни материала, ни названия работы").arg(i + 1);
        if (!layer.price.trimmed().isEmpty() && !nonNegative(layer.price))
            return QStringLiteral("цена работ слоя %1 не число").arg(i + 1);
    }
    return {};
}

QString PaintSystem::layersText(const QList<Material>& materials) const {
    QStringList parts;
    for (const Layer& layer : layers) {
        const QString work = layer.work.trimmed();
        if (layer.material == 0) {
            if (!work.isEmpty()) // not yet named: nothing to read
                parts << (layer.coats == 1 ? work
                                           : QStringLiteral("%1 ×%2").arg(work).arg(layer.coats));
            continue;
        }
        for (const Material& material : materials)
            if (material.id == layer.material)
                parts << QStringLiteral("%1%2 ×%3")
                             .arg(work.isEmpty() ? QString() : work + QStringLiteral(": "),
                                  material.name)
                             .arg(layer.coats);
    }
    return parts.join(QStringLiteral(" + "));
}

QString PaintSystem::codes() const {
    QStringList codes;
    for (const Layer& layer : layers)
        if (const QString code = layer.code.trimmed(); !code.isEmpty() && !codes.contains(code))
            codes << code;
    return codes.join(QStringLiteral("; "));
}

namespace {
QHash<QString, OpeningSource>& openingSources() {
    static QHash<QString, OpeningSource> sources;
    return sources;
}
} // namespace

void setOpeningSources(const QHash<QString, OpeningSource>& byCalculator) {
    openingSources() = byCalculator;
}

const OpeningSource& openingSourceOf(const QString& calculator) {
    static const OpeningSource none;
    if (calculator.isEmpty()) // a typed line, a room's walls or ceiling: asked of every line
        return none;
    const auto& sources = openingSources();
    const auto found = sources.constFind(calculator);
    return found == sources.cend() ? none : *found;
}

std::optional<Line::Deduction> Line::deduction() const {
    if (!deduct || kind != LineKind::Computed)
        return std::nullopt;
    const Opening kind = openingOf(calculator);
    if (kind == Opening::None)
        return std::nullopt;
    const auto each = Decimal::parse(opening);
    const auto area = each ? each->times(Decimal::whole(count)) : std::nullopt;
    return area ? std::optional(Deduction{kind, *area}) : std::nullopt;
}

std::optional<MaterialRates> MaterialRates::of(const Material& material) {
    if (!material.problem().isEmpty())
        return std::nullopt;
    const Decimal hundred = Decimal::whole(100);
    // consumption × (100 + waste) / 100, the division by 100 being exact.
    const auto withWaste =
        Decimal::parse(material.consumption)->times(hundred + *Decimal::parse(material.waste));
    if (!withWaste)
        return std::nullopt;
    const auto perCoat = withWaste->times(*Decimal::parse(QStringLiteral("0.01")));
    if (!perCoat)
        return std::nullopt;
    MaterialRates rates{*perCoat, {}};
    for (const Can& can : material.cans) {
        rates.cans.push_back({*Decimal::parse(can.size), std::nullopt});
        if (!can.price.trimmed().isEmpty())
            rates.cans.back().price = Decimal::parse(can.price);
    }
    return rates;
}

std::vector<Decimal> workPrices(const Line& line, const PaintSystem* system) {
    std::vector<Decimal> prices;
    // A line's own price is the price of all its work: it replaces its layers'.
    if (!line.price.trimmed().isEmpty() || !system) {
        if (const auto price = nonNegative(line.price))
            prices.push_back(*price);
        return prices;
    }
    for (const Layer& layer : system->layers)
        if (!layer.price.trimmed().isEmpty())
            if (const auto price = nonNegative(layer.price))
                prices.push_back(*price);
    return prices;
}

LineFigures LineFigures::of(const Line& line, const PaintSystem* system, const RatesById& rates) {
    LineFigures figures;
    if (const auto result = Decimal::parse(line.result))
        figures.area = result->times(Decimal::whole(line.count));
    if (!figures.area)
        return figures;
    // Sums past a billion tonnes or roubles are a mistyped rate, not an amount; left out.
    static const Decimal kLargest = Decimal::whole(1'000'000'000'000'000);
    const auto sensible = [](const std::optional<Decimal>& value) {
        return value && value->compare(kLargest) < 0 && value->compare(Decimal() - kLargest) > 0;
    };
    // Consumption is per m²: a line in other units takes no paint.
    if (system && line.isArea())
        for (const Layer& layer : system->layers) {
            const auto rate = rates.find(layer.material);
            if (rate == rates.end())
                continue;
            const auto perLayer = rate->perCoat.times(Decimal::whole(layer.coats));
            const auto paint = perLayer ? figures.area->times(*perLayer) : std::nullopt;
            if (sensible(paint))
                figures.paint.push_back({layer.material, paint->rounded(2), layer.coats});
        }
    const std::vector<Decimal> prices = workPrices(line, system);
    if (prices.empty())
        return figures;
    // Each layer's work is priced as a line of its own would be: rounded to the kopeck, then
    // added, so that a layer's cost in the norms' estimate is the one summed here.
    Decimal price, work;
    for (const Decimal& each : prices) {
        price += each;
        const auto cost = figures.area->times(each);
        if (!sensible(cost)) {
            figures.price = std::nullopt;
            return figures;
        }
        work += cost->rounded(2);
    }
    figures.price = price;
    if (sensible(work))
        figures.work = work;
    return figures;
}

void Totals::add(const Line& line, const LineFigures& figures) {
    change(line, figures, +1);
}

void Totals::remove(const Line& line, const LineFigures& figures) {
    change(line, figures, -1);
}

void Totals::change(const Line& line, const LineFigures& figures, int sign) {
    const auto plus = [sign](Decimal& sum, const Decimal& value) {
        sum = sign > 0 ? sum + value : sum - value;
    };
    const Decimal area = figures.area && line.isArea() ? *figures.area : Decimal();
    const Decimal work = figures.work.value_or(Decimal());
    plus(area_, area);
    plus(work_, work);
    adjust(rooms_, line.room, area, sign, work);
    for (const LineFigures::Paint& paint : figures.paint)
        adjust(paint_, paint.material, paint.amount, sign);
}

long long MaterialTotal::canCount() const {
    long long count = 0;
    for (long long each : cans)
        count += each;
    return count;
}

MaterialTotal MaterialTotal::of(const Decimal& quantity, const MaterialRates* rates) {
    MaterialTotal total{quantity, {}, std::nullopt};
    if (!rates)
        return total;
    auto cans = cheapestCans(quantity, rates->cans);
    if (!cans)
        return total;
    total.cans = std::move(*cans);
    // Without a price among the sizes the cans are known and their cost is not.
    if (std::none_of(rates->cans.begin(), rates->cans.end(),
                     [](const MaterialRates::CanRate& can) { return can.price.has_value(); }))
        return total;
    Decimal cost;
    for (std::size_t i = 0; i < total.cans.size(); ++i)
        if (total.cans[i] > 0) {
            const auto each = rates->cans[i].price->times(Decimal::whole(total.cans[i]));
            if (!each)
                return total;
            cost += *each;
        }
    total.cost = cost;
    return total;
}

std::optional<std::vector<long long>>
cheapestCans(const Decimal& quantity, const std::vector<MaterialRates::CanRate>& cans) {
    struct Size {
        std::size_t index;
        Decimal size, cost;
    };
    const bool priced =
        std::any_of(cans.begin(), cans.end(),
                    [](const MaterialRates::CanRate& can) { return can.price.has_value(); });
    std::vector<Size> sizes;
    for (std::size_t i = 0; i < cans.size(); ++i)
        if (cans[i].size.compare(Decimal()) > 0 && (!priced || cans[i].price))
            sizes.push_back({i, cans[i].size, priced ? *cans[i].price : Decimal::whole(1)});
    std::vector<long long> counts(cans.size(), 0);
    if (quantity.compare(Decimal()) <= 0)
        return counts;
    if (sizes.empty())
        return std::nullopt;
    // The best value first (cost per unit: a/b < c/d where a·d < c·b, exact), the larger can
    // first among equals. Figures too large for the products (no can is) are only sorted by
    // size and bound nothing.
    const auto perUnit = [](const Size& a, const Size& b) -> std::optional<int> {
        const auto left = a.cost.times(b.size), right = b.cost.times(a.size);
        if (!left || !right)
            return std::nullopt;
        return left->compare(*right);
    };
    bool bounded = true;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        for (std::size_t j = i + 1; j < sizes.size(); ++j)
            bounded = bounded && perUnit(sizes[i], sizes[j]).has_value();
    std::stable_sort(sizes.begin(), sizes.end(), [&](const Size& a, const Size& b) {
        const int order = bounded ? *perUnit(a, b) : 0;
        return order != 0 ? order < 0 : a.size.compare(b.size) > 0;
    });

    // Branch and bound, the best-value size taken most first: the first whole choice is the one
    // a person makes (all in the best-value size), and each can fewer of it leaves a rest that
    // costs at least the rest times the next size's cost per unit; once that is more than the
    // best found, fewer cans of it only cost more. Sizes of equal value per unit bound nothing:
    // past kMostSteps choices (a few milliseconds) the search stops with the best found, which
    // for them comes among the first tried, the most of the larger can.
    constexpr int kMostSteps = 20000;
    struct Best {
        std::optional<Decimal> cost;
        long long cans = 0;
        Decimal volume;
        std::vector<long long> taken;
    } best;
    std::vector<long long> taken(sizes.size(), 0);
    int steps = 0;
    const auto consider = [&](const Decimal& cost, long long count, const Decimal& volume) {
        const int cheaper = best.cost ? cost.compare(*best.cost) : -1;
        if (cheaper < 0 ||
            (cheaper == 0 &&
             (count < best.cans || (count == best.cans && volume.compare(best.volume) < 0))))
            best = {cost, count, volume, taken};
    };
    const auto search = [&](auto& self, std::size_t level, const Decimal& rest, const Decimal& cost,
                            long long count, const Decimal& volume) -> void {
        if (++steps > kMostSteps)
            return;
        if (rest.compare(Decimal()) <= 0)
            return consider(cost, count, volume);
        const Size& size = sizes[level];
        const auto most = rest.wholeUnitsUp(size.size);
        if (!most || *most > 1'000'000'000'000'000LL - count)
            return; // more cans than anyone counts: not known

        const bool last = level + 1 == sizes.size();
        for (long long n = *most; n >= (last ? *most : 0); --n) {
            const auto held = size.size.times(Decimal::whole(n));
            const auto paid = size.cost.times(Decimal::whole(n));
            if (!held || !paid)
                return;
            const Decimal left = rest - *held;
            const Decimal spent = cost + *paid;
            if (bounded && best.cost && left.compare(Decimal()) > 0 && !last) {
                // The rest at the next size's cost per unit: (best − spent) × size < left × cost.
                const Size& next = sizes[level + 1];
                const auto room = (*best.cost - spent).times(next.size);
                const auto least = left.times(next.cost);
                if (room && least && room->compare(*least) < 0)
                    break;
            }
            taken[level] = n;
            if (last || left.compare(Decimal()) <= 0) {
                if (++steps > kMostSteps)
                    break;
                consider(spent, count + n, volume + *held);
            } else {
                self(self, level + 1, left, spent, count + n, volume + *held);
            }
            taken[level] = 0;
            if (steps > kMostSteps)
                break;
        }
    };
    search(search, 0, quantity, Decimal(), 0, Decimal());
    if (!best.cost)
        return std::nullopt;
    for (std::size_t k = 0; k < sizes.size(); ++k)
        counts[sizes[k].index] = best.taken[k];
    return counts;
}

} // namespace velaro
