#include "estimate/sheet.h"

#include <QRegularExpression>

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
    if (!nonNegative(waste))
        return QStringLiteral("запас не число");
    const auto can = nonNegative(canSize);
    if (!can || can->isZero())
        return QStringLiteral("тара не положительное число");
    if (!price.trimmed().isEmpty() && !nonNegative(price))
        return QStringLiteral("цена не число");
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
    for (const Layer& layer : layers)
        if (layer.coats < 1 || layer.coats > 99)
            return QStringLiteral("число слоёв вне 1…99");
    if (!price.trimmed().isEmpty() && !nonNegative(price))
        return QStringLiteral("цена работ не число");
    return {};
}

QString PaintSystem::layersText(const QList<Material>& materials) const {
    QStringList parts;
    for (const Layer& layer : layers)
        for (const Material& material : materials)
            if (material.id == layer.material)
                parts << QStringLiteral("%1 ×%2").arg(material.name).arg(layer.coats);
    return parts.join(QStringLiteral(" + "));
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
    const auto& sources = openingSources();
    const auto found = sources.constFind(calculator);
    return found == sources.cend() ? none : *found;
}

std::optional<Decimal> Line::deduction() const {
    if (!deduct || kind != LineKind::Computed || openingOf(calculator) == Opening::None)
        return std::nullopt;
    const auto area = Decimal::parse(opening);
    return area ? area->times(Decimal::whole(count)) : std::nullopt;
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
    MaterialRates rates{*perCoat, *Decimal::parse(material.canSize), std::nullopt};
    if (!material.price.trimmed().isEmpty())
        rates.price = Decimal::parse(material.price);
    return rates;
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
    const QString price = line.price.trimmed().isEmpty() && system ? system->price : line.price;
    if (!price.trimmed().isEmpty())
        figures.price = nonNegative(price);
    if (figures.price)
        if (const auto work = figures.area->times(*figures.price); sensible(work))
            figures.work = work->rounded(2);
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
    plus(rooms_[line.room].work, work); // before adjust, which drops a room left without lines
    adjust(rooms_, line.room, area, sign);
    for (const LineFigures::Paint& paint : figures.paint)
        adjust(paint_, paint.material, paint.amount, sign);
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
