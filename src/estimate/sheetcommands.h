#pragma once
// The sheet's edits as undo commands, each undoing to the sheet before it. They change the
// estimate only through its primitives; SheetEditor makes them.

#include "estimate/estimate.h"

#include <QUndoCommand>
#include <QVariant>

namespace velaro {

class AddLines final : public QUndoCommand {
  public:
    // At the end, or from `row` on.
    AddLines(Estimate& estimate, QList<Line> lines, const QString& text, int row = -1);
    void redo() override;
    void undo() override;

  private:
    Estimate& estimate_;
    Estimate::LinesOut lines_;
    QList<int> rows_;
};

class RemoveLines final : public QUndoCommand {
  public:
    RemoveLines(Estimate& estimate, QList<int> rows); // rows ascending, without repeats
    void redo() override;
    void undo() override;

  private:
    Estimate& estimate_;
    QList<int> rows_;
    Estimate::LinesOut lines_;
};

class SetCell final : public QUndoCommand {
  public:
    SetCell(Estimate& estimate, int row, Column column, QVariant before, QVariant after);
    void redo() override;
    void undo() override;

  private:
    Estimate& estimate_;
    int row_;
    Column column_;
    QVariant before_, after_;
};

class MoveLines final : public QUndoCommand {
  public:
    // rows ascending; none at the edge the lines move towards.
    MoveLines(Estimate& estimate, QList<int> rows, int delta);
    void redo() override { move(rows_, delta_); }
    void undo() override;

  private:
    void move(const QList<int>& rows, int delta);

    Estimate& estimate_;
    QList<int> rows_;
    int delta_;
};

class ReplaceLine final : public QUndoCommand {
  public:
    ReplaceLine(Estimate& estimate, int row, Line after, const QString& text);
    void redo() override;
    void undo() override;

  private:
    Estimate& estimate_;
    int row_;
    Line before_, after_;
};

class SetCatalogue final : public QUndoCommand {
  public:
    SetCatalogue(Estimate& estimate, Catalogue after, const QString& text);
    void redo() override;
    void undo() override;

  private:
    Estimate& estimate_;
    Catalogue before_, after_;
};

// A setting of the whole sheet, such as its VAT rate or its properties: one member of Sheet.
template <class Value> class SetSheetValue final : public QUndoCommand {
  public:
    SetSheetValue(Estimate& estimate, Value Sheet::*member, Value after, const QString& text)
        : QUndoCommand(text), estimate_(estimate), member_(member),
          before_(estimate.sheet().*member), after_(std::move(after)) {}
    void redo() override { estimate_.setSheetValue(member_, after_); }
    void undo() override { estimate_.setSheetValue(member_, before_); }

  private:
    Estimate& estimate_;
    Value Sheet::*member_;
    Value before_, after_;
};

} // namespace velaro
