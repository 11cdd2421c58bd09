#include "estimate/roomgroups.h"

#include "estimate/report.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <QPalette>

namespace velaro {

RoomGroupsModel::RoomGroupsModel(SheetModel& sheet, QObject* parent)
    : QAbstractProxyModel(parent), sheet_(sheet) {
    QAbstractProxyModel::setSourceModel(&sheet);
    regroup();
    // The sheet reports every change through `changed`; a row of this model may stand for any
    // line after it, so each is taken whole.
    connect(&sheet, &SheetModel::changed, this, &RoomGroupsModel::regroup);
    connect(&sheet, &QAbstractItemModel::modelReset, this, &RoomGroupsModel::regroup);
}

void RoomGroupsModel::build(std::vector<int>& rows, QStringList& rooms) const {
    const std::vector<RoomLines> groups = linesByRoom(sheet_.view());
    rooms.clear();
    rows.clear();
    rows.reserve(std::size_t(sheet_.rowCount()) + groups.size());
    for (const RoomLines& group : groups) {
        rows.push_back(-1 - int(rooms.size()));
        rooms << group.room;
        rows.insert(rows.end(), group.lines.begin(), group.lines.end());
    }
}

void RoomGroupsModel::regroup() {
    std::vector<int> rows;
    QStringList rooms;
    build(rows, rooms);
    if (rows == rows_ && rooms == rooms_ && groupRow_.size() == std::size_t(sheet_.rowCount())) {
        if (!rows_.empty())
            emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, kColumnCount - 1));
        return;
    }
    beginResetModel();
    rows_ = std::move(rows);
    rooms_ = std::move(rooms);
    groupRow_.assign(std::size_t(sheet_.rowCount()), -1);
    numbers_.assign(rows_.size(), 0);
    int number = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row] >= 0) {
            groupRow_[std::size_t(rows_[row])] = int(row);
            numbers_[row] = ++number;
        }
    endResetModel();
}

int RoomGroupsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
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
    if (!proxy.isValid() || rows_[std::size_t(proxy.row())] < 0)
        return {};
    return sheet_.index(rows_[std::size_t(proxy.row())], proxy.column());
}

QModelIndex RoomGroupsModel::mapFromSource(const QModelIndex& source) const {
    if (!source.isValid() || std::size_t(source.row()) >= groupRow_.size())
        return {};
    return index(groupRow_[std::size_t(source.row())], source.column());
}

std::optional<QString> RoomGroupsModel::subtotalOf(int row) const {
    if (row < 0 || std::size_t(row) >= rows_.size() || rows_[std::size_t(row)] >= 0)
        return std::nullopt;
    return rooms_[-1 - rows_[std::size_t(row)]];
}

QVariant RoomGroupsModel::data(const QModelIndex& index, int role) const {
    const auto room = index.isValid() ? subtotalOf(index.row()) : std::nullopt;
    if (!room)
        return QAbstractProxyModel::data(index, role);
    const Totals::Sum sum = sheet_.totals().rooms().value(*room);
    const QChar separator = sheet_.separator();
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
        return rows_[std::size_t(section)] < 0 ? QVariant(QString())
                                               : QVariant(numbers_[std::size_t(section)]);
    return QAbstractProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags RoomGroupsModel::flags(const QModelIndex& index) const {
    if (index.isValid() && subtotalOf(index.row()))
        return Qt::ItemIsEnabled;
    return QAbstractProxyModel::flags(index);
}

} // namespace velaro
