#include "estimate/gui/typedlinedialog.h"

#include "estimate/gui/dialogparts.h"
#include "estimate/expression.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace velaro {
namespace {

QString mistakeText(const Evaluation& evaluation) {
    return QStringLiteral("Ошибка в позиции %1: %2")
        .arg(evaluation.errorAt + 1)
        .arg(evaluation.error);
}

} // namespace

TypedLineDialog::TypedLineDialog(QChar separator, QWidget* parent)
    : QDialog(parent), separator_(separator), name_(new QLineEdit(this)),
      unit_(new QComboBox(this)), quantity_(new QLineEdit(this)), result_(new QLabel(this)) {
    setObjectName("TypedLineDialog");
    setWindowTitle(QStringLiteral("Добавить строку"));
    name_->setObjectName("lineName");
    unit_->setObjectName("lineUnit");
    unit_->setEditable(true);
    unit_->setInsertPolicy(QComboBox::NoInsert); // a unit typed once is not offered again
    unit_->addItems({QStringLiteral("м2"), QStringLiteral("м"), QStringLiteral("шт")});
    quantity_->setObjectName("lineQuantity");
    quantity_->setPlaceholderText(QStringLiteral("например: ") +
                                  QStringLiteral("2,5*3 + 1,2*2 − 0,8").replace(u',', separator));
    // However long the arithmetic: past what a sheet takes it is refused in words, never cut.
    quantity_->setMaxLength(std::numeric_limits<int>::max());
    result_->setObjectName("lineQuantityResult");
    result_->setWordWrap(true);
    // Room for a mistake said in two lines, so the dialog need not grow to show it whole.
    result_->setMinimumHeight(2 * result_->fontMetrics().lineSpacing());
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = okCancelButtons(*this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(name_, &QLineEdit::textChanged, this, &TypedLineDialog::refresh);
    connect(unit_, &QComboBox::currentTextChanged, this, &TypedLineDialog::refresh);
    connect(quantity_, &QLineEdit::textChanged, this, &TypedLineDialog::refresh);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Наименование:"), name_);
    form->addRow(QStringLiteral("&Единица:"), unit_);
    form->addRow(QStringLiteral("&Количество:"), quantity_);
    form->addRow(QString(), result_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);
    resize(420, sizeHint().height());
    refresh();
}

QString TypedLineDialog::name() const {
    return name_->text().simplified();
}
QString TypedLineDialog::unit() const {
    return unit_->currentText().simplified();
}
QString TypedLineDialog::expression() const {
    return quantity_->text().simplified();
}

Decimal TypedLineDialog::quantity() const {
    return evaluation().value.value_or(Decimal());
}

Evaluation TypedLineDialog::evaluation() const {
    return evaluateQuantity(quantity_->text(), separator_);
}

void TypedLineDialog::refresh() {
    const Evaluation evaluation = this->evaluation();
    QPalette palette = result_->palette();
    palette.setColor(QPalette::WindowText,
                     evaluation.value ? this->palette().color(QPalette::WindowText) : Qt::darkRed);
    result_->setPalette(palette);
    if (evaluation.value)
        result_->setText(((evaluation.approximate ? QStringLiteral("≈ ") : QStringLiteral("= ")) +
                          evaluation.value->text(separator_) + u' ' + unit())
                             .trimmed());
    else if (expression().isEmpty()) // not yet typed is no mistake to point at
        result_->clear();
    else
        result_->setText(mistakeText(evaluation));
    ok_->setEnabled(!name().isEmpty() && evaluation.value.has_value());
}

void TypedLineDialog::accept() {
    refresh();
    if (name().isEmpty()) {
        name_->setFocus();
        return;
    }
    const Evaluation evaluation = this->evaluation();
    if (!evaluation.value) {
        result_->setText(mistakeText(evaluation));
        quantity_->setFocus();
        quantity_->setCursorPosition(evaluation.errorAt);
        return;
    }
    QDialog::accept();
}

} // namespace velaro
