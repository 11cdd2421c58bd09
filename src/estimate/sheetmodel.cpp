#include "estimate/sheetmodel.h"

#include "estimate/export.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

namespace velaro {
namespace {

class AddLine final : public QUndoCommand {
  public:
    AddLine(SheetModel& model, Line line, QString lastRoomBefore)
        : QUndoCommand(QStringLiteral("запись расчёта")), model_(model), line_(std::move(line)),
          row_(model.rowCount()), lastRoomBefore_(std::move(lastRoomBefore)) {}
    void redo() override { model_.insertLineAt(row_, line_); }
    void undo() override {
        model_.takeLineAt(row_);
        model_.setLastRoom(lastRoomBefore_);
    }

  private:
    SheetModel& model_;
    Line line_;
    int row_;
    QString lastRoomBefore_;
};

class RemoveLines final : public QUndoCommand {
  public:
    RemoveLines(SheetModel& model, QList<int> rows)
        : QUndoCommand(QStringLiteral("удаление строк")), model_(model), rows_(std::move(rows)) {
        std::sort(rows_.begin(), rows_.end());
        rows_.erase(std::unique(rows_.begin(), rows_.end()), rows_.end());
    }
    void redo() override {
        lines_.clear();
        for (auto row = rows_.rbegin(); row != rows_.rend(); ++row)
            lines_.prepend(model_.takeLineAt(*row));
    }
    void undo() override {
        for (qsizetype i = 0; i < rows_.size(); ++i)
            model_.insertLineAt(rows_[i], lines_[i]);
    }

  private:
    SheetModel& model_;
    QList<int> rows_;
    QList<Line> lines_;
};

class SetCell final : public QUndoCommand {
  public:
    SetCell(SheetModel& model, int row, Column column, QVariant before, QVariant after,
            QString lastRoomBefore)
        : QUndoCommand(QStringLiteral("изменение: %1").arg(columnTitle(column).toLower())),
          model_(model), row_(row), column_(column), before_(std::move(before)),
          after_(std::move(after)), lastRoomBefore_(std::move(lastRoomBefore)) {}
    void redo() override {
        model_.setCell(row_, column_, after_);
        if (column_ == Column::Room)
            model_.setLastRoom(after_.toString());
    }
    void undo() override {
        model_.setCell(row_, column_, before_);
        if (column_ == Column::Room)
            model_.setLastRoom(lastRoomBefore_);
    }

  private:
    SheetModel& model_;
    int row_;
    Column column_;
    QVariant before_, after_;
    QString lastRoomBefore_;
};

class MoveLine final : public QUndoCommand {
  public:
    MoveLine(SheetModel& model, int row, int delta)
        : QUndoCommand(delta < 0 ? QStringLiteral("строка вверх") : QStringLiteral("строка вниз")),
          model_(model), first_(std::min(row, row + delta)), second_(std::max(row, row + delta)) {}
    void redo() override { model_.swapLines(first_, second_); }
    void undo() override { model_.swapLines(first_, second_); }

  private:
    SheetModel& model_;
    int first_, second_;
};

class SetMaterials final : public QUndoCommand {
  public:
    SetMaterials(SheetModel& model, QList<Material> after, QList<int> lineMaterialsAfter)
        : QUndoCommand(QStringLiteral("материалы")), model_(model),
          before_(model.sheet().materials), after_(std::move(after)),
          lineMaterialsAfter_(std::move(lineMaterialsAfter)) {
        for (const Line& line : model.sheet().lines)
            lineMaterialsBefore_ << line.material;
    }
    void redo() override { model_.setMaterials(after_, lineMaterialsAfter_); }
    void undo() override { model_.setMaterials(before_, lineMaterialsBefore_); }

  private:
    SheetModel& model_;
    QList<Material> before_, after_;
    QList<int> lineMaterialsBefore_, lineMaterialsAfter_;
};

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
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Column column = Column(index.column());
    const Line& line = sheet_.lines[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cellText(line, figures_[std::size_t(index.row())], index.row(), column, separator_,
                        rates_, sheet_.materials);
    case Qt::EditRole:
        if (column == Column::Count)
            return line.count;
        return cellText(line, figures_[std::size_t(index.row())], index.row(), column, separator_,
                        rates_, sheet_.materials);
    case Qt::TextAlignmentRole:
        if (column == Column::Number || column == Column::Count || column == Column::Area ||
            column == Column::Paint)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kColumnCount)
        return columnTitle(Column(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const Column column = Column(index.column());
    if (column == Column::Room || column == Column::Count || column == Column::Material)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
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
    undo_.push(new SetCell(*this, index.row(), column, before, after, sheet_.lastRoom));
    return true;
}

SheetView SheetModel::view() const {
    return SheetView{sheet_, figures_, totals_, rates_, separator_};
}

void SheetModel::addLine(Line line) {
    line.room = sheet_.lastRoom;
    undo_.push(new AddLine(*this, std::move(line), sheet_.lastRoom));
}

void SheetModel::removeLines(QList<int> rows) {
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int row) { return row < 0 || row >= rowCount(); }),
               rows.end());
    if (!rows.isEmpty())
        undo_.push(new RemoveLines(*this, std::move(rows)));
}

void SheetModel::moveLine(int row, int delta) {
    if (row >= 0 && row < rowCount() && row + delta >= 0 && row + delta < rowCount() && delta)
        undo_.push(new MoveLine(*this, row, delta));
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

void SheetModel::insertLineAt(int row, const Line& line) {
    beginInsertRows({}, row, row);
    sheet_.lines.insert(row, line);
    const auto rates = rates_.find(line.material);
    figures_.insert(figures_.begin() + row,
                    LineFigures::of(line, rates == rates_.end() ? nullptr : &*rates));
    totals_.add(line, figures_[std::size_t(row)]);
    endInsertRows();
    // The numbers of the lines below move.
    if (row + 1 < rowCount())
        emit dataChanged(index(row + 1, 0), index(rowCount() - 1, 0));
    emit changed();
}

Line SheetModel::takeLineAt(int row) {
    beginRemoveRows({}, row, row);
    totals_.remove(sheet_.lines[row], figures_[std::size_t(row)]);
    Line line = sheet_.lines.takeAt(row);
    figures_.erase(figures_.begin() + row);
    endRemoveRows();
    if (row < rowCount())
        emit dataChanged(index(row, 0), index(rowCount() - 1, 0));
    emit changed();
    return line;
}

void SheetModel::setCell(int row, Column column, const QVariant& value) {
    Line& line = sheet_.lines[row];
    // The old figures leave the totals under the old room and material, the new ones join them
    // under the new.
    totals_.remove(line, figures_[std::size_t(row)]);
    if (column == Column::Room)
        line.room = value.toString();
    else if (column == Column::Count)
        line.count = value.toInt();
    else if (column == Column::Material)
        line.material = value.toInt();
    const auto rates = rates_.find(line.material);
    figures_[std::size_t(row)] = LineFigures::of(line, rates == rates_.end() ? nullptr : &*rates);
    totals_.add(line, figures_[std::size_t(row)]);
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    emit changed();
}

void SheetModel::swapLines(int first, int second) {
    std::swap(sheet_.lines[first], sheet_.lines[second]);
    std::swap(figures_[std::size_t(first)], figures_[std::size_t(second)]);
    emit dataChanged(index(first, 0), index(second, kColumnCount - 1));
    emit changed();
}

void SheetModel::setMaterials(const QList<Material>& materials, const QList<int>& lineMaterials) {
    beginResetModel();
    sheet_.materials = materials;
    rates_ = ratesOf(materials);
    totals_.clear();
    figures_.clear();
    figures_.reserve(std::size_t(sheet_.lines.size()));
    for (qsizetype i = 0; i < sheet_.lines.size(); ++i) {
        Line& line = sheet_.lines[i];
        if (i < lineMaterials.size())
            line.material = lineMaterials[i];
        const auto rates = rates_.find(line.material);
        figures_.push_back(LineFigures::of(line, rates == rates_.end() ? nullptr : &*rates));
        totals_.add(line, figures_.back());
    }
    endResetModel();
    emit changed();
}

void SheetModel::setLastRoom(const QString& room) {
    sheet_.lastRoom = room;
}

void SheetModel::resetSheet(Sheet sheet) {
    undo_.clear();
    QList<int> lineMaterials;
    for (const Line& line : sheet.lines)
        lineMaterials << line.material;
    const QList<Material> materials = sheet.materials;
    sheet_ = std::move(sheet);
    setMaterials(materials, lineMaterials);
}

} // namespace velaro
