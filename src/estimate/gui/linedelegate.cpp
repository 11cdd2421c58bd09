#include "estimate/gui/linedelegate.h"

#include "estimate/sheetmodel.h"

#include <QComboBox>
#include <QPainter>
#include <QSpinBox>

namespace velaro {

LineDelegate::LineDelegate(const SheetModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QWidget* LineDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    if (Column(index.column()) == Column::Count) {
        auto* spin = new QSpinBox(parent);
        spin->setRange(1, kMaxCount);
        return spin;
    }
    if (Column(index.column()) == Column::System) {
        auto* list = new QComboBox(parent);
        list->addItem(QStringLiteral("(нет)"), 0);
        for (const PaintSystem& system : model_.estimate().sheet().systems) {
            list->addItem(system.name, system.id);
            list->setItemData(list->count() - 1,
                              system.layersText(model_.estimate().sheet().materials), Qt::ToolTipRole);
        }
        return list;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void LineDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* list = qobject_cast<QComboBox*>(editor))
        list->setCurrentIndex(std::max(0, list->findData(index.data(Qt::EditRole))));
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void LineDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* list = qobject_cast<QComboBox*>(editor))
        model->setData(index, list->currentData().toInt(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

void LineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!(option.state & QStyle::State_HasFocus))
        return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace velaro
