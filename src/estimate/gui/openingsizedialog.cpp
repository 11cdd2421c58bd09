#include "estimate/gui/openingsizedialog.h"

#include "estimate/gui/dialogparts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace velaro {

OpeningSizeDialog::OpeningSizeDialog(const QString& element, const QString& width,
                                     const QString& height, Apply apply, QWidget* parent)
    : QDialog(parent), apply_(std::move(apply)), width_(measureField(this, "openingWidth", width)),
      height_(measureField(this, "openingHeight", height)), problem_(problemLabel(this)) {
    setObjectName("OpeningSizeDialog");
    setWindowTitle(QStringLiteral("Размеры проёма"));
    auto* note = new QLabel(QStringLiteral("%1: площадь проёма = ширина × высота, с округлением "
                                           "до сотых; расчёт строки повторяется с этой "
                                           "площадью.")
                                .arg(element),
                            this);
    note->setWordWrap(true);
    auto* form = new QFormLayout;
    addMeasureRow(*form, QStringLiteral("&Ширина:"), width_, QStringLiteral("м"));
    addMeasureRow(*form, QStringLiteral("&Высота:"), height_, QStringLiteral("м"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(okCancelButtons(*this));
    setMinimumWidth(fontMetrics().horizontalAdvance(u'M') * 24);
}

void OpeningSizeDialog::accept() {
    const QString problem = apply_(width_->text().trimmed(), height_->text().trimmed());
    problem_->setText(problem);
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace velaro
