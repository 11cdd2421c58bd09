#pragma once
// How the sheet's cells are edited and drawn: the count as a spin box from 1, the material as a
// list of the sheet's materials, and a frame around the current cell, which the row-wide
// selection would otherwise hide; cells that hold what is being found are marked. A value
// finished with Ctrl+Enter goes to the cell of every selected line.

#include "estimate/columns.h"

#include <QStyledItemDelegate>

#include <functional>

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

    // What the find bar looks for, marked where a searched cell holds it.
    void setFound(const QString& text) { found_ = text; }
    // Where a value finished with Ctrl+Enter goes: false where it fits none of the cells.
    void setForSelection(std::function<bool(Column, const QVariant&)> set) {
        forSelection_ = std::move(set);
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    const SheetModel& model_;
    QString found_;
    std::function<bool(Column, const QVariant&)> forSelection_;
    mutable bool toSelection_ = false; // the editor being finished was finished with Ctrl+Enter
};

} // namespace velaro
