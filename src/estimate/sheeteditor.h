#pragma once
// The only writer of the estimate: every edit from the window, the dialogs, the document and the
// tests is one of these, and each is one step on the undo stack. Edits that would break what a
// sheet holds are refused: lines past kMaxLines (said in words), a cell typed wrong (false).

#include "estimate/estimate.h"

#include <memory>
#include <optional>

class QUndoCommand;
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
    // Lines from another sheet or this one, from `row` on, with the systems they name and those
    // systems' materials as the sheet they came from holds them: a system is the sheet's own of
    // that name where it has one, and joins the sheet otherwise, all in one step.
    QString insertLines(int row, QList<Line> lines, const QList<PaintSystem>& systems,
                        const QList<Material>& materials, const QString& text);
    QString duplicateLines(QList<int> rows); // copies of the lines at the end, in order
    // `copies` copies of the rooms with all their lines (walls, ceiling, openings, a door between
    // two of them), named from `pattern` (see repeatedRoomName) numbered from `firstNumber`,
    // after the rooms' last line, in one step; empty where done, else why not.
    QString repeatRooms(const QStringList& rooms, const QString& pattern, int firstNumber,
                        int copies);
    // The room's walls, ceiling and reveals lines for its size and the openings measured with
    // it, added after its last line or updated (keeping their count, system and price), a
    // ceiling or reveals it no longer gives removed, in one step.
    QString setRoomSize(const QString& room, const RoomSize& size);
    // A window or door line given its opening's width and height instead of its area: its
    // calculator's rule run again on the area W × H, the walls following, in one step; empty
    // where done, else why not.
    QString setOpeningSize(int row, const QString& width, const QString& height);
    void removeLines(QList<int> rows);
    void cutLines(QList<int> rows); // as removing, named as the estimator did it
    // One row up (-1) or down (+1), each line keeping its place among the others; false where
    // a line is at the edge already, and nothing moves.
    bool moveLines(QList<int> rows, int delta);
    // A cell typed in the table: false, changing nothing, where the value does not fit it.
    bool setCell(int row, Column column, const QVariant& value);
    // One value typed for the cells of several lines, in one step; lines whose cell is not
    // edited in the table are left as they are. False, changing nothing, where the value does
    // not fit the column.
    bool setCells(QList<int> rows, Column column, const QVariant& value);
    void assignSystem(QList<int> rows, int system);
    void editMaterials(const QList<Material>& materials);
    // New systems get the next free ids; lines keep a system that remains.
    void editSystems(const QList<PaintSystem>& systems);
    // With materials a template brought: layers name them by negative ids (-1 the first), and
    // they join the sheet's materials in the same step.
    void editSystems(const QList<PaintSystem>& systems, const QList<Material>& brought);
    // Materials and systems from a firm's catalogue (their ids as the sheet's lists give them:
    // kept where they replace the sheet's own), and the catalogue they came from, in one step
    // named `text`; lines keep their systems.
    void takeFromCatalogue(const QList<Material>& materials, const QList<PaintSystem>& systems,
                           const QString& catalogue, const QString& text);
    void setVatRate(const QString& rate);
    // Overhead («НР») and profit («СП») as % of the work, empty for none: refused, changing
    // nothing, where not a percentage (percentProblem); empty where taken.
    QString setOverheadRate(const QString& rate);
    QString setProfitRate(const QString& rate);
    void setProperties(const SheetProperties& properties);
    // Settings of the sheet that are not edits of its lines: kept in its file, not undone.
    void setRecording(bool on);
    void setCurrentRoom(const QString& room);
    // Replaces the whole sheet (opening, a new sheet); the undo history starts again.
    void reset(Sheet sheet);

  private:
    QString setRate(QString Sheet::*member, const QString& rate, const QString& text);
    // The step a cell typed in the table takes: nullopt where the value does not fit it, a null
    // step where it changes nothing.
    std::optional<std::unique_ptr<QUndoCommand>> cellChange(int row, Column column,
                                                            const QVariant& value) const;

    Estimate& estimate_;
    QUndoStack& undo_;
};

} // namespace velaro
