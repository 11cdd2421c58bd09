#pragma once
// The only writer of the estimate: every edit from the window, the dialogs, the document and the
// tests is one of these, and each is one step on the undo stack. Edits that would break what a
// sheet holds are refused: lines past kMaxLines (said in words), a cell typed wrong (false).

#include "estimate/estimate.h"

class QUndoStack;

namespace velaro {

class SheetEditor {
  public:
    SheetEditor(Estimate& estimate, QUndoStack& undo);

    const Estimate& estimate() const { return estimate_; }

    // Each way lines come in holds the sheet to kMaxLines: where they would not fit, nothing
    // changes and the answer says why; empty where they were added.
    QString addLine(Line line); // at the end, in the current room
    // Lines as they are, from `row` on, in one step.
    QString insertLines(int row, const QList<Line>& lines,
                        const QString& text = QStringLiteral("вставка строк"));
    QString duplicateLines(QList<int> rows); // copies of the lines at the end, in order
    // The room's walls and ceiling lines for its size, added after its last line or updated
    // (keeping their count, system and price), in one step.
    QString setRoomSize(const QString& room, const RoomSize& size);
    void removeLines(QList<int> rows);
    // One row up (-1) or down (+1), each line keeping its place among the others; false where
    // a line is at the edge already, and nothing moves.
    bool moveLines(QList<int> rows, int delta);
    // A cell typed in the table: false, changing nothing, where the value does not fit it.
    bool setCell(int row, Column column, const QVariant& value);
    void assignSystem(QList<int> rows, int system);
    void editMaterials(const QList<Material>& materials);
    // New systems get the next free ids; lines keep a system that remains.
    void editSystems(const QList<PaintSystem>& systems);
    // With materials a template brought: layers name them by negative ids (-1 the first), and
    // they join the sheet's materials in the same step.
    void editSystems(const QList<PaintSystem>& systems, const QList<Material>& brought);
    void setVatRate(const QString& rate);
    void setProperties(const SheetProperties& properties);
    // Settings of the sheet that are not edits of its lines: kept in its file, not undone.
    void setRecording(bool on);
    void setCurrentRoom(const QString& room);
    // Replaces the whole sheet (opening, a new sheet); the undo history starts again.
    void reset(Sheet sheet);

  private:
    Estimate& estimate_;
    QUndoStack& undo_;
};

} // namespace velaro
