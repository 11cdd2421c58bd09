#include "estimate/columns.h"

#include "estimate/expression.h"

namespace velaro {
namespace {

// A typed line's arithmetic written out with what it comes to, as a calculator's trail ends:
// «2 × 1,5 × 0,25 + 1,4 × 0,25 = 1,1 м2».
QString typedFormula(const Line& line) {
    if (line.formula.trimmed().isEmpty() || line.result.isEmpty())
        return line.formula;
    QString result = line.result;
    if (result.startsWith(u'-'))
        result[0] = QChar(u'\u2212');
    // A quotient that never ends was rounded: the figure is about what the arithmetic gives.
    const bool approximate = line.formula.contains(u'/') || line.formula.contains(u':')
                                 ? evaluateQuantity(line.formula, u',').approximate
                                 : false;
    return writtenArithmetic(line.formula) + (approximate ? QStringLiteral(" ≈ ") : QStringLiteral(" = ")) +
           result + u' ' + line.unit;
}

} // namespace

QString columnTitle(Column column) {
    switch (column) {
    case Column::Room:
        return QStringLiteral("Помещение");
    case Column::Element:
        return QStringLiteral("Элемент");
    case Column::Measurements:
        return QStringLiteral("Замеры");
    case Column::Conditions:
        return QStringLiteral("Условия");
    case Column::Formula:
        return QStringLiteral("Формула");
    case Column::Count:
        return QStringLiteral("Кол-во");
    case Column::Area:
        return QStringLiteral("Количество");
    case Column::System:
        return QStringLiteral("Окраска");
    case Column::Paint:
        return QStringLiteral("Краска");
    case Column::Unit:
        return QStringLiteral("Ед. изм.");
    case Column::Deduct:
        return QStringLiteral("Вычитать из стен");
    case Column::Price:
        return QStringLiteral("Цена работ, руб.");
    case Column::Work:
        return QStringLiteral("Стоимость работ, руб.");
    case Column::NormQuantity:
        return QStringLiteral("Кол-во, 100 м2");
    case Column::Code:
        return QStringLiteral("Шифр нормы");
    case Column::AdjacentRoom:
        return QStringLiteral("Смежное помещение");
    }
    return {};
}

RatesById ratesOf(const QList<Material>& materials) {
    RatesById rates;
    for (const Material& material : materials)
        if (const auto found = MaterialRates::of(material))
            rates.insert(material.id, *found);
    return rates;
}

const Material* materialOf(const QList<Material>& materials, int id) {
    for (const Material& material : materials)
        if (material.id == id)
            return &material;
    return nullptr;
}

const PaintSystem* systemOf(const QList<PaintSystem>& systems, int id) {
    for (const PaintSystem& system : systems)
        if (system.id == id)
            return &system;
    return nullptr;
}

Editing editingOf(const Line& line, Column column) {
    switch (column) {
    case Column::Room:
    case Column::Count:
    case Column::System:
    case Column::Price:
    case Column::Code:
        return Editing::Text;
    case Column::Element:
    case Column::Unit:
    case Column::Formula:
        return line.kind == LineKind::Typed ? Editing::Text : Editing::None;
    case Column::Deduct:
        return openingOf(line.calculator) != Opening::None ? Editing::Check : Editing::None;
    case Column::AdjacentRoom:
        return openingOf(line.calculator) != Opening::None ? Editing::Text : Editing::None;
    default:
        return Editing::None;
    }
}

bool isFigureColumn(Column column) {
    return column == Column::Count || column == Column::Area || column == Column::Paint ||
           column == Column::Price || column == Column::Work || column == Column::NormQuantity;
}

QString cellText(const Line& line, const LineFigures& figures, Column column, QChar separator,
                 const Sheet& sheet) {
    const PaintSystem* system = systemOf(sheet.systems, line.system);
    switch (column) {
    case Column::Room:
        return line.room;
    case Column::Element:
        return line.element;
    case Column::Measurements: {
        QStringList parts;
        for (const Measurement& m : line.measurements)
            parts << (m.unit.isEmpty() ? QStringLiteral("%1: %2").arg(m.name, m.text)
                                       : QStringLiteral("%1: %2 %3").arg(m.name, m.text, m.unit));
        return parts.join(QStringLiteral("; "));
    }
    case Column::Conditions:
        return line.conditions.join(QStringLiteral("; "));
    case Column::Formula:
        return line.kind == LineKind::Typed ? typedFormula(line) : line.formula;
    case Column::Count:
        return QString::number(line.count);
    case Column::Area:
        return figures.area ? figures.area->text(separator) : QStringLiteral("—");
    case Column::System:
        return system ? system->name : QString();
    case Column::Paint: {
        // One layer: its amount; more: each with its material's name.
        QStringList parts;
        for (const LineFigures::Paint& paint : figures.paint) {
            const Material* material = materialOf(sheet.materials, paint.material);
            const QString amount = paint.amount.text(separator, 2) + u' ' + material->unit;
            parts << (figures.paint.size() == 1 ? amount : material->name + u' ' + amount);
        }
        return parts.join(QStringLiteral("; "));
    }
    case Column::Unit:
        return line.unit;
    case Column::Deduct:
        if (openingOf(line.calculator) == Opening::None)
            return {};
        return line.deduct ? QStringLiteral("да") : QStringLiteral("нет");
    case Column::Price:
        return figures.price ? figures.price->text(separator, 2) : QString();
    case Column::Work:
        return figures.work ? figures.work->text(separator, 2, true) : QString();
    case Column::NormQuantity: {
        static const Decimal kHundredth = *Decimal::parse(QStringLiteral("0.01"));
        const auto norm = figures.area && line.isArea() ? figures.area->times(kHundredth)
                                                        : std::nullopt;
        return norm ? norm->text(separator) : QString();
    }
    case Column::Code:
        return line.code.trimmed().isEmpty() && system ? system->codes() : line.code;
    case Column::AdjacentRoom:
        return line.adjacentRoom;
    }
    return {};
}

QString moneyText(const Decimal& sum, QChar separator) {
    return sum.text(separator, 2, true) + QStringLiteral(" руб.");
}

QString areaText(const Decimal& area, QChar separator) {
    return area.text(separator, 2, true) + QStringLiteral(" м2");
}

QString canSizesText(const MaterialRates& rates, QChar separator) {
    QStringList sizes;
    for (const MaterialRates::CanRate& can : rates.cans)
        sizes << can.size.text(separator);
    return sizes.join(QStringLiteral(" / "));
}

QString canPricesText(const MaterialRates& rates, QChar separator) {
    QStringList prices;
    for (const MaterialRates::CanRate& can : rates.cans)
        prices << (can.price ? can.price->text(separator, 2, true) : QStringLiteral("—"));
    return prices.join(QStringLiteral(" / "));
}

QString cansText(const Material& material, const MaterialRates& rates,
                 const std::vector<long long>& cans, QChar separator) {
    if (cans.empty())
        return QStringLiteral("—");
    // One size: the count alone, as «Банок» reads.
    if (cans.size() == 1)
        return QString::number(cans.front());
    QStringList taken;
    for (std::size_t i = 0; i < cans.size() && i < rates.cans.size(); ++i)
        if (cans[i] > 0)
            taken << QStringLiteral("%1 × %2 %3")
                         .arg(cans[i])
                         .arg(rates.cans[i].size.text(separator), material.unit);
    return taken.isEmpty() ? QStringLiteral("0") : taken.join(QStringLiteral(" + "));
}

QString roomTitle(const QString& room) {
    return room.trimmed().isEmpty() ? QStringLiteral("(без помещения)") : room;
}

} // namespace velaro
