#include "estimate/gui/roomdialog.h"

#include "estimate/gui/dialogparts.h"
#include "estimate/columns.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace velaro {

RoomDialog::RoomDialog(const QString& room, const RoomSize& size, QChar separator,
                       QWidget* parent)
    : QDialog(parent), separator_(separator), length_(field("roomLength", size.length)),
      width_(field("roomWidth", size.width)), perimeter_(field("roomPerimeter", size.perimeter)),
      height_(field("roomHeight", size.height)), problem_(problemLabel(this)) {
    setObjectName("RoomDialog");
    setWindowTitle(QStringLiteral("Размеры помещения: %1").arg(roomTitle(room)));

    auto* form = new QFormLayout;
    const auto row = [&](const QString& label, QLineEdit* edit) {
        auto* line = new QHBoxLayout;
        line->addWidget(edit);
        line->addWidget(new QLabel(QStringLiteral("м"), this));
        auto* name = new QLabel(label, this);
        name->setBuddy(edit);
        form->addRow(name, line);
    };
    row(QStringLiteral("&Длина:"), length_);
    row(QStringLiteral("&Ширина:"), width_);
    row(QStringLiteral("П&ериметр:"), perimeter_);
    row(QStringLiteral("&Высота:"), height_);

    auto* note = new QLabel(QStringLiteral("Стены: периметр × высота за вычетом проёмов окон и "
                                           "дверей этого помещения. Для помещения не "
                                           "прямоугольной формы введите периметр вместо длины и "
                                           "ширины: потолок тогда не считается."),
                            this);
    note->setWordWrap(true);

    auto* buttons = okCancelButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'M') * 36);
}

QLineEdit* RoomDialog::field(const char* name, const QString& text) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    // Metres with either separator; the sheet writes them back with the user's.
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,6}([.,]\\d{0,3})?")), edit));
    const auto value = Decimal::parse(text);
    edit->setText(value ? value->text(separator_) : text);
    return edit;
}

RoomSize RoomDialog::size() const {
    return {length_->text().trimmed(), width_->text().trimmed(), perimeter_->text().trimmed(),
            height_->text().trimmed()};
}

void RoomDialog::accept() {
    const QString problem = size().problem();
    problem_->setText(problem);
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace velaro
