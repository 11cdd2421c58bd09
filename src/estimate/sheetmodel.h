#pragma once
// The sheet as a table model, one row per line; the views number the lines in their vertical
// header. Every edit goes through the undo stack as a command (sheetcommands); the commands
// change the sheet through the primitives below, which keep the per-line figures and the totals
// up to date line by line and tell the views of each block inserted, removed or moved.

#include "estimate/columns.h"
#include "estimate/rooms.h"

#include <QSet>

#include <QAbstractTableModel>

#include <optional>
#include <vector>

class QUndoStack;

namespace velaro {

struct Catalogue;
struct SheetView;

class SheetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    SheetModel(QUndoStack& undo, QChar decimalSeparator, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const Sheet& sheet() const { return sheet_; }
    const Totals& totals() const { return totals_; }
    const std::vector<LineFigures>& figures() const { return figures_; }
    const RatesById& rates() const { return rates_; }
    QChar separator() const { return separator_; }
    SheetView view() const;
    // The rooms of the lines, in the order they first appear.
    QStringList rooms() const;

    // Edits as commands on the undo stack.
    // Each way lines come in holds the sheet to kMaxLines: where they would not fit, nothing
    // changes and the answer says why; empty where they were added.
    QString addLine(Line line); // at the end, in the current room
    // The room's walls and ceiling lines for its size, added after its last line or updated
    // (keeping their count, system and price), in one step.
    QString setRoomSize(const QString& room, const RoomSize& size);
    // The room's first line of that kind, or -1.
    int rowOf(const QString& room, LineKind kind) const;
    int wallsRow(const QString& room) const { return rowOf(room, LineKind::Walls); }
    void assignSystem(QList<int> rows, int system);
    void setVatRate(const QString& rate);
    void setProperties(const SheetProperties& properties);
    QString duplicateLines(QList<int> rows); // copies of the lines at the end, in order
    // Why `count` more lines would not fit, or empty where they do.
    QString refusalToAdd(qsizetype count) const;
    void removeLines(QList<int> rows);
    // One row up (-1) or down (+1), each line keeping its place among the others; false where
    // a line is at the edge already, and nothing moves.
    bool moveLines(QList<int> rows, int delta);
    void editMaterials(const QList<Material>& materials);
    // New systems get the next free ids; lines keep a system that remains.
    void editSystems(const QList<PaintSystem>& systems);
    // Settings of the sheet that are not edits of its lines: kept in its file, not undone.
    void setRecording(bool on);
    void setCurrentRoom(const QString& room);

    // The primitives the commands use. Rows ascending: where lines go (their rows once
    // inserted), or which lines to take.
    void insertLines(const QList<int>& rows, const QList<Line>& lines);
    QList<Line> takeLines(const QList<int>& rows);
    void insertLineAt(int row, const Line& line) { insertLines({row}, {line}); }
    Line takeLineAt(int row) { return takeLines({row}).front(); }
    void moveBlock(int first, int last, int delta);
    void setCell(int row, Column column, const QVariant& value);
    void replaceLine(int row, const Line& line);
    void setCatalogue(const Catalogue& catalogue);
    template <class Value> void setSheetValue(Value Sheet::*member, const Value& value) {
        sheet_.*member = value;
        emit changed();
    }

    // Replaces the whole sheet (opening, a new sheet); the undo history starts again.
    void resetSheet(Sheet sheet);

  signals:
    // Anything in the sheet changed: the totals and the recovery file follow.
    void changed();
    // A room's deducted openings came to more than its walls, which are left at zero.
    void openingsExceedWallsOf(const QString& room);

  private:
    LineFigures figuresOf(const Line& line) const;
    // The figures and totals of every line under this catalogue, without telling anyone.
    void refigure(const Catalogue& catalogue);
    // The walls of a room follow its openings: a line that is an opening or walls marks its
    // room, and settleWalls works out the walls of the marked rooms again in one pass.
    void markWalls(const Line& line);
    void settleWalls(bool tell = true); // tell: the views, of each walls line changed
    // Keeps count of the lines in each room; the rooms' order is worked out again only when a
    // room comes or goes, or lines move.
    void countRoom(const QString& room, int lines);

    QUndoStack& undo_;
    QChar separator_;
    Sheet sheet_;
    std::vector<LineFigures> figures_;
    Totals totals_;
    RatesById rates_;
    QHash<QString, int> roomLines_;
    QSet<QString> unsettledWalls_;
    mutable std::optional<QStringList> rooms_;
};

} // namespace velaro
