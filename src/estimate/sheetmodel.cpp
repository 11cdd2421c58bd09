#include "estimate/sheetmodel.h"

#include "estimate/sheeteditor.h"

#include <QBrush>
#include <QColor>

namespace velaro {
namespace {

// A quantity the estimator typed below zero: taken off the totals.
bool isNegative(const Line& line) {
    const auto result = Decimal::parse(line.result);
    return result && result->isNegative();
}

} // namespace

SheetModel::SheetModel(const Estimate& estimate, SheetEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), estimate_(estimate), editor_(editor) {
    connect(&estimate, &Estimate::linesAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&estimate, &Estimate::linesInserted, this, [this] { endInsertRows(); });
    connect(&estimate, &Estimate::linesAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&estimate, &Estimate::linesRemoved, this, [this] { endRemoveRows(); });
    connect(&estimate, &Estimate::linesAboutToBeMoved, this,
            [this](int first, int last, int destination) {
                beginMoveRows({}, first, last, {}, destination);
            });
    connect(&estimate, &Estimate::linesMoved, this, [this] { endMoveRows(); });
    connect(&estimate, &Estimate::linesChanged, this, [this](int first, int last) {
        emit dataChanged(index(first, 0), index(last, kColumnCount - 1));
    });
    connect(&estimate, &Estimate::aboutToBeReset, this, [this] { beginResetModel(); });
    connect(&estimate, &Estimate::wasReset, this, [this] { endResetModel(); });
}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(estimate_.lineCount());
}

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Column column = Column(index.column());
    const Line& line = estimate_.sheet().lines[index.row()];
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
        return cellText(line, estimate_.figures()[std::size_t(index.row())], column, estimate_.separator(), estimate_.sheet());
    case Qt::ToolTipRole:
        if (column == Column::Area && openingsExceedWalls(line))
            return line.formula.section(QStringLiteral(": "), -1);
        if (column == Column::Area && isNegative(line))
            return QStringLiteral("Отрицательное количество вычитается из итогов");
        if (column == Column::System)
            if (const PaintSystem* system = systemOf(estimate_.sheet().systems, line.system))
                return system->layersText(estimate_.sheet().materials);
        return cellText(line, estimate_.figures()[std::size_t(index.row())], column, estimate_.separator(), estimate_.sheet());
    case Qt::CheckStateRole:
        if (column == Column::Deduct && openingOf(line.calculator) != Opening::None)
            return line.deduct ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return int((isFigureColumn(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // Walls left at zero by their openings, and a quantity taken off the totals, stand out.
        if (column == Column::Area && (openingsExceedWalls(line) || isNegative(line)))
            return QBrush(QColor(0xff, 0xe0, 0xb2));
        return {};
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
    switch (editingOf(estimate_.sheet().lines[index.row()], Column(index.column()))) {
    case Editing::Text:
        return flags | Qt::ItemIsEditable;
    case Editing::Check:
        return flags | Qt::ItemIsUserCheckable;
    case Editing::None:
        break;
    }
    return flags;
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const Column column = Column(index.column());
    if (role != (column == Column::Deduct ? Qt::CheckStateRole : Qt::EditRole))
        return false;
    return editor_.setCell(index.row(), column, value);
}

} // namespace velaro
