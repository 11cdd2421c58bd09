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

RoomSize RoomSize::of(const Line& walls) {
    RoomSize size;
    for (const Measurement& m : walls.measurements) {
        if (m.name == kLength)
            size.length = m.text;
        else if (m.name == kWidth)
            size.width = m.text;
        else if (m.name == kPerimeter)
            size.perimeter = m.text;
        else if (m.name == kHeight)
            size.height = m.text;
    }
    return size;
}

QString RoomSize::problem() const {
    if (byPerimeter()) {
        if (!positive(perimeter))
            return QStringLiteral("Введите длину и ширину помещения или его периметр.");
    } else if (!positive(length) || !positive(width)) {
        return !positive(length) ? QStringLiteral("Длина должна быть положительным числом.")
                                 : QStringLiteral("Ширина должна быть положительным числом.");
    } else if (!perimeter.trimmed().isEmpty()) {
        return QStringLiteral("Введите либо длину и ширину, либо периметр.");
    }
    if (!positive(height))
        return QStringLiteral("Высота должна быть положительным числом.");
    return {};
}

Line wallsLine(const QString& room, const RoomSize& size, QChar separator) {
    Line walls = roomLine(room, kWallsElement);
    const auto add = [&](const QString& name, const QString& text) {
        walls.measurements.append({name, Decimal::parse(text)->text(separator), kMetres});
    };
    if (size.byPerimeter()) {
        add(kPerimeter, size.perimeter);
    } else {
        add(kLength, size.length);
        add(kWidth, size.width);
    }
    add(kHeight, size.height);
    return walls;
}

std::optional<Line> ceilingLine(const QString& room, const RoomSize& size, QChar separator) {
    if (size.byPerimeter())
        return std::nullopt;
    Line ceiling = roomLine(room, kCeilingElement);
    const Decimal length = *Decimal::parse(size.length);
    const Decimal width = *Decimal::parse(size.width);
    ceiling.measurements = {{kLength, length.text(separator), kMetres},
                            {kWidth, width.text(separator), kMetres}};
    const auto area = length.times(width);
    if (!area)
        return std::nullopt;
    ceiling.result = area->rounded(2).text(separator);
    ceiling.formula = QStringLiteral("%1 × %2 = %3")
                          .arg(metres(size.length, separator), metres(size.width, separator),
                               squareMetres(area->rounded(2), separator));
    return ceiling;
}

void Openings::add(const Line& line) {
    if (const auto area = line.deduction())
        (openingOf(line.calculator) == Opening::Window ? windows : doors) += *area;
}

void workOutWalls(Line& walls, const Openings& openings, QChar separator) {
    const RoomSize size = RoomSize::of(walls);
    walls.result.clear();
    walls.formula.clear();
    if (!size.problem().isEmpty())
        return;
    std::optional<Decimal> perimeter;
    QString formula;
    if (size.byPerimeter()) {
        perimeter = Decimal::parse(size.perimeter);
        formula = metres(size.perimeter, separator);
    } else {
        perimeter = (*Decimal::parse(size.length) + *Decimal::parse(size.width))
                        .times(Decimal::whole(2));
        formula = QStringLiteral("2 × (%1 + %2)")
                      .arg(metres(size.length, separator), metres(size.width, separator));
    }
    const auto gross = perimeter ? perimeter->times(*Decimal::parse(size.height)) : std::nullopt;
    if (!gross)
        return;
    formula += QStringLiteral(" × ") + metres(size.height, separator);
    Decimal net = *gross;
    const auto deduct = [&](const Decimal& area, const QString& what) {
        if (area.isZero())
            return;
        net -= area;
        formula += QStringLiteral(" − %1 (%2)").arg(squareMetres(area, separator), what);
    };
    deduct(openings.windows, QStringLiteral("окна"));
    deduct(openings.doors, QStringLiteral("двери"));
    net = net.rounded(2);
    // Openings larger than the walls are a mistake in the measurements, never a negative area
    // to paint: the walls stay at nothing and say why.
    if (net.isNegative()) {
        walls.result = Decimal().text(separator);
        walls.formula = formula + QStringLiteral(" = 0 м2: ") +
                        kOpeningsExceedWalls.arg(
                            squareMetres(openings.windows + openings.doors, separator),
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
