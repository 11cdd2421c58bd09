#pragma once
// Rooms repeated as estimators repeat them: a flat of a floor, a floor of a building. Each copy
// is a room of its own with the originals' lines, size and openings, named from a pattern, so
// that the documents list every flat and a copy may later differ from the others.

#include <QString>
#include <QStringList>

namespace velaro {

// «{n}» stands for the copy's number, «{room}» for the original room's name, «{rest}» for what
// follows the first number in it («Кв. 1, Кухня» → «, Кухня»): «Кв. {n}{rest}» numbers flats.
QString repeatedRoomName(const QString& pattern, const QString& room, int number);

// What a pattern for these rooms starts as, and the number its first copy takes: rooms whose names
// begin alike up to a number go on counting from it («Квартира 1» → «Квартира {n}{rest}» from 2,
// a flat's «Кв. 1, Кухня» and «Кв. 1, Зал» → «Кв. {n}{rest}»); other rooms keep their names and
// take the copy's number after them.
struct RoomPattern {
    QString pattern;
    int firstNumber = 2;
};
RoomPattern suggestedPattern(const QStringList& rooms);

// Why the copies cannot be named so (a name twice, a room the sheet has, no {n} with more than one
// copy), or empty.
QString namingProblem(const QStringList& rooms, const QString& pattern, int firstNumber,
                      int copies, const QStringList& sheetRooms);

} // namespace velaro
