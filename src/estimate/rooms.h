#pragma once
// A room's walls, ceiling and reveals from its size: the walls line is perimeter × height less
// the openings of the window and door lines of its room that are ticked to be deducted and of
// the openings measured with its size, worked out again whenever one of them changes.

#include "estimate/sheet.h"

namespace velaro {

// A part of a room as typed, in metres: length and width, or a perimeter (and, for its ceiling,
// the floor's area in м2) for a part that is no rectangle; and its own height.
struct RoomPart {
    QString length, width, perimeter, height;
    QString floorArea; // a part given by its perimeter: its floor, for its ceiling; may be empty
    bool operator==(const RoomPart&) const = default;

    bool byPerimeter() const { return length.trimmed().isEmpty() && width.trimmed().isEmpty(); }
    // What is wrong with it, or empty.
    QString problem() const;
};

// What is wrong with an opening measured by its size, or empty.
QString problemOf(const RoomOpening& opening);
// What it takes off the walls: width × height to the hundredth, as the walls are shown, times
// the count; nullopt where it is not sound.
std::optional<Decimal> areaOf(const RoomOpening& opening);

// A room of one part or several (an L, a bay, a lower part): walls and ceiling are the parts'
// sums. The first part is the room's own size; `parts` are the others. `openings` are measured
// with it rather than recorded from a calculator.
struct RoomSize {
    QString length, width, perimeter, height;
    QString floorArea;
    QList<RoomPart> parts;
    QList<RoomOpening> openings;

    RoomSize() = default;
    RoomSize(QString length, QString width, QString perimeter, QString height,
             QString floorArea = {}, QList<RoomPart> parts = {}, QList<RoomOpening> openings = {})
        : length(std::move(length)), width(std::move(width)), perimeter(std::move(perimeter)),
          height(std::move(height)), floorArea(std::move(floorArea)), parts(std::move(parts)),
          openings(std::move(openings)) {}
    bool operator==(const RoomSize&) const = default;

    // The size kept in a walls line.
    static RoomSize of(const Line& walls);
    bool byPerimeter() const { return first().byPerimeter(); }
    RoomPart first() const { return {length, width, perimeter, height, floorArea}; }
    QList<RoomPart> allParts() const { return QList<RoomPart>{first()} + parts; }
    // What is wrong with it, or empty; a part past the first and an opening are named by
    // their numbers.
    QString problem() const;
};

inline const QString kWallsElement = QStringLiteral("Стены");
inline const QString kCeilingElement = QStringLiteral("Потолок");
inline const QString kRevealsElement = QStringLiteral("Откосы");

// The room's walls line, its figures still to be worked out (workOutWalls); its ceiling line,
// none where a part given by its perimeter has no floor area. The size is written with
// `separator`.
Line wallsLine(const QString& room, const RoomSize& size, QChar separator);
std::optional<Line> ceilingLine(const QString& room, const RoomSize& size, QChar separator);
// The room's reveals: each opening with a depth, (2 × height + width) × depth × count — the two
// jambs and the head; a window's sill is not painted with the reveals. None where no opening
// has a depth.
std::optional<Line> revealsLine(const QString& room, const RoomSize& size, QChar separator);

// What comes off a room's walls, by kind of opening.
struct Openings {
    Decimal windows, doors, doorways;
    // A line's deduction; -1 takes it back off, as when the line goes.
    void add(const Line::Deduction& deduction, int sign = +1);
    void add(const RoomOpening& opening); // where ticked
    Decimal total() const { return windows + doors + doorways; }
    bool isZero() const { return windows.isZero() && doors.isZero() && doorways.isZero(); }
};

// Sets the walls line's result and formula: «2 × (4 м + 3 м) × 2,7 м − 2,1 м2 (окна) = 35,7 м2»;
// the openings measured with the line's size come off as well as `openings`. Openings larger
// than the walls leave them at zero, and the formula says so.
void workOutWalls(Line& walls, const Openings& openings, QChar separator);
inline const QString kOpeningsExceedWalls = QStringLiteral("проёмы %1 больше стен %2");
// Whether the walls were left at zero by openings larger than they are.
bool openingsExceedWalls(const Line& walls);
// What the status line says of it.
QString wallsAtZeroNotice(const QString& room);

} // namespace velaro
