#include "estimate/sheetcommands.h"

#include "estimate/sheetmodel.h"

#include <algorithm>

namespace velaro {

QList<std::pair<int, int>> runsOf(const QList<int>& rows) {
    QList<std::pair<int, int>> runs;
    for (int row : rows) {
        if (!runs.isEmpty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.append({row, row});
    }
    return runs;
}

AddLines::AddLines(SheetModel& model, QList<Line> lines, const QString& text, int row)
    : QUndoCommand(text), model_(model), lines_(std::move(lines)) {
    const int first = row < 0 ? model.rowCount() : row;
    for (qsizetype i = 0; i < lines_.size(); ++i)
        rows_ << first + int(i);
}

void AddLines::redo() {
    model_.insertLines(rows_, lines_);
}

void AddLines::undo() {
    model_.takeLines(rows_);
}

RemoveLines::RemoveLines(SheetModel& model, QList<int> rows)
    : QUndoCommand(QStringLiteral("удаление строк")), model_(model), rows_(std::move(rows)) {}

void RemoveLines::redo() {
    lines_ = model_.takeLines(rows_);
}

void RemoveLines::undo() {
    model_.insertLines(rows_, lines_);
}

SetCell::SetCell(SheetModel& model, int row, Column column, QVariant before, QVariant after)
    : QUndoCommand(QStringLiteral("изменение: %1").arg(columnTitle(column).toLower())),
      model_(model), row_(row), column_(column), before_(std::move(before)),
      after_(std::move(after)) {}

void SetCell::redo() {
    model_.setCell(row_, column_, after_);
}

void SetCell::undo() {
    model_.setCell(row_, column_, before_);
}

MoveLines::MoveLines(SheetModel& model, QList<int> rows, int delta)
    : QUndoCommand(delta < 0 ? QStringLiteral("строки вверх") : QStringLiteral("строки вниз")),
      model_(model), rows_(std::move(rows)), delta_(delta) {}

void MoveLines::move(const QList<int>& rows, int delta) {
    // Upwards from the top run, downwards from the bottom one: no run lands on another.
    auto runs = runsOf(rows);
    if (delta > 0)
        std::reverse(runs.begin(), runs.end());
    for (const auto& [first, last] : runs)
        model_.moveBlock(first, last, delta);
}

void MoveLines::undo() {
    QList<int> moved;
    for (int row : rows_)
        moved << row + delta_;
    move(moved, -delta_);
}

ReplaceLine::ReplaceLine(SheetModel& model, int row, Line after, const QString& text)
    : QUndoCommand(text), model_(model), row_(row), before_(model.sheet().lines[row]),
      after_(std::move(after)) {}

void ReplaceLine::redo() {
    model_.replaceLine(row_, after_);
}

void ReplaceLine::undo() {
    model_.replaceLine(row_, before_);
}

SetCatalogue::SetCatalogue(SheetModel& model, Catalogue after, const QString& text)
    : QUndoCommand(text), model_(model),
      before_{model.sheet().materials, model.sheet().systems, {}}, after_(std::move(after)) {
    for (const Line& line : model.sheet().lines)
        before_.lineSystems << line.system;
}

void SetCatalogue::redo() {
    model_.setCatalogue(after_);
}

void SetCatalogue::undo() {
    model_.setCatalogue(before_);
}

} // namespace velaro
