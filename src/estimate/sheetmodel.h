#pragma once
// The sheet as a table model, one row per line; the views number the lines in their vertical
// header. Every edit goes through the undo stack as a command (sheetcommands); the commands
// change the sheet through the primitives below, which keep the per-line figures and the totals
// up to date line by line and tell the views of each block inserted, removed or moved.

#include "estimate/columns.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

class QUndoStack;

namespace velaro {

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
    const RatesByName& rates() const { return rates_; }
    QChar separator() const { return separator_; }
    SheetView view() const;
    // The rooms of the lines, in the order they first appear.
    QStringList rooms() const;

    // Edits as commands on the undo stack.
    void addLine(Line line); // at the end, in the current room
    void duplicateLines(QList<int> rows); // copies of the lines at the end, in order
    void removeLines(QList<int> rows);
    // One row up (-1) or down (+1), each line keeping its place among the others; false where
    // a line is at the edge already, and nothing moves.
    bool moveLines(QList<int> rows, int delta);
    void editMaterials(const QList<Material>& materials);
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
    // New materials, and each line's material under them.
    void setMaterials(const QList<Material>& materials, const QList<int>& lineMaterials);

    // Replaces the whole sheet (opening, a new sheet); the undo history starts again.
    void resetSheet(Sheet sheet);

  signals:
    // Anything in the sheet changed: the totals and the recovery file follow.
    void changed();

  private:
    LineFigures figuresOf(const Line& line) const;
    // The figures and totals of every line under these materials, without telling anyone.
    void refigure(const QList<Material>& materials, const QList<int>& lineMaterials);
    // Keeps count of the lines in each room; the rooms' order is worked out again only when a
    // room comes or goes, or lines move.
    void countRoom(const QString& room, int lines);

    QUndoStack& undo_;
    QChar separator_;
    Sheet sheet_;
    std::vector<LineFigures> figures_;
    Totals totals_;
    RatesByName rates_;
    QHash<QString, int> roomLines_;
    mutable std::optional<QStringList> rooms_;
};

} // namespace velaro
