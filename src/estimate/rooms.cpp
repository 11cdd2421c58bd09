#include "estimate/rooms.h"

namespace velaro {
namespace {

const QString kLength = QStringLiteral("Длина");
const QString kWidth = QStringLiteral("Ширина");
const QString kPerimeter = QStringLiteral("Периметр");
const QString kHeight = QStringLiteral("Высота");
const QString kMetres = QStringLiteral("м");

std::optional<Decimal> positive(const QString& text) {
    const auto value = Decimal::parse(text);
    return value && !value->isNegative() && !value->isZero() ? value : std::nullopt;
}

QString metres(const QString& text, QChar separator) {
    return Decimal::parse(text)->text(separator) + QStringLiteral(" м");
}

QString squareMetres(const Decimal& value, QChar separator) {
    return value.text(separator) + QStringLiteral(" м2");
}

Line roomLine(const QString& room, const QString& element) {
    Line line;
    line.room = room;
    line.element = element;
    line.kind = element == kWallsElement ? LineKind::Walls : LineKind::Ceiling;
    return line;
}

} // namespace

namespace {

const QString kFloor = QStringLiteral("Площадь пола");

// A part's measurement's name: «Длина» for the first part, «Длина 2» for the second.
QString partName(const QString& name, qsizetype part) {
    return part == 0 ? name : QStringLiteral("%1 %2").arg(name).arg(part + 1);
}

// The part's walls before openings, with how they come: «2 × (4 м + 3 м) × 2,7 м».
std::optional<std::pair<Decimal, QString>> grossWalls(const RoomPart& part, QChar separator) {
    std::optional<Decimal> perimeter;
    QString formula;
    if (part.byPerimeter()) {
        perimeter = Decimal::parse(part.perimeter);
        formula = metres(part.perimeter, separator);
    } else {
        perimeter =
            (*Decimal::parse(part.length) + *Decimal::parse(part.width)).times(Decimal::whole(2));
        formula = QStringLiteral("2 × (%1 + %2)")
                      .arg(metres(part.length, separator), metres(part.width, separator));
    }
    const auto gross = perimeter ? perimeter->times(*Decimal::parse(part.height)) : std::nullopt;
    if (!gross)
        return std::nullopt;
    return std::pair{*gross, formula + QStringLiteral(" × ") + metres(part.height, separator)};
}

// The part's floor, with how it comes; nullopt where a part given by its perimeter has none.
std::optional<std::pair<Decimal, QString>> floorOf(const RoomPart& part, QChar separator) {
    if (part.byPerimeter()) {
        const auto floor = positive(part.floorArea);
        if (!floor)
            return std::nullopt;
        return std::pair{*floor, squareMetres(*floor, separator)};
    }
    const auto area = Decimal::parse(part.length)->times(*Decimal::parse(part.width));
    if (!area)
        return std::nullopt;
    return std::pair{*area, QStringLiteral("%1 × %2").arg(metres(part.length, separator),
                                                          metres(part.width, separator))};
}

// Each part's term named by its number where there are several.
QString partTerm(const QString& term, qsizetype part, qsizetype parts) {
    return parts == 1 ? term : QStringLiteral("%1 (часть %2)").arg(term).arg(part + 1);
}

} // namespace

RoomSize RoomSize::of(const Line& walls) {
    RoomSize size;
    QList<RoomPart> parts;
    for (const Measurement& m : walls.measurements) {
        // «Длина» is the first part's, «Длина 3» the third's.
        const QString name = m.name.section(u' ', 0, m.name.startsWith(kFloor) ? 1 : 0);
        const QString number = m.name.mid(name.size()).trimmed();
        const qsizetype index = number.isEmpty() ? 0 : number.toInt() - 1;
        if (index < 0 || index > 99)
            continue;
        while (parts.size() <= index)
            parts.append(RoomPart());
        RoomPart& part = parts[index];
        if (name == kLength)
            part.length = m.text;
        else if (name == kWidth)
            part.width = m.text;
        else if (name == kPerimeter)
            part.perimeter = m.text;
        else if (name == kHeight)
            part.height = m.text;
        else if (name == kFloor)
            part.floorArea = m.text;
    }
    size.openings = walls.roomOpenings;
    if (parts.isEmpty())
        return size;
    const RoomPart& first = parts.front();
    size = {first.length,    first.width,  first.perimeter,   first.height,
            first.floorArea, parts.mid(1), walls.roomOpenings};
    return size;
}

QString RoomPart::problem() const {
    if (byPerimeter()) {
        if (!positive(perimeter))
            return QStringLiteral("Введите длину и ширину помещения или его периметр.");
        if (!floorArea.trimmed().isEmpty() && !positive(floorArea))
            return QStringLiteral("Площадь пола должна быть положительным числом.");
    } else if (!positive(length) || !positive(width)) {
        return !positive(length) ? QStringLiteral("Длина должна быть положительным числом.")
                                 : QStringLiteral("Ширина должна быть положительным числом.");
    } else if (!perimeter.trimmed().isEmpty()) {
        return QStringLiteral("Введите либо длину и ширину, либо периметр.");
    } else if (!floorArea.trimmed().isEmpty()) {
        return QStringLiteral("Площадь пола вводится для помещения, заданного периметром.");
    }
    if (!positive(height))
        return QStringLiteral("Высота должна быть положительным числом.");
    return {};
}

QString RoomSize::problem() const {
    const QList<RoomPart> all = allParts();
    for (qsizetype i = 0; i < all.size(); ++i)
        if (const QString problem = all[i].problem(); !problem.isEmpty())
            return i == 0 ? problem : QStringLiteral("Часть %1: %2").arg(i + 1).arg(problem);
    for (qsizetype i = 0; i < openings.size(); ++i)
        if (const QString problem = problemOf(openings[i]); !problem.isEmpty())
            return QStringLiteral("Проём %1: %2").arg(i + 1).arg(problem);
    return {};
}

namespace {

std::optional<int> countOf(const RoomOpening& opening) {
    bool whole = false;
    const int count = opening.count.trimmed().toInt(&whole);
    return whole && count >= 1 && count <= kMaxCount ? std::optional(count) : std::nullopt;
}

QString singularName(OpeningKind kind) {
    switch (kind) {
    case OpeningKind::Window:
        break;
    case OpeningKind::Door:
        return QStringLiteral("дверь");
    case OpeningKind::Doorway:
        return QStringLiteral("проём");
    }
    return QStringLiteral("окно");
}

} // namespace

QString problemOf(const RoomOpening& opening) {
    if (!positive(opening.width))
        return QStringLiteral("Ширина проёма должна быть положительным числом.");
    if (!positive(opening.height))
        return QStringLiteral("Высота проёма должна быть положительным числом.");
    if (!countOf(opening))
        return QStringLiteral("Число проёмов должно быть целым от 1 до %1.").arg(kMaxCount);
    if (!opening.depth.trimmed().isEmpty() && !positive(opening.depth))
        return QStringLiteral("Глубина откоса должна быть положительным числом.");
    return {};
}

std::optional<Decimal> areaOf(const RoomOpening& opening) {
    if (!problemOf(opening).isEmpty())
        return std::nullopt;
    // Each opening is measured and written down to the hundredth before it is counted.
    const auto each = Decimal::parse(opening.width)->times(*Decimal::parse(opening.height));
    return each ? each->rounded(2).times(Decimal::whole(*countOf(opening))) : std::nullopt;
}

Line wallsLine(const QString& room, const RoomSize& size, QChar separator) {
    Line walls = roomLine(room, kWallsElement);
    const QList<RoomPart> parts = size.allParts();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const RoomPart& part = parts[i];
        const auto add = [&](const QString& name, const QString& text, const QString& unit) {
            walls.measurements.append(
                {partName(name, i), Decimal::parse(text)->text(separator), unit});
        };
        if (part.byPerimeter()) {
            add(kPerimeter, part.perimeter, kMetres);
            if (!part.floorArea.trimmed().isEmpty())
                add(kFloor, part.floorArea, QStringLiteral("м2"));
        } else {
            add(kLength, part.length, kMetres);
            add(kWidth, part.width, kMetres);
        }
        add(kHeight, part.height, kMetres);
    }
    // Figures written as the sheet writes them, whichever separator they were typed with.
    walls.roomOpenings = size.openings;
    for (RoomOpening& opening : walls.roomOpenings) {
        for (QString* figure : {&opening.width, &opening.height, &opening.depth})
            if (const auto value = Decimal::parse(*figure))
                *figure = value->text(separator);
        opening.count = opening.count.trimmed();
    }
    return walls;
}

std::optional<Line> ceilingLine(const QString& room, const RoomSize& size, QChar separator) {
    const QList<RoomPart> parts = size.allParts();
    Decimal area;
    QStringList terms;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const auto floor = floorOf(parts[i], separator);
        if (!floor)
            return std::nullopt; // a part without a floor gives no ceiling rather than a part of
                                 // one
        area += floor->first;
        terms << partTerm(floor->second, i, parts.size());
    }
    if (parts.size() == 1 && size.byPerimeter())
        terms.front() += QStringLiteral(" (площадь пола)");
    Line ceiling = roomLine(room, kCeilingElement);
    if (parts.size() == 1 && !size.byPerimeter())
        ceiling.measurements = {{kLength, Decimal::parse(size.length)->text(separator), kMetres},
                                {kWidth, Decimal::parse(size.width)->text(separator), kMetres}};
    else
        ceiling.measurements = wallsLine(room, size, separator).measurements;
    ceiling.result = area.rounded(2).text(separator);
    ceiling.formula = terms.join(QStringLiteral(" + ")) + QStringLiteral(" = ") +
                      squareMetres(area.rounded(2), separator);
    return ceiling;
}

std::optional<Line> revealsLine(const QString& room, const RoomSize& size, QChar separator) {
    Decimal area;
    QStringList terms;
    for (const RoomOpening& opening : size.openings) {
        if (opening.depth.trimmed().isEmpty() || !problemOf(opening).isEmpty())
            continue;
        const Decimal width = *Decimal::parse(opening.width);
        const Decimal height = *Decimal::parse(opening.height);
        const Decimal depth = *Decimal::parse(opening.depth);
        const int count = *countOf(opening);
        // Two jambs and the head.
        const auto each = (height + height + width).times(depth);
        const auto all = each ? each->times(Decimal::whole(count)) : std::nullopt;
        if (!all)
            return std::nullopt;
        area += *all;
        terms << QStringLiteral("(2 × %1 + %2) × %3%4 (%5)")
                     .arg(metres(opening.height, separator), metres(opening.width, separator),
                          metres(opening.depth, separator),
                          count == 1 ? QString() : QStringLiteral(" × %1").arg(count),
                          singularName(opening.kind));
    }
    if (terms.isEmpty())
        return std::nullopt;
    Line reveals;
    reveals.room = room;
    reveals.element = kRevealsElement;
    reveals.kind = LineKind::Reveals;
    reveals.result = area.rounded(2).text(separator);
    reveals.formula = terms.join(QStringLiteral(" + ")) + QStringLiteral(" = ") +
                      squareMetres(area.rounded(2), separator);
    return reveals;
}

void Openings::add(const Line::Deduction& deduction, int sign) {
    Decimal& sum = deduction.opening == Opening::Window ? windows : doors;
    sum = sign > 0 ? sum + deduction.area : sum - deduction.area;
}

void Openings::add(const RoomOpening& opening) {
    if (!opening.deduct)
        return;
    if (const auto area = areaOf(opening))
        (opening.kind == OpeningKind::Window ? windows
         : opening.kind == OpeningKind::Door ? doors
                                             : doorways) += *area;
}

void workOutWalls(Line& walls, const Openings& recorded, QChar separator) {
    const RoomSize size = RoomSize::of(walls);
    Openings openings = recorded;
    for (const RoomOpening& opening : size.openings)
        openings.add(opening);
    walls.result.clear();
    walls.formula.clear();
    if (!size.problem().isEmpty())
        return;
    const QList<RoomPart> parts = size.allParts();
    std::optional<Decimal> gross = Decimal();
    QStringList terms;
    for (qsizetype i = 0; i < parts.size() && gross; ++i) {
        const auto part = grossWalls(parts[i], separator);
        gross = part ? *gross + part->first : std::optional<Decimal>();
        if (part)
            terms << partTerm(part->second, i, parts.size());
    }
    if (!gross)
        return;
    QString formula = terms.join(QStringLiteral(" + "));
    Decimal net = *gross;
    const auto deduct = [&](const Decimal& area, const QString& what) {
        if (area.isZero())
            return;
        net -= area;
        formula += QStringLiteral(" − %1 (%2)").arg(squareMetres(area, separator), what);
    };
    deduct(openings.windows, QStringLiteral("окна"));
    deduct(openings.doors, QStringLiteral("двери"));
    deduct(openings.doorways, QStringLiteral("проёмы"));
    net = net.rounded(2);
    // Openings larger than the walls are a mistake in the measurements, never a negative area
    // to paint: the walls stay at nothing and say why.
    if (net.isNegative()) {
        walls.result = Decimal().text(separator);
        walls.formula = formula + QStringLiteral(" = 0 м2: ") +
                        kOpeningsExceedWalls.arg(squareMetres(openings.total(), separator),
                                                 squareMetres(gross->rounded(2), separator));
        return;
    }
    walls.result = net.text(separator);
    walls.formula = formula + QStringLiteral(" = ") + squareMetres(net, separator);
}

QString wallsAtZeroNotice(const QString& room) {
    return QStringLiteral("Проёмы помещения «%1» больше его стен: стены приняты равными нулю")
        .arg(room.trimmed().isEmpty() ? QStringLiteral("(без помещения)") : room);
}

bool openingsExceedWalls(const Line& walls) {
    static const QString marker = kOpeningsExceedWalls.section(u' ', 2, 2); // «больше»
    return walls.kind == LineKind::Walls && walls.formula.contains(QStringLiteral(" = 0 м2: ")) &&
           walls.formula.contains(marker);
}

} // namespace velaro
