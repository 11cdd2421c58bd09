#include "estimate/gui/openingsizedialog.h"

#include "estimate/gui/dialogparts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace velaro {

OpeningSizeDialog::OpeningSizeDialog(const QString& element, const QString& width,
                                     const QString& height, Apply apply, QWidget* parent)
    : QDialog(parent), apply_(std::move(apply)), width_(field("openingWidth", width)),
      height_(field("openingHeight", height)), problem_(problemLabel(this)) {
    setObjectName("OpeningSizeDialog");
    setWindowTitle(QStringLiteral("Размеры проёма"));
    auto* note = new QLabel(QStringLiteral("%1: площадь проёма = ширина × высота, с округлением "
                                           "до сотых; расчёт строки повторяется с этой "
                                           "площадью.")
                                .arg(element),
                            this);
    note->setWordWrap(true);
    auto* form = new QFormLayout;
    for (const auto& [label, edit] :
         {std::pair{QStringLiteral("&Ширина:"), width_}, {QStringLiteral("&Высота:"), height_}}) {
        auto* line = new QHBoxLayout;
        line->addWidget(edit);
        line->addWidget(new QLabel(QStringLiteral("м"), this));
        auto* name = new QLabel(label, this);
        name->setBuddy(edit);
        form->addRow(name, line);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(okCancelButtons(*this));
    setMinimumWidth(fontMetrics().horizontalAdvance(u'M') * 24);
}

QLineEdit* OpeningSizeDialog::field(const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QLatin1String(name));
    // Metres with either separator, as in the room dialog.
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,6}([.,]\\d{0,3})?")), edit));
    return edit;
}

void OpeningSizeDialog::accept() {
    const QString problem = apply_(width_->text().trimmed(), height_->text().trimmed());
    problem_->setText(problem);
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace velaro
