#include "estimate/gui/dialogparts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>

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
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace velaro
