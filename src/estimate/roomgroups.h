#pragma once
// The sheet's lines grouped by room, in the order the estimator gives the rooms, each group
// headed by a row with the room's subtotal. A view of SheetModel: edits go through to it, and the
// grouping follows every change of the sheet.

#include "estimate/sheetmodel.h"

#include <QAbstractProxyModel>

#include <vector>

namespace velaro {

class RoomGroupsModel : public QAbstractProxyModel {
    Q_OBJECT
  public:
    explicit RoomGroupsModel(SheetModel& sheet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex mapToSource(const QModelIndex& proxy) const override;
    QModelIndex mapFromSource(const QModelIndex& source) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The room a subtotal row heads, or nullopt for a line's row.
    std::optional<QString> subtotalOf(int row) const;

  private:
    // Works the groups out again: a reset where rows moved, a change of every row otherwise.
    void regroup();
    void build(std::vector<int>& rows, QStringList& rooms) const;

    SheetModel& sheet_;
    std::vector<int> rows_;     // per row: a line's row in the sheet, or -1 - its room's place
    std::vector<int> groupRow_; // per line of the sheet: its row here
    std::vector<int> numbers_;  // per row: the line's number as printed, 0 for a subtotal
    QStringList rooms_;
};

} // namespace velaro
