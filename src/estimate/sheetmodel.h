#pragma once
// The sheet as a table model. Editing a cell (room, count, material) goes through the undo
// stack as a command; the commands change the sheet through the model's primitives, which keep
// the per-line figures and the totals up to date line by line.

#include "estimate/columns.h"

#include <QAbstractTableModel>

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

    // Edits as commands on the undo stack.
    void addLine(Line line); // at the end, in the last room used
    void removeLines(QList<int> rows);
    void moveLine(int row, int delta);
    void editMaterials(const QList<Material>& materials);
    void setRecording(bool on);

    // The primitives the commands use.
    void insertLineAt(int row, const Line& line);
    Line takeLineAt(int row);
    void setCell(int row, Column column, const QVariant& value);
    void swapLines(int first, int second);
    // New materials, and each line's material under them.
    void setMaterials(const QList<Material>& materials, const QList<int>& lineMaterials);
    void setLastRoom(const QString& room);

    // Replaces the whole sheet (opening, a new sheet); the undo history starts again.
    void resetSheet(Sheet sheet);

  signals:
    // Anything in the sheet changed: the totals and the recovery file follow.
    void changed();

  private:
    QUndoStack& undo_;
    QChar separator_;
    Sheet sheet_;
    std::vector<LineFigures> figures_;
    Totals totals_;
    RatesByName rates_;
};

} // namespace velaro
