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

AddLines::AddLines(SheetModel& model, QList<Line> lines, const QString& text)
    : QUndoCommand(text), model_(model), lines_(std::move(lines)) {
    for (qsizetype i = 0; i < lines_.size(); ++i)
        rows_ << model.rowCount() + int(i);
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

SetMaterials::SetMaterials(SheetModel& model, QList<Material> after, QList<int> lineMaterialsAfter)
    : QUndoCommand(QStringLiteral("материалы")), model_(model), before_(model.sheet().materials),
      after_(std::move(after)), lineMaterialsAfter_(std::move(lineMaterialsAfter)) {
    for (const Line& line : model.sheet().lines)
        lineMaterialsBefore_ << line.material;
}

void SetMaterials::redo() {
    model_.setMaterials(after_, lineMaterialsAfter_);
}

void SetMaterials::undo() {
    model_.setMaterials(before_, lineMaterialsBefore_);
}

} // namespace velaro
