#pragma once
// The estimate as a table model, one row per line; the views number the lines in their vertical
// header. It holds nothing of its own: it shows the estimate's lines and passes on each block
// the estimate inserts, removes, moves or changes, so a view's selection follows; a cell typed
// in a view goes to the editor as one undo step.

#include "estimate/estimate.h"

#include <QAbstractTableModel>

namespace velaro {

class SheetEditor;

class SheetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    SheetModel(const Estimate& estimate, SheetEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const Estimate& estimate() const { return estimate_; }
    SheetEditor& editor() const { return editor_; }

  private:
    const Estimate& estimate_;
    SheetEditor& editor_;
};

} // namespace velaro
