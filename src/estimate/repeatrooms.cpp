#include "estimate/repeatrooms.h"

#include "estimate/columns.h"

#include <QRegularExpression>
#include <QSet>

#include <optional>

namespace velaro {

namespace {

const QRegularExpression& firstNumber() {
    static const QRegularExpression kFirstNumber(QStringLiteral("^(\\D*)(\\d{1,6})"));
    return kFirstNumber;
}

} // namespace

QString repeatedRoomName(const QString& pattern, const QString& room, int number) {
    QString name = pattern;
    const auto numbered = firstNumber().match(room);
    name.replace(QStringLiteral("{rest}"),
                 numbered.hasMatch() ? room.mid(numbered.capturedEnd()) : QString());
    name.replace(QStringLiteral("{room}"), room);
    name.replace(QStringLiteral("{n}"), QString::number(number));
    return name.simplified();
}

RoomPattern suggestedPattern(const QStringList& rooms) {
    // Names that begin alike up to their first number: the copies go on counting.
    std::optional<QString> lead;
    for (const QString& room : rooms) {
        const auto match = firstNumber().match(room);
        const QString head = match.hasMatch() ? match.captured(0) : QString();
        if (head.isEmpty() || (lead && *lead != head))
            return {QStringLiteral("{room} ({n})"), 2};
        lead = head;
    }
    if (!lead)
        return {QStringLiteral("{room} ({n})"), 2};
    const auto match = firstNumber().match(*lead);
    return {match.captured(1) + QStringLiteral("{n}{rest}"), match.captured(2).toInt() + 1};
}

QString namingProblem(const QStringList& rooms, const QString& pattern, int firstNumber,
                      int copies, const QStringList& sheetRooms) {
    if (copies > 1 && !pattern.contains(QStringLiteral("{n}")))
        return QStringLiteral("в названии нет {n}: у копий были бы одинаковые названия");
    const QSet<QString> existing(sheetRooms.begin(), sheetRooms.end());
    QSet<QString> named;
    for (int copy = 0; copy < copies; ++copy)
        for (const QString& room : rooms) {
            const QString name = repeatedRoomName(pattern, room, firstNumber + copy);
            if (name.isEmpty())
                return QStringLiteral("у копии нет названия");
            if (existing.contains(name))
                return QStringLiteral("помещение «%1» в ведомости уже есть").arg(name);
            if (named.contains(name))
                return QStringLiteral("название «%1» получили бы две копии").arg(name);
            named.insert(name);
        }
    return {};
}

} // namespace velaro
