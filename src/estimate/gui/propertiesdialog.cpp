#include "estimate/gui/propertiesdialog.h"

#include "estimate/gui/dialogparts.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace velaro {

PropertiesDialog::PropertiesDialog(const SheetProperties& properties, QWidget* parent)
    : QDialog(parent), object_(new QLineEdit(properties.object)),
      address_(new QLineEdit(properties.address)), client_(new QLineEdit(properties.client)),
      contractor_(new QLineEdit(properties.contractor)),
      estimator_(new QLineEdit(properties.estimator)), date_(new QLineEdit(properties.date)),
      clientPosition_(new QLineEdit(properties.clientSignatory.position)),
      clientName_(new QLineEdit(properties.clientSignatory.name)),
      contractorPosition_(new QLineEdit(properties.contractorSignatory.position)),
      contractorName_(new QLineEdit(properties.contractorSignatory.name)) {
    setObjectName("PropertiesDialog");
    setWindowTitle(QStringLiteral("Свойства документа"));
    const auto row = [](QFormLayout* form, const QString& label, QLineEdit* edit,
                        const char* name) {
        edit->setObjectName(QLatin1String(name));
        auto* text = new QLabel(label);
        text->setBuddy(edit);
        form->addRow(text, edit);
    };
    auto* form = new QFormLayout;
    row(form, QStringLiteral("&Объект:"), object_, "propertyObject");
    row(form, QStringLiteral("&Адрес:"), address_, "propertyAddress");
    row(form, QStringLiteral("&Заказчик:"), client_, "propertyClient");
    row(form, QStringLiteral("&Подрядчик:"), contractor_, "propertyContractor");
    row(form, QStringLiteral("&Составил:"), estimator_, "propertyEstimator");
    row(form, QStringLiteral("&Дата:"), date_, "propertyDate");
    object_->setPlaceholderText(QStringLiteral("заглавие документов и имя их файлов"));
    date_->setPlaceholderText(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) +
                              QStringLiteral(" — день печати"));

    // The approval block over the documents' title, its sides in the order they are read on
    // paper: the contractor's at the left, the client's at the right. One above the other, so
    // that a long position shows whole.
    auto* approval = new QVBoxLayout;
    const auto side = [&](const QString& heading, QLineEdit* position, const char* positionName,
                          const QString& positionLabel, QLineEdit* name, const char* nameName,
                          const QString& nameLabel) {
        auto* box = new QGroupBox(heading);
        auto* fields = new QFormLayout(box);
        row(fields, positionLabel, position, positionName);
        row(fields, nameLabel, name, nameName);
        position->setPlaceholderText(QStringLiteral("Директор"));
        name->setPlaceholderText(QStringLiteral("И. И. Иванов"));
        approval->addWidget(box);
    };
    side(QStringLiteral("«Согласовано»: подрядчик"), contractorPosition_,
         "propertyContractorPosition", QStringLiteral("Должнос&ть:"), contractorName_,
         "propertyContractorName", QStringLiteral("Фамил&ия И. О.:"));
    side(QStringLiteral("«Утверждаю»: заказчик"), clientPosition_, "propertyClientPosition",
         QStringLiteral("Долж&ность:"), clientName_, "propertyClientName",
         QStringLiteral("&Фамилия И. О.:"));

    auto* buttons = okCancelButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(approval);
    layout->addWidget(buttons);
    // A long text shows from its start.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setCursorPosition(0);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'M') * 40);
}

SheetProperties PropertiesDialog::properties() const {
    return {object_->text().simplified(),
            address_->text().simplified(),
            client_->text().simplified(),
            contractor_->text().simplified(),
            estimator_->text().simplified(),
            date_->text().simplified(),
            {clientPosition_->text().simplified(), clientName_->text().simplified()},
            {contractorPosition_->text().simplified(), contractorName_->text().simplified()}};
}

} // namespace velaro
