#include "estimate/record.h"

#include <algorithm>
#include <set>
#include <vector>

namespace velaro {
namespace {

// Field names in the order a person reads them: «Edit2» before «Edit10».
bool naturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& name) {
        std::size_t digits = name.size();
        while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
            --digits;
        const std::string number = name.substr(digits);
        return std::make_pair(name.substr(0, digits),
                              number.empty() ? -1L : std::stol(number.substr(0, 9)));
    };
    return split(a) < split(b);
}

// Where the window orders a control by the short name it gives it; the others after these.
std::size_t shortNameRank(const FormState& state, const std::string& name) {
    const ShortNames& names = state.shortNames();
    return std::ranges::find(names, name, &ShortNames::value_type::first) - names.begin();
}

// Its short name where the window gives one, else its on-screen name.
QString shownName(const FormState& state, const std::string& name) {
    std::string given = state.shortName(name);
    if (given.empty())
        given = state.label(name);
    QString label = QString::fromStdString(given).simplified();
    while (label.endsWith(u':') || label.endsWith(u' '))
        label.chop(1);
    return label.isEmpty() ? QString::fromStdString(name) : label;
}

} // namespace

std::optional<Line> lineOfCompute(const QString& element, const QString& calculator,
                                  const FormState& state, const Results& results) {
    if (results.texts.empty() || results.texts.front().second.empty())
        return std::nullopt;
    std::set<std::string> written;
    for (const auto& [field, text] : results.texts)
        written.insert(field);

    Line line;
    line.element = element;
    line.calculator = calculator;
    line.result = QString::fromStdString(results.texts.front().second);
    // The openings' area comes off the walls of the room where the calculator says so.
    if (const OpeningSource& opening = openingSourceOf(calculator);
        opening.kind != Opening::None) {
        line.opening = QString::fromStdString(state.text(opening.areaField));
        line.deduct = opening.deductedFromWalls;
    }
    if (!results.trails.empty())
        line.formula = QString::fromStdString(
            results.trails.front().written(state.separator(), Constants::Names));

    std::vector<std::string> fields;
    for (const auto& [field, text] : state.texts())
        if (!written.count(field) && !text.empty())
            fields.push_back(field);
    std::sort(fields.begin(), fields.end(), naturalLess);
    // A repeat is told by the inputs in the fields' order, whatever order the sheet reads them in.
    for (const std::string& field : fields)
        line.inputs += QString::fromStdString(field) + u'=' +
                       QString::fromStdString(state.text(field)) + u'\n';
    std::ranges::stable_sort(fields, {},
                             [&](const std::string& field) { return shortNameRank(state, field); });
    for (const std::string& field : fields)
        line.measurements.append({shownName(state, field),
                                  QString::fromStdString(state.text(field)),
                                  QString::fromStdString(state.unit(field))});

    std::vector<std::string> boxes;
    for (const auto& [box, ticked] : state.ticks())
        if (ticked)
            boxes.push_back(box);
    std::sort(boxes.begin(), boxes.end(), naturalLess);
    for (const std::string& box : boxes) {
        line.conditions.append(shownName(state, box));
        line.inputs += QString::fromStdString(box) + QStringLiteral("=✓\n");
    }
    return line;
}

} // namespace velaro
