#include "estimate/openingsize.h"

#include "estimate/record.h"

#include <exception>

namespace velaro {
namespace {

CalculatorRules& rules() {
    static CalculatorRules rules;
    return rules;
}

std::optional<Decimal> positive(const QString& text) {
    const auto value = Decimal::parse(text);
    return value && !value->isNegative() && !value->isZero() ? value : std::nullopt;
}

} // namespace

void setCalculatorRules(CalculatorRules given) {
    rules() = std::move(given);
}

std::variant<Line, QString> recomputed(const Line& line, const std::string& field,
                                       const QString& text, QChar separator) {
    const char sep = char(separator.unicode());
    std::optional<CalculatorRule> rule =
        rules() ? rules()(line.calculator, sep) : std::optional<CalculatorRule>();
    if (!rule)
        return QStringLiteral("расчёт этой строки программе неизвестен");
    // The inputs as recorded: «Edit2=2,1» for a field, «CheckBox3=✓» for a ticked box.
    FormState state = rule->blank;
    for (const QString& input : line.inputs.split(u'\n', Qt::SkipEmptyParts)) {
        const std::string name = input.section(u'=', 0, 0).toStdString();
        const QString value = input.section(u'=', 1);
        if (state.ticks().count(name))
            state.setTicked(name, value == QStringLiteral("✓"));
        else if (state.texts().count(name))
            state.setText(name, value.toStdString());
    }
    state.setText(field, text.toStdString());
    Outcome outcome;
    try {
        outcome = rule->run(state);
    } catch (const Exception& error) {
        return QString::fromStdString(error.message());
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    if (const auto* refusal = std::get_if<Refusal>(&outcome))
        return QString::fromStdString(refusal->message);
    std::optional<Line> fresh =
        lineOfCompute(line.element, line.calculator, state, std::get<Results>(outcome));
    if (!fresh)
        return QStringLiteral("расчёт не дал результата");
    // Where the line stands and what the estimator gave it stay.
    fresh->room = line.room;
    fresh->count = line.count;
    fresh->system = line.system;
    fresh->price = line.price;
    fresh->code = line.code;
    fresh->deduct = line.deduct;
    fresh->adjacentRoom = line.adjacentRoom;
    return *fresh;
}

std::variant<Line, QString> openingBySize(const Line& line, const QString& width,
                                          const QString& height, QChar separator) {
    const OpeningSource& source = openingSourceOf(line.calculator);
    if (source.kind == Opening::None || line.kind != LineKind::Computed)
        return QStringLiteral("строка не окно и не дверь");
    const auto w = positive(width);
    const auto h = positive(height);
    if (!w || !h)
        return !w ? QStringLiteral("Ширина проёма должна быть положительным числом.")
                  : QStringLiteral("Высота проёма должна быть положительным числом.");
    // Written down to the hundredth, as an opening measured in a room is.
    const auto product = w->times(*h);
    if (!product || product->rounded(2).isZero())
        return QStringLiteral("Площадь проёма меньше 0,01 м2.");
    const Decimal area = product->rounded(2);
    auto result = recomputed(line, source.areaField, area.text(separator), separator);
    if (auto* fresh = std::get_if<Line>(&result)) {
        fresh->openingWidth = w->text(separator);
        fresh->openingHeight = h->text(separator);
        fresh->formula = QStringLiteral("%1 м × %2 м = %3 м2; %4")
                             .arg(fresh->openingWidth, fresh->openingHeight,
                                  area.text(separator), fresh->formula);
    }
    return result;
}

} // namespace velaro
