#pragma once
// How the sheet's cells are edited and drawn: the count as a spin box from 1, the material as a
// list of the sheet's materials, and a frame around the current cell, which the row-wide
// selection would otherwise hide.

#include <QStyledItemDelegate>

namespace velaro {

class SheetModel;

class LineDelegate final : public QStyledItemDelegate {
  public:
    LineDelegate(const SheetModel& model, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    const SheetModel& model_;
};

} // namespace velaro
