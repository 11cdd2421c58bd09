#include "estimate/gui/linedelegate.h"

#include "estimate/sheetmodel.h"

#include "estimate/expression.h"
#include "estimate/linesearch.h"

#include <QKeyEvent>
#include <QMetaProperty>

#include <QComboBox>
#include <QLineEdit>
#include <QToolTip>
#include <QValidator>

#include <limits>
#include <utility>
#include <QPainter>
#include <QSpinBox>

namespace velaro {
namespace {

// Sound arithmetic is acceptable; anything else may yet become so as the estimator types.
class QuantityValidator final : public QValidator {
  public:
    QuantityValidator(QChar separator, QObject* parent) : QValidator(parent), separator_(separator) {}
    State validate(QString& input, int&) const override {
        return evaluateQuantity(input, separator_).value ? Acceptable : Intermediate;
    }

  private:
    QChar separator_;
};

} // namespace

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
    if (Column(index.column()) == Column::Formula) {
        // A typed quantity: however long, and not taken while it is not sound arithmetic; what
        // is wrong is said where the estimator types, and the editor stays open.
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->setValidator(new QuantityValidator(model_.estimate().separator(), edit));
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, this](const QString& text) {
            const Evaluation evaluation = evaluateQuantity(text, model_.estimate().separator());
            const QString said =
                evaluation.value ? QString()
                                 : QStringLiteral("Ошибка в позиции %1: %2")
                                       .arg(evaluation.errorAt + 1)
                                       .arg(evaluation.error);
            edit->setToolTip(said);
            if (said.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), said, edit);
        });
        return edit;
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
    if (std::exchange(toSelection_, false) && forSelection_) {
        auto* list = qobject_cast<QComboBox*>(editor);
        const QVariant value = list ? list->currentData()
                                    : editor->property(editor->metaObject()->userProperty().name());
        forSelection_(Column(index.column()), value);
        return;
    }
    if (auto* list = qobject_cast<QComboBox*>(editor))
        model->setData(index, list->currentData().toInt(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

void LineDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!found_.isEmpty() && isSearched(Column(index.column())) &&
        cellMatches(option->text, found_)) {
        option->backgroundBrush = QColor(255, 226, 110); // a marker pen's yellow, dark text on it
        option->palette.setColor(QPalette::Text, Qt::black);
    }
}

bool LineDelegate::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() & Qt::ControlModifier) {
            auto* editor = qobject_cast<QWidget*>(object);
            toSelection_ = true;
            emit commitData(editor);
            toSelection_ = false;
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
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
