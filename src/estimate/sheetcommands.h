#pragma once
// The sheet's edits as undo commands, each undoing to the sheet before it. They change the sheet
// only through SheetModel's primitives.

#include "estimate/columns.h"
#include "estimate/sheetmodel.h"

#include <QUndoCommand>
#include <QVariant>

namespace velaro {


class AddLines final : public QUndoCommand {
  public:
    // At the end, or from `row` on.
    AddLines(SheetModel& model, QList<Line> lines, const QString& text, int row = -1);
    void redo() override;
    void undo() override;

  private:
    SheetModel& model_;
    QList<Line> lines_;
    QList<int> rows_;
};

class RemoveLines final : public QUndoCommand {
  public:
    RemoveLines(SheetModel& model, QList<int> rows); // rows ascending, without repeats
    void redo() override;
    void undo() override;

  private:
    SheetModel& model_;
    QList<int> rows_;
    QList<Line> lines_;
};

class SetCell final : public QUndoCommand {
  public:
    SetCell(SheetModel& model, int row, Column column, QVariant before, QVariant after);
    void redo() override;
    void undo() override;

  private:
    SheetModel& model_;
    int row_;
    Column column_;
    QVariant before_, after_;
};

class MoveLines final : public QUndoCommand {
  public:
    // rows ascending; none at the edge the lines move towards.
    MoveLines(SheetModel& model, QList<int> rows, int delta);
    void redo() override { move(rows_, delta_); }
    void undo() override;

  private:
    void move(const QList<int>& rows, int delta);

    SheetModel& model_;
    QList<int> rows_;
    int delta_;
};

class ReplaceLine final : public QUndoCommand {
  public:
    ReplaceLine(SheetModel& model, int row, Line after, const QString& text);
    void redo() override;
    void undo() override;

  private:
    SheetModel& model_;
    int row_;
    Line before_, after_;
};

// The materials and paint systems, and the system of each line under them.
struct Catalogue {
    QList<Material> materials;
    QList<PaintSystem> systems;
    QList<int> lineSystems;
};

class SetCatalogue final : public QUndoCommand {
  public:
    SetCatalogue(SheetModel& model, Catalogue after, const QString& text);
    void redo() override;
    void undo() override;

  private:
    SheetModel& model_;
    Catalogue before_, after_;
};

// A setting of the whole sheet, such as its VAT rate or its properties: one member of Sheet.
template <class Value> class SetSheetValue final : public QUndoCommand {
  public:
    SetSheetValue(SheetModel& model, Value Sheet::*member, Value after, const QString& text)
        : QUndoCommand(text), model_(model), member_(member), before_(model.sheet().*member),
          after_(std::move(after)) {}
    void redo() override { model_.setSheetValue(member_, after_); }
    void undo() override { model_.setSheetValue(member_, before_); }

  private:
    SheetModel& model_;
    Value Sheet::*member_;
    Value before_, after_;
};

// Runs of consecutive rows in ascending rows: {first, last} pairs.
QList<std::pair<int, int>> runsOf(const QList<int>& rows);

} // namespace velaro
