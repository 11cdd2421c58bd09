#include "estimate/gui/dialogparts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace velaro {

QLabel* problemLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName("problem");
    label->setWordWrap(true);
    QPalette warning = label->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    label->setPalette(warning);
    return label;
}

QDialogButtonBox* okCancelButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* measureField(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,6}([.,]\\d{0,3})?")), edit));
    return edit;
}

void addMeasureRow(QFormLayout& form, const QString& label, QLineEdit* edit, const QString& unit) {
    QWidget* parent = edit->parentWidget();
    auto* line = new QHBoxLayout;
    line->addWidget(edit);
    line->addWidget(new QLabel(unit, parent));
    auto* name = new QLabel(label, parent);
    name->setBuddy(edit);
    form.addRow(name, line);
}

} // namespace velaro
