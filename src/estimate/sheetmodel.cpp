#include "estimate/sheetmodel.h"

#include "estimate/export.h"
#include "estimate/sheetcommands.h"

#include <QSet>
#include <QUndoStack>

#include <algorithm>

namespace velaro {
namespace {

// Rows ascending, without repeats, inside the sheet.
QList<int> sortedRows(QList<int> rows, int rowCount) {
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [rowCount](int row) { return row < 0 || row >= rowCount; }),
               rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

SheetModel::SheetModel(QUndoStack& undo, QChar decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), undo_(undo), separator_(decimalSeparator) {}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(sheet_.lines.size());
}

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Column column = Column(index.column());
    const Line& line = sheet_.lines[index.row()];
    switch (role) {
    case Qt::EditRole:
        if (column == Column::Count)
            return line.count;
        if (column == Column::Material)
            return line.material;
        [[fallthrough]];
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cellText(line, figures_[std::size_t(index.row())], column, separator_,
                        sheet_.materials);
    case Qt::TextAlignmentRole:
        return int((isFigureColumn(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kColumnCount)
        return columnTitle(Column(section));
    return QAbstractTableModel::headerData(section, orientation, role); // the line's number
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const Column column = Column(index.column());
    if (index.isValid() &&
        (column == Column::Room || column == Column::Count || column == Column::Material))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const Line& line = sheet_.lines[index.row()];
    const Column column = Column(index.column());
    QVariant before;
    QVariant after = value;
    switch (column) {
    case Column::Room:
        before = line.room;
        after = value.toString().simplified();
        break;
    case Column::Count: {
        bool whole = false;
        const int count = value.toString().trimmed().toInt(&whole);
        if (!whole || count < 1 || count > kMaxCount)
            return false;
        before = line.count;
        after = count;
        break;
    }
    case Column::Material: {
        // An id, or a material's name; 0 or an empty name for none.
        int id = 0;
        if (value.typeId() == QMetaType::Int) {
            id = value.toInt();
        } else if (const QString name = value.toString(); !name.isEmpty()) {
            const auto found = std::find_if(sheet_.materials.begin(), sheet_.materials.end(),
                                            [&](const Material& m) { return m.name == name; });
            id = found == sheet_.materials.end() ? -1 : found->id;
        }
        if (id < 0 || (id && !materialOf(sheet_.materials, id)))
            return false;
        before = line.material;
        after = id;
        break;
    }
    default:
        return false;
    }
    if (before == after)
        return true;
    undo_.push(new SetCell(*this, index.row(), column, before, after));
    return true;
}

SheetView SheetModel::view() const {
    return SheetView{sheet_, figures_, totals_, rates_, separator_};
}

QStringList SheetModel::rooms() const {
    if (rooms_)
        return *rooms_;
    QStringList rooms;
    QSet<QString> seen;
    for (const Line& line : sheet_.lines)
        if (!seen.contains(line.room)) {
            seen.insert(line.room);
            if (!line.room.isEmpty())
                rooms << line.room;
        }
    rooms_ = rooms;
    return rooms;
}

void SheetModel::countRoom(const QString& room, int lines) {
    int& count = roomLines_[room];
    const bool before = count > 0;
    count += lines;
    if (count <= 0)
        roomLines_.remove(room);
    if (before != (count > 0))
        rooms_.reset();
}

void SheetModel::addLine(Line line) {
    line.room = sheet_.lastRoom;
    undo_.push(new AddLines(*this, {std::move(line)}, QStringLiteral("запись расчёта")));
}

void SheetModel::duplicateLines(QList<int> rows) {
    rows = sortedRows(std::move(rows), rowCount());
    QList<Line> copies;
    for (int row : rows)
        copies << sheet_.lines[row];
    if (!copies.isEmpty())
        undo_.push(new AddLines(*this, std::move(copies), QStringLiteral("повтор строк")));
}

void SheetModel::removeLines(QList<int> rows) {
    rows = sortedRows(std::move(rows), rowCount());
    if (!rows.isEmpty())
        undo_.push(new RemoveLines(*this, std::move(rows)));
}

bool SheetModel::moveLines(QList<int> rows, int delta) {
    rows = sortedRows(std::move(rows), rowCount());
    if (rows.isEmpty() || (delta != -1 && delta != 1) || (delta < 0 && rows.front() == 0) ||
        (delta > 0 && rows.back() == rowCount() - 1))
        return false;
    undo_.push(new MoveLines(*this, std::move(rows), delta));
    return true;
}

void SheetModel::editMaterials(const QList<Material>& materials) {
    if (materials == sheet_.materials)
        return;
    // A new material gets the next free id; a line keeps its material, renamed or not, while it
    // remains, and has none once it is gone.
    QList<Material> identified = materials;
    int next = 1;
    for (const Material& m : sheet_.materials)
        next = std::max(next, m.id + 1);
    for (const Material& m : identified)
        next = std::max(next, m.id + 1);
    for (Material& m : identified)
        if (m.id <= 0)
            m.id = next++;
    QList<int> lineMaterials;
    for (const Line& line : sheet_.lines)
        lineMaterials << (materialOf(identified, line.material) ? line.material : 0);
    undo_.push(new SetMaterials(*this, identified, lineMaterials));
}

void SheetModel::setRecording(bool on) {
    if (sheet_.recording == on)
        return;
    sheet_.recording = on;
    emit changed();
}

void SheetModel::setCurrentRoom(const QString& room) {
    const QString simplified = room.simplified();
    if (sheet_.lastRoom == simplified)
        return;
    sheet_.lastRoom = simplified;
    emit changed();
}

LineFigures SheetModel::figuresOf(const Line& line) const {
    const auto rates = rates_.find(line.material);
    return LineFigures::of(line, rates == rates_.end() ? nullptr : &*rates);
}

void SheetModel::insertLines(const QList<int>& rows, const QList<Line>& lines) {
    qsizetype next = 0;
    for (const auto& [first, last] : runsOf(rows)) {
        beginInsertRows({}, first, last);
        for (int row = first; row <= last; ++row, ++next) {
            const Line& line = lines[next];
            sheet_.lines.insert(row, line);
            figures_.insert(figures_.begin() + row, figuresOf(line));
            totals_.add(line, figures_[std::size_t(row)]);
            countRoom(line.room, +1);
        }
        endInsertRows();
    }
    emit changed();
}

QList<Line> SheetModel::takeLines(const QList<int>& rows) {
    QList<Line> taken;
    taken.reserve(rows.size());
    auto runs = runsOf(rows);
    // From the bottom, so that the rows above keep their numbers.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const auto [first, last] = *run;
        beginRemoveRows({}, first, last);
        for (int row = last; row >= first; --row) {
            totals_.remove(sheet_.lines[row], figures_[std::size_t(row)]);
            countRoom(sheet_.lines[row].room, -1);
        }
        const QList<Line> block = sheet_.lines.mid(first, last - first + 1);
        taken = block + taken;
        sheet_.lines.remove(first, last - first + 1);
        figures_.erase(figures_.begin() + first, figures_.begin() + last + 1);
        endRemoveRows();
    }
    emit changed();
    return taken;
}

void SheetModel::moveBlock(int first, int last, int delta) {
    // Qt names the destination as the row the block goes before, counted before the move.
    beginMoveRows({}, first, last, {}, delta < 0 ? first - 1 : last + 2);
    const auto lines = sheet_.lines.begin();
    const auto figures = figures_.begin();
    if (delta < 0) {
        std::rotate(lines + first - 1, lines + first, lines + last + 1);
        std::rotate(figures + first - 1, figures + first, figures + last + 1);
    } else {
        std::rotate(lines + first, lines + last + 1, lines + last + 2);
        std::rotate(figures + first, figures + last + 1, figures + last + 2);
    }
    endMoveRows();
    rooms_.reset(); // which room comes first may have changed
    emit changed();
}

void SheetModel::setCell(int row, Column column, const QVariant& value) {
    Line& line = sheet_.lines[row];
    // The old figures leave the totals under the old room and material, the new ones join them
    // under the new.
    totals_.remove(line, figures_[std::size_t(row)]);
    if (column == Column::Room) {
        countRoom(line.room, -1);
        line.room = value.toString();
        countRoom(line.room, +1);
    }
    else if (column == Column::Count)
        line.count = value.toInt();
    else if (column == Column::Material)
        line.material = value.toInt();
    figures_[std::size_t(row)] = figuresOf(line);
    totals_.add(line, figures_[std::size_t(row)]);
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    emit changed();
}

void SheetModel::setMaterials(const QList<Material>& materials, const QList<int>& lineMaterials) {
    refigure(materials, lineMaterials);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
    emit changed();
}

void SheetModel::refigure(const QList<Material>& materials, const QList<int>& lineMaterials) {
    sheet_.materials = materials;
    rates_ = ratesOf(materials);
    totals_.clear();
    figures_.clear();

    figures_.reserve(std::size_t(sheet_.lines.size()));
    for (qsizetype i = 0; i < sheet_.lines.size(); ++i) {
        Line& line = sheet_.lines[i];
        if (i < lineMaterials.size())
            line.material = lineMaterials[i];
        figures_.push_back(figuresOf(line));
        totals_.add(line, figures_.back());
    }
}

void SheetModel::resetSheet(Sheet sheet) {
    undo_.clear();
    beginResetModel();
    QList<int> lineMaterials;
    for (const Line& line : sheet.lines)
        lineMaterials << line.material;
    const QList<Material> materials = sheet.materials;
    sheet_ = std::move(sheet);
    roomLines_.clear();
    rooms_.reset();
    for (const Line& line : sheet_.lines)
        countRoom(line.room, +1);
    refigure(materials, lineMaterials);
    endResetModel();
    emit changed();
}

} // namespace velaro
