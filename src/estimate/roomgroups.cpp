#include "estimate/roomgroups.h"

#include "estimate/report.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <QPalette>
#include <QSet>

namespace velaro {

RoomGroupsModel::RoomGroupsModel(SheetModel& sheet, QObject* parent)
    : QAbstractProxyModel(parent), sheet_(sheet) {
    QAbstractProxyModel::setSourceModel(&sheet);
    setRows(grouped());
    const Estimate& estimate = sheet.estimate();
    // After the flat model has told its views: the sheet's rows are already the new ones.
    connect(&estimate, &Estimate::linesInserted, this, [this](int first, int last) {
        if (!appendedToTheirGroups(first, last))
            regroup([=](int row) { return row < first ? row : row + (last - first + 1); });
    });
    connect(&estimate, &Estimate::linesRemoved, this, [this](int first, int last) {
        regroup([=](int row) {
            return row < first ? row : row <= last ? -1 : row - (last - first + 1);
        });
    });
    connect(&estimate, &Estimate::linesMoved, this, [this](int first, int last, int to) {
        regroup([=](int row) {
            const int size = last - first + 1;
            if (to < first) // up: the block lands at `to`, the rows it passed go down
                return row >= first && row <= last ? row - (first - to)
                       : row >= to && row < first  ? row + size
                                                   : row;
            return row >= first && row <= last ? row + (to - last - 1)
                   : row > last && row < to    ? row - size
                                               : row;
        });
    });
    connect(&estimate, &Estimate::linesChanged, this, [this](int first, int last) {
        // Mostly a count, a price or a room's walls: the lines stay in their groups.
        if (!staysGrouped(first, last))
            regroup([](int row) { return row; });
        else
            subtotalsChanged();
        for (int line = first; line <= last && std::size_t(line) < groupRow_.size(); ++line)
            emit dataChanged(index(groupRow_[std::size_t(line)], 0),
                             index(groupRow_[std::size_t(line)], kColumnCount - 1));
    });
    connect(&estimate, &Estimate::wasReset, this, [this] {
        beginResetModel();
        setRows(grouped());
        endResetModel();
    });
}

std::vector<RoomGroupsModel::Row> RoomGroupsModel::grouped() const {
    std::vector<Row> rows;
    rows.reserve(std::size_t(sheet_.rowCount()));
    for (const RoomLines& group : linesByRoom(sheet_.estimate().view())) {
        rows.push_back({-1, group.room});
        for (int line : group.lines)
            rows.push_back({line, {}});
    }
    return rows;
}

void RoomGroupsModel::setRows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    groupRow_.assign(std::size_t(sheet_.rowCount()), -1);
    numbers_.assign(rows_.size(), 0);
    groupOf_.assign(rows_.size(), 0);
    int number = 0;
    int group = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].line == -1)
            group = int(row);
        groupOf_[row] = group;
        if (rows_[row].line >= 0) {
            if (std::size_t(rows_[row].line) < groupRow_.size())
                groupRow_[std::size_t(rows_[row].line)] = int(row);
            numbers_[row] = ++number;
        }
    }
}

bool RoomGroupsModel::staysGrouped(int first, int last) const {
    const QList<Line>& lines = sheet_.estimate().sheet().lines;
    for (int line = first; line <= last; ++line) {
        if (std::size_t(line) >= groupRow_.size() || groupRow_[std::size_t(line)] < 0)
            return false;
        if (rows_[std::size_t(groupOf_[std::size_t(groupRow_[std::size_t(line)])])].room !=
            lines[line].room)
            return false;
    }
    return true;
}

// Lines recorded at the end of the sheet into rooms it has: each goes at the end of its room's
// group, without working out every group again.
bool RoomGroupsModel::appendedToTheirGroups(int first, int last) {
    const Estimate& estimate = sheet_.estimate();
    if (last != estimate.lineCount() - 1 || std::size_t(first) != groupRow_.size())
        return false;
    QHash<QString, int> groupEnd; // the row after each group's last
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row].line == -1)
            groupEnd.insert(rows_[row].room, int(row) + 1);
        else
            groupEnd[rows_[std::size_t(groupOf_[row])].room] = int(row) + 1;
    for (int line = first; line <= last; ++line)
        if (!groupEnd.contains(estimate.sheet().lines[line].room))
            return false; // a new room: its place among the groups is the sheet's to say
    // A room first met among the new lines is not among them (checked above), so the rooms'
    // order is as it was.
    std::vector<Row> rows = rows_;
    for (int line = first; line <= last; ++line) {
        const QString& room = estimate.sheet().lines[line].room;
        const int at = groupEnd.value(room);
        beginInsertRows({}, at, at);
        rows.insert(rows.begin() + at, Row{line, {}});
        for (auto end = groupEnd.begin(); end != groupEnd.end(); ++end)
            if (end.value() >= at && end.key() != room)
                ++end.value();
        groupEnd[room] = at + 1;
        setRows(rows);
        endInsertRows();
    }
    subtotalsChanged();
    return true;
}

void RoomGroupsModel::regroup(const std::function<int(int)>& moved) {
    constexpr int kGone = -2; // a line no longer in the sheet; a subtotal's row is -1
    const int lines = sheet_.rowCount();
    std::vector<Row> before = rows_;
    std::vector<char> lineBefore(std::size_t(lines), 0);
    QSet<QString> roomsBefore;
    for (Row& row : before) {
        if (row.line < 0) {
            roomsBefore.insert(row.room);
        } else if ((row.line = moved(row.line)) < 0) {
            row.line = kGone;
        } else {
            lineBefore[std::size_t(row.line)] = 1;
        }
    }
    const std::vector<Row> after = grouped();
    QSet<QString> roomsAfter;
    for (const Row& row : after)
        if (row.line < 0)
            roomsAfter.insert(row.room);
    // Every line of the sheet has a row after: a row stays unless its line or room is gone, and
    // comes unless its line or room was there before.
    std::vector<char> stays(before.size()), came(after.size());
    std::vector<const Row*> kept, keptAfter;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const Row& row = before[i];
        stays[i] = row.line >= 0 || (row.line == -1 && roomsAfter.contains(row.room));
        if (stays[i])
            kept.push_back(&row);
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        const Row& row = after[i];
        came[i] = row.line >= 0 ? !lineBefore[std::size_t(row.line)] : !roomsBefore.contains(row.room);
        if (!came[i])
            keptAfter.push_back(&row);
    }
    // What stays, in the order it had and has: where the orders differ, only a reset says it.
    if (!std::equal(kept.begin(), kept.end(), keptAfter.begin(), keptAfter.end(),
                    [](const Row* a, const Row* b) { return *a == *b; })) {
        beginResetModel();
        setRows(after);
        endResetModel();
        return;
    }
    // The rows as they were, their lines under their rows in the sheet now: what a view reads
    // while it is told of each change.
    std::vector<Row> current = before;
    setRows(current);
    // The rows that go, from the bottom up, so those above keep their places.
    for (int row = int(current.size()) - 1; row >= 0;) {
        if (stays[std::size_t(row)]) {
            --row;
            continue;
        }
        int first = row;
        while (first > 0 && !stays[std::size_t(first - 1)])
            --first;
        beginRemoveRows({}, first, row);
        current.erase(current.begin() + first, current.begin() + row + 1);
        setRows(current);
        endRemoveRows();
        row = first - 1;
    }
    // Then the rows that come, from the top down, each run where it is due.
    for (std::size_t row = 0; row < after.size();) {
        if (!came[row]) {
            ++row;
            continue;
        }
        std::size_t last = row;
        while (last + 1 < after.size() && came[last + 1])
            ++last;
        beginInsertRows({}, int(row), int(last));
        current.insert(current.begin() + std::ptrdiff_t(row), after.begin() + std::ptrdiff_t(row),
                       after.begin() + std::ptrdiff_t(last) + 1);
        setRows(current);
        endInsertRows();
        row = last + 1;
    }
    if (current != after) // the lines' rows in the sheet, now as they are
        setRows(after);
    subtotalsChanged();
}

void RoomGroupsModel::subtotalsChanged() {
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row].line < 0)
            emit dataChanged(index(int(row), 0), index(int(row), kColumnCount - 1));
}

int RoomGroupsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

// Its own rows, not the sheet's: while it is told of a change, the two differ.
bool RoomGroupsModel::hasChildren(const QModelIndex& parent) const {
    return !parent.isValid() && !rows_.empty();
}

int RoomGroupsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QModelIndex RoomGroupsModel::index(int row, int column, const QModelIndex& parent) const {
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex RoomGroupsModel::parent(const QModelIndex&) const {
    return {};
}

QModelIndex RoomGroupsModel::mapToSource(const QModelIndex& proxy) const {
    if (!proxy.isValid() || rows_[std::size_t(proxy.row())].line < 0)
        return {};
    return sheet_.index(rows_[std::size_t(proxy.row())].line, proxy.column());
}

QModelIndex RoomGroupsModel::mapFromSource(const QModelIndex& source) const {
    if (!source.isValid() || std::size_t(source.row()) >= groupRow_.size())
        return {};
    return index(groupRow_[std::size_t(source.row())], source.column());
}

std::optional<QString> RoomGroupsModel::subtotalOf(int row) const {
    if (row < 0 || std::size_t(row) >= rows_.size() || rows_[std::size_t(row)].line != -1)
        return std::nullopt;
    return rows_[std::size_t(row)].room;
}

QVariant RoomGroupsModel::data(const QModelIndex& index, int role) const {
    const auto room = index.isValid() ? subtotalOf(index.row()) : std::nullopt;
    if (!room)
        return QAbstractProxyModel::data(index, role);
    const Totals::Sum sum = sheet_.estimate().totals().rooms().value(*room);
    const QChar separator = sheet_.estimate().separator();
    switch (role) {
    case Qt::DisplayRole:
        switch (Column(index.column())) {
        case Column::Room:
            return roomTitle(*room);
        case Column::Element:
            return QStringLiteral("Итого по помещению, строк: %1").arg(sum.lines);
        case Column::Area:
            return sum.value.text(separator, 2);
        case Column::Unit:
            return QStringLiteral("м2");
        case Column::Work:
            return sum.work.text(separator, 2, true);
        default:
            return {};
        }
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::BackgroundRole:
        return QPalette().brush(QPalette::Midlight);
    case Qt::TextAlignmentRole:
        return int((isFigureColumn(Column(index.column())) ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RoomGroupsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal)
        return sheet_.headerData(section, orientation, role);
    // A line has the number it is printed under, room by room; a subtotal row has none.
    if (role == Qt::DisplayRole && section >= 0 && std::size_t(section) < rows_.size())
        return rows_[std::size_t(section)].line < 0 ? QVariant(QString())
                                                    : QVariant(numbers_[std::size_t(section)]);
    return QAbstractProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags RoomGroupsModel::flags(const QModelIndex& index) const {
    if (index.isValid() && subtotalOf(index.row()))
        return Qt::ItemIsEnabled;
    return QAbstractProxyModel::flags(index);
}

} // namespace velaro
