#include "estimate/sheet.h"

namespace velaro {
namespace {

std::optional<Decimal> nonNegative(const QString& text) {
    const auto value = Decimal::parse(text);
    if (!value || value->isNegative())
        return std::nullopt;
    return value;
}

template <class Key>
void adjust(QMap<Key, Totals::Sum>& sums, const Key& key, const Decimal& value, int sign) {
    Totals::Sum& sum = sums[key];
    sum.value = sign > 0 ? sum.value + value : sum.value - value;
    sum.lines += sign;
    if (sum.lines <= 0)
        sums.remove(key);
}

} // namespace

QString Material::problem() const {
    if (name.trimmed().isEmpty())
        return QStringLiteral("нет названия");
    if (unit != QStringLiteral("кг") && unit != QStringLiteral("л"))
        return QStringLiteral("единица должна быть «кг» или «л»");
    if (!nonNegative(consumption))
        return QStringLiteral("расход не число");
    if (coats < 1 || coats > 99)
        return QStringLiteral("число слоёв вне 1…99");
    if (!nonNegative(waste))
        return QStringLiteral("запас не число");
    const auto can = nonNegative(canSize);
    if (!can || can->isZero())
        return QStringLiteral("тара не положительное число");
    if (!price.trimmed().isEmpty() && !nonNegative(price))
        return QStringLiteral("цена не число");
    return {};
}

std::optional<MaterialRates> MaterialRates::of(const Material& material) {
    if (!material.problem().isEmpty())
        return std::nullopt;
    const Decimal hundred = Decimal::whole(100);
    // consumption × coats × (100 + waste) / 100, the division by 100 being exact.
    const auto perCoats =
        Decimal::parse(material.consumption)->times(Decimal::whole(material.coats));
    if (!perCoats)
        return std::nullopt;
    const auto withWaste = perCoats->times(hundred + *Decimal::parse(material.waste));
    if (!withWaste)
        return std::nullopt;
    const auto perSquareMetre = withWaste->times(*Decimal::parse(QStringLiteral("0.01")));
    if (!perSquareMetre)
        return std::nullopt;
    MaterialRates rates{*perSquareMetre, *Decimal::parse(material.canSize), std::nullopt};
    if (!material.price.trimmed().isEmpty())
        rates.price = Decimal::parse(material.price);
    return rates;
}

LineFigures LineFigures::of(const Line& line, const MaterialRates* rates) {
    LineFigures figures;
    if (const auto result = Decimal::parse(line.result))
        figures.area = result->times(Decimal::whole(line.count));
    // Paint past a billion tonnes is a mistyped rate, not an amount; it is left out.
    static const Decimal kLargestPaint = Decimal::whole(1'000'000'000'000'000);
    if (figures.area && rates && line.material)
        if (const auto paint = figures.area->times(rates->perSquareMetre))
            if (paint->compare(kLargestPaint) < 0)
                figures.paint = paint->rounded(2);
    return figures;
}

void Totals::add(const Line& line, const LineFigures& figures) {
    if (figures.area) {
        area_ += *figures.area;
        adjust(rooms_, line.room, *figures.area, +1);
    }
    if (figures.paint)
        adjust(paint_, line.material, *figures.paint, +1);
}

void Totals::remove(const Line& line, const LineFigures& figures) {
    if (figures.area) {
        area_ -= *figures.area;
        adjust(rooms_, line.room, *figures.area, -1);
    }
    if (figures.paint)
        adjust(paint_, line.material, *figures.paint, -1);
}

MaterialTotal MaterialTotal::of(const Decimal& quantity, const MaterialRates* rates) {
    MaterialTotal total{quantity, std::nullopt, std::nullopt};
    if (!rates)
        return total;
    total.cans = quantity.wholeUnitsUp(rates->canSize);
    if (total.cans && rates->price)
        total.cost = rates->price->times(Decimal::whole(*total.cans));
    return total;
}

} // namespace velaro
