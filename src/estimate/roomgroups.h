#pragma once
// The sheet's lines grouped by room, in the order the estimator gives the rooms, each group
// headed by a row with the room's subtotal and lines numbered as printed. A view of SheetModel:
// edits go through to it. It follows the estimate block by block: a line recorded or removed
// comes or goes as rows of its own (and its room's subtotal row with the room's first or last
// line), an edit changes its own row and the subtotals, so a view's selection stays where it was;
// only a change it cannot say so (lines moved to another place among the groups) resets it.

#include "estimate/sheetmodel.h"

#include <QAbstractProxyModel>

#include <functional>
#include <vector>

namespace velaro {

class RoomGroupsModel : public QAbstractProxyModel {
    Q_OBJECT
  public:
    explicit RoomGroupsModel(SheetModel& sheet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
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
    // A row: a line of the sheet (its row there), or a room's subtotal (line < 0).
    struct Row {
        int line = -1;
        QString room;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> grouped() const;
    // Goes over to the grouping now due, said row by row where the rows kept keep their order;
    // `moved` gives each line's row from before the change, -1 for one gone.
    void regroup(const std::function<int(int)>& moved);
    void setRows(std::vector<Row> rows);
    // Whether the lines first…last are still in their rooms' groups.
    bool staysGrouped(int first, int last) const;
    bool appendedToTheirGroups(int first, int last);
    void subtotalsChanged();

    SheetModel& sheet_;
    std::vector<Row> rows_;
    std::vector<int> groupRow_; // per line of the sheet: its row here
    std::vector<int> numbers_;  // per row: the line's number as printed, 0 for a subtotal
    std::vector<int> groupOf_;  // per row: the row of its group's subtotal
};

} // namespace velaro
