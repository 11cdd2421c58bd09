#include "estimate/sheetmodel.h"

#include "estimate/export.h"
#include "estimate/expression.h"
#include "estimate/sheetcommands.h"

#include <QSet>
#include <QUndoStack>

#include <algorithm>
#include <functional>

namespace velaro {
namespace {

// The entries with a new one given the next id free in both lists: ids are never reused, so an
// undone removal cannot hand a line another entry.
template <class Entry>
QList<Entry> identifiedAfter(const QList<Entry>& current, QList<Entry> entries) {
    int next = 1;
    for (const auto& list : {std::cref(current), std::cref(entries)})
        for (const Entry& e : list.get())
            next = std::max(next, e.id + 1);
    for (Entry& e : entries)
        if (e.id <= 0)
            e.id = next++;
    return entries;
}

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
        if (column == Column::System)
            return line.system;
        if (column == Column::Price)
            return line.price;
        if (column == Column::Code)
            return line.code;
        if (column == Column::Formula) // a typed line's arithmetic, edited as typed
            return line.formula;
        [[fallthrough]];
    case Qt::DisplayRole:
        if (column == Column::Deduct)
            return {}; // the check box says it
        return cellText(line, figures_[std::size_t(index.row())], column, separator_, sheet_);
    case Qt::ToolTipRole:
        if (column == Column::System)
            if (const PaintSystem* system = systemOf(sheet_.systems, line.system))
                return system->layersText(sheet_.materials);
        return cellText(line, figures_[std::size_t(index.row())], column, separator_, sheet_);
    case Qt::CheckStateRole:
        if (column == Column::Deduct && openingOf(line.calculator) != Opening::None)
            return line.deduct ? Qt::Checked : Qt::Unchecked;
        return {};
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
    if (!index.isValid())
        return flags;
    const Line& line = sheet_.lines[index.row()];
    switch (Column(index.column())) {
    case Column::Room:
    case Column::Count:
    case Column::System:
    case Column::Price:
    case Column::Code:
        return flags | Qt::ItemIsEditable;
    case Column::Element:
    case Column::Unit:
    case Column::Formula:
        return line.kind == LineKind::Typed ? flags | Qt::ItemIsEditable : flags;
    case Column::Deduct:
        return openingOf(line.calculator) != Opening::None ? flags | Qt::ItemIsUserCheckable
                                                          : flags;
    default:
        return flags;
    }
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const Line& line = sheet_.lines[index.row()];
    const Column column = Column(index.column());
    if (role != (column == Column::Deduct ? Qt::CheckStateRole : Qt::EditRole) ||
        !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    QVariant before;
    QVariant after = value.toString().simplified();
    switch (column) {
    case Column::Room:
        before = line.room;
        break;
    case Column::Element:
        if (after.toString().isEmpty())
            return false;
        before = line.element;
        break;
    case Column::Unit:
        if (after.toString().isEmpty())
            return false;
        before = line.unit;
        break;
    case Column::Code:
        before = line.code;
        break;
    case Column::Formula: {
        // A typed line's quantity typed again: worked out, or refused as it stands.
        const Evaluation evaluation = evaluateQuantity(after.toString(), separator_);
        if (!evaluation.value)
            return false;
        Line edited = line;
        edited.formula = after.toString();
        edited.result = evaluation.value->text(separator_);
        if (!(edited == line))
            undo_.push(new ReplaceLine(*this, index.row(), edited,
                                       QStringLiteral("изменение: количество")));
        return true;
    }
    case Column::Price: {
        const auto price = Decimal::parse(after.toString());
        if (!after.toString().isEmpty() && (!price || price->isNegative()))
            return false;
        before = line.price;
        if (price)
            after = price->text(separator_);
        break;
    }
    case Column::Count: {
        bool whole = false;
        const int count = value.toString().trimmed().toInt(&whole);
        if (!whole || count < 1 || count > kMaxCount)
            return false;
        before = line.count;
        after = count;
        break;
    }
    case Column::System: {
        // An id, or a system's name; 0 or an empty name for none.
        int id = 0;
        if (value.typeId() == QMetaType::Int) {
            id = value.toInt();
        } else if (const QString name = value.toString(); !name.isEmpty()) {
            const auto found = std::find_if(sheet_.systems.begin(), sheet_.systems.end(),
                                            [&](const PaintSystem& s) { return s.name == name; });
            id = found == sheet_.systems.end() ? -1 : found->id;
        }
        if (id < 0 || (id && !systemOf(sheet_.systems, id)))
            return false;
        before = line.system;
        after = id;
        break;
    }
    case Column::Deduct:
        before = line.deduct;
        after = value.toInt() == Qt::Checked;
        break;
    default:
        return false;
    }
    if (before == after)
        return true;
    undo_.push(new SetCell(*this, index.row(), column, before, after));
    return true;
}

SheetView SheetModel::view() const {
    QStringList rooms = this->rooms();
    if (roomLines_.contains(QString()))
        rooms << QString();
    return SheetView{sheet_, figures_, totals_, rates_, separator_, rooms};
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
    const QString text = line.kind == LineKind::Typed ? QStringLiteral("строка вручную")
                                                      : QStringLiteral("запись расчёта");
    undo_.push(new AddLines(*this, {std::move(line)}, text));
}

int SheetModel::rowOf(const QString& room, LineKind kind) const {
    for (qsizetype row = 0; row < sheet_.lines.size(); ++row)
        if (sheet_.lines[row].kind == kind && sheet_.lines[row].room == room)
            return int(row);
    return -1;
}

void SheetModel::setRoomSize(const QString& room, const RoomSize& size) {
    // A line already there keeps what the estimator gave it: count, system, price, norm.
    const auto kept = [&](int row, Line line) {
        if (row >= 0) {
            const Line& old = sheet_.lines[row];
            line.count = old.count;
            line.system = old.system;
            line.price = old.price;
            line.code = old.code;
        }
        return line;
    };
    const QString text = QStringLiteral("размеры помещения");
    undo_.beginMacro(text);
    const std::optional<Line> walls = wallsLine(room, size, separator_);
    const std::optional<Line> ceiling = ceilingLine(room, size, separator_);
    if (const int row = rowOf(room, LineKind::Ceiling); row >= 0 && !ceiling)
        undo_.push(new RemoveLines(*this, {row}));
    for (const auto& [kind, line] :
         {std::pair{LineKind::Walls, walls}, std::pair{LineKind::Ceiling, ceiling}}) {
        if (!line)
            continue;
        if (const int row = rowOf(room, kind); row >= 0) {
            undo_.push(new ReplaceLine(*this, row, kept(row, *line), text));
        } else {
            // After the room's last line, where the estimator reads the room.
            int after = -1;
            for (qsizetype r = 0; r < sheet_.lines.size(); ++r)
                if (sheet_.lines[r].room == room)
                    after = int(r);
            undo_.push(new AddLines(*this, {*line}, text, after < 0 ? -1 : after + 1));
        }
    }
    undo_.endMacro();
}

void SheetModel::assignSystem(QList<int> rows, int system) {
    rows = sortedRows(std::move(rows), rowCount());
    if (system && !systemOf(sheet_.systems, system))
        return;
    undo_.beginMacro(QStringLiteral("система окраски"));
    for (int row : rows)
        if (sheet_.lines[row].system != system)
            undo_.push(new SetCell(*this, row, Column::System, sheet_.lines[row].system, system));
    undo_.endMacro();
}

void SheetModel::setVatRate(const QString& rate) {
    const QString simplified = rate.simplified();
    if (simplified != sheet_.vatRate)
        undo_.push(new SetSheetValue(*this, &Sheet::vatRate, simplified,
                                     QStringLiteral("ставка НДС")));
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
    const QList<Material> identified = identifiedAfter(sheet_.materials, materials);
    // A removed material leaves the systems it was a layer of.
    Catalogue catalogue{identified, sheet_.systems, {}};
    for (PaintSystem& system : catalogue.systems)
        system.layers.removeIf(
            [&](const Layer& layer) { return !materialOf(identified, layer.material); });
    for (const Line& line : sheet_.lines)
        catalogue.lineSystems << line.system;
    undo_.push(new SetCatalogue(*this, catalogue, QStringLiteral("материалы")));
}

void SheetModel::editSystems(const QList<PaintSystem>& systems) {
    if (systems == sheet_.systems)
        return;
    const QList<PaintSystem> identified = identifiedAfter(sheet_.systems, systems);
    // A line keeps its system, renamed or not, while it remains, and has none once it is gone.
    Catalogue catalogue{sheet_.materials, identified, {}};
    for (const Line& line : sheet_.lines)
        catalogue.lineSystems << (systemOf(identified, line.system) ? line.system : 0);
    undo_.push(new SetCatalogue(*this, catalogue, QStringLiteral("системы окраски")));
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
    return LineFigures::of(line, systemOf(sheet_.systems, line.system), rates_);
}

void SheetModel::markWalls(const Line& line) {
    if (line.kind == LineKind::Walls || openingOf(line.calculator) != Opening::None)
        unsettledWalls_.insert(line.room);
}

void SheetModel::settleWalls(bool tell) {
    if (unsettledWalls_.isEmpty())
        return;
    // One pass over the sheet however many rooms changed; only openings and walls are looked at.
    QHash<QString, Openings> openings;
    QList<int> walls;
    // Mostly one room changed: a comparison of names is cheaper than hashing them.
    const std::optional<QString> only =
        unsettledWalls_.size() == 1 ? std::optional(*unsettledWalls_.begin()) : std::nullopt;
    const auto unsettled = [&](const QString& room) {
        return only ? room == *only : unsettledWalls_.contains(room);
    };
    for (qsizetype row = 0; row < sheet_.lines.size(); ++row) {
        const Line& line = sheet_.lines[row];
        if (line.kind == LineKind::Walls) {
            if (unsettled(line.room))
                walls << int(row);
        } else if (line.deduct && unsettled(line.room)) {
            openings[line.room].add(line);
        }
    }
    unsettledWalls_.clear();
    for (int row : walls) {
        Line& line = sheet_.lines[row];
        const Line before = line;
        workOutWalls(line, openings.value(line.room), separator_);
        if (line == before)
            continue;
        totals_.remove(before, figures_[std::size_t(row)]);
        figures_[std::size_t(row)] = figuresOf(line);
        totals_.add(line, figures_[std::size_t(row)]);
        if (tell)
            emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    }
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
            markWalls(line);
        }
        endInsertRows();
    }
    settleWalls();
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
            markWalls(sheet_.lines[row]);
        }
        const QList<Line> block = sheet_.lines.mid(first, last - first + 1);
        taken = block + taken;
        sheet_.lines.remove(first, last - first + 1);
        figures_.erase(figures_.begin() + first, figures_.begin() + last + 1);
        endRemoveRows();
    }
    settleWalls();
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
    Line line = sheet_.lines[row];
    switch (column) {
    case Column::Room:
        line.room = value.toString();
        break;
    case Column::Element:
        line.element = value.toString();
        break;
    case Column::Unit:
        line.unit = value.toString();
        break;
    case Column::Count:
        line.count = value.toInt();
        break;
    case Column::System:
        line.system = value.toInt();
        break;
    case Column::Deduct:
        line.deduct = value.toBool();
        break;
    case Column::Price:
        line.price = value.toString();
        break;
    case Column::Code:
        line.code = value.toString();
        break;
    default:
        return;
    }
    replaceLine(row, line);
}

void SheetModel::replaceLine(int row, const Line& line) {
    Line& old = sheet_.lines[row];
    // The old figures leave the totals under the old room and system, the new ones join them
    // under the new.
    totals_.remove(old, figures_[std::size_t(row)]);
    countRoom(old.room, -1);
    markWalls(old);
    old = line;
    countRoom(line.room, +1);
    markWalls(line);
    figures_[std::size_t(row)] = figuresOf(line);
    totals_.add(line, figures_[std::size_t(row)]);
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    settleWalls();
    emit changed();
}

void SheetModel::setCatalogue(const Catalogue& catalogue) {
    refigure(catalogue);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
    emit changed();
}

void SheetModel::setProperties(const SheetProperties& properties) {
    if (!(properties == sheet_.properties))
        undo_.push(new SetSheetValue(*this, &Sheet::properties, properties,
                                     QStringLiteral("свойства документа")));
}

void SheetModel::refigure(const Catalogue& catalogue) {
    sheet_.materials = catalogue.materials;
    sheet_.systems = catalogue.systems;
    rates_ = ratesOf(catalogue.materials);
    totals_.clear();
    figures_.clear();

    figures_.reserve(std::size_t(sheet_.lines.size()));
    for (qsizetype i = 0; i < sheet_.lines.size(); ++i) {
        Line& line = sheet_.lines[i];
        if (i < catalogue.lineSystems.size())
            line.system = catalogue.lineSystems[i];
        figures_.push_back(figuresOf(line));
        totals_.add(line, figures_.back());
    }
}

void SheetModel::resetSheet(Sheet sheet) {
    undo_.clear();
    beginResetModel();
    Catalogue catalogue{sheet.materials, sheet.systems, {}};
    for (const Line& line : sheet.lines)
        catalogue.lineSystems << line.system;
    sheet_ = std::move(sheet);
    roomLines_.clear();
    rooms_.reset();
    for (const Line& line : sheet_.lines) {
        countRoom(line.room, +1);
        markWalls(line); // a file's walls are worked out again, not taken on trust
    }
    refigure(catalogue);
    settleWalls(false);
    endResetModel();
    emit changed();
}

} // namespace velaro
