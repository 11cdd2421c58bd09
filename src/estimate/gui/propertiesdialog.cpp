#include "estimate/gui/propertiesdialog.h"

#include "estimate/gui/dialogparts.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace velaro {

PropertiesDialog::PropertiesDialog(const SheetProperties& properties, QWidget* parent)
    : QDialog(parent), object_(new QLineEdit(properties.object)),
      address_(new QLineEdit(properties.address)), client_(new QLineEdit(properties.client)),
      contractor_(new QLineEdit(properties.contractor)),
      estimator_(new QLineEdit(properties.estimator)), date_(new QLineEdit(properties.date)) {
    setObjectName("PropertiesDialog");
    setWindowTitle(QStringLiteral("Свойства документа"));
    auto* form = new QFormLayout;
    const auto row = [&](const QString& label, QLineEdit* edit, const char* name) {
        edit->setObjectName(QLatin1String(name));
        auto* text = new QLabel(label);
        text->setBuddy(edit);
        form->addRow(text, edit);
    };
    row(QStringLiteral("&Объект:"), object_, "propertyObject");
    row(QStringLiteral("&Адрес:"), address_, "propertyAddress");
    row(QStringLiteral("&Заказчик:"), client_, "propertyClient");
    row(QStringLiteral("&Подрядчик:"), contractor_, "propertyContractor");
    row(QStringLiteral("&Составил:"), estimator_, "propertyEstimator");
    row(QStringLiteral("&Дата:"), date_, "propertyDate");
    object_->setPlaceholderText(QStringLiteral("заглавие документов и имя их файлов"));
    date_->setPlaceholderText(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) +
                              QStringLiteral(" — день печати"));

    auto* buttons = okCancelButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'M') * 40);
}

SheetProperties PropertiesDialog::properties() const {
    return {object_->text().simplified(),     address_->text().simplified(),
            client_->text().simplified(),     contractor_->text().simplified(),
            estimator_->text().simplified(), date_->text().simplified()};
}

} // namespace velaro
