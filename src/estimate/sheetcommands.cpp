#include "estimate/sheetcommands.h"

#include <algorithm>

namespace velaro {

AddLines::AddLines(Estimate& estimate, QList<Line> lines, const QString& text, int row)
    : QUndoCommand(text), estimate_(estimate), lines_{std::move(lines), {}, 0} {
    const int first = row < 0 ? estimate.lineCount() : row;
    for (qsizetype i = 0; i < lines_.lines.size(); ++i)
        rows_ << first + int(i);
}

// The lines are handed to the estimate and taken back: a step holds them only while they are
// out of the sheet.
void AddLines::redo() {
    estimate_.insertLines(rows_, std::move(lines_));
}

void AddLines::undo() {
    lines_ = estimate_.takeLines(rows_);
}

RemoveLines::RemoveLines(Estimate& estimate, QList<int> rows)
    : QUndoCommand(QStringLiteral("удаление строк")), estimate_(estimate), rows_(std::move(rows)) {}

void RemoveLines::redo() {
    lines_ = estimate_.takeLines(rows_);
}

void RemoveLines::undo() {
    estimate_.insertLines(rows_, std::move(lines_));
}

SetCell::SetCell(Estimate& estimate, int row, Column column, QVariant before, QVariant after)
    : QUndoCommand(QStringLiteral("изменение: %1").arg(columnTitle(column).toLower())),
      estimate_(estimate), row_(row), column_(column), before_(std::move(before)),
      after_(std::move(after)) {}

namespace {

// The line with one cell set.
Line withCell(Line line, Column column, const QVariant& value) {
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
    case Column::AdjacentRoom:
        line.adjacentRoom = value.toString();
        break;
    default:
        break;
    }
    return line;
}

} // namespace

void SetCell::redo() {
    estimate_.replaceLine(row_, withCell(estimate_.sheet().lines[row_], column_, after_));
}

void SetCell::undo() {
    estimate_.replaceLine(row_, withCell(estimate_.sheet().lines[row_], column_, before_));
}

MoveLines::MoveLines(Estimate& estimate, QList<int> rows, int delta)
    : QUndoCommand(delta < 0 ? QStringLiteral("строки вверх") : QStringLiteral("строки вниз")),
      estimate_(estimate), rows_(std::move(rows)), delta_(delta) {}

void MoveLines::move(const QList<int>& rows, int delta) {
    // Upwards from the top run, downwards from the bottom one: no run lands on another.
    auto runs = runsOf(rows);
    if (delta > 0)
        std::reverse(runs.begin(), runs.end());
    for (const auto& [first, last] : runs)
        estimate_.moveBlock(first, last, delta);
}

void MoveLines::undo() {
    QList<int> moved;
    for (int row : rows_)
        moved << row + delta_;
    move(moved, -delta_);
}

ReplaceLine::ReplaceLine(Estimate& estimate, int row, Line after, const QString& text)
    : QUndoCommand(text), estimate_(estimate), row_(row), before_(estimate.sheet().lines[row]),
      after_(std::move(after)) {}

void ReplaceLine::redo() {
    estimate_.replaceLine(row_, after_);
}

void ReplaceLine::undo() {
    estimate_.replaceLine(row_, before_);
}

SetCatalogue::SetCatalogue(Estimate& estimate, Catalogue after, const QString& text)
    : QUndoCommand(text),
      estimate_(estimate), before_{estimate.sheet().materials, estimate.sheet().systems, {}},
      after_(std::move(after)) {
    for (const Line& line : estimate.sheet().lines)
        before_.lineSystems << line.system;
}

void SetCatalogue::redo() {
    estimate_.setCatalogue(after_);
}

void SetCatalogue::undo() {
    estimate_.setCatalogue(before_);
}

} // namespace velaro
