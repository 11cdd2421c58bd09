#include "estimate/gui/repeatroomsdialog.h"

#include "estimate/columns.h"
#include "estimate/gui/dialogparts.h"
#include "estimate/repeatrooms.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace velaro {

RepeatRoomsDialog::RepeatRoomsDialog(const QStringList& rooms, const QStringList& sheetRooms,
                                     QWidget* parent)
    : QDialog(parent), rooms_(rooms), sheetRooms_(sheetRooms), copies_(new QSpinBox(this)),
      pattern_(new QLineEdit(this)), first_(new QSpinBox(this)), names_(new QLabel(this)),
      problem_(problemLabel(this)) {
    setObjectName("RepeatRoomsDialog");
    setWindowTitle(rooms.size() == 1 ? QStringLiteral("Повторить помещение")
                                     : QStringLiteral("Повторить помещения"));
    QStringList shown;
    for (const QString& room : rooms)
        shown << roomTitle(room);
    auto* what = new QLabel(QStringLiteral("Со всеми строками, размерами и проёмами: %1.")
                                .arg(shown.join(QStringLiteral(", "))),
                            this);
    what->setWordWrap(true);
    copies_->setObjectName("repeatCopies");
    copies_->setRange(1, 999);
    pattern_->setObjectName("repeatPattern");
    first_->setObjectName("repeatFirst");
    first_->setRange(0, 999999);
    const RoomPattern suggested = suggestedPattern(rooms);
    pattern_->setText(suggested.pattern);
    first_->setValue(suggested.firstNumber);
    names_->setObjectName("repeatNames");
    names_->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Копий:"), copies_);
    form->addRow(QStringLiteral("&Названия копий:"), pattern_);
    form->addRow(QStringLiteral("&Нумерация с:"), first_);
    auto* note = new QLabel(QStringLiteral("{n} — номер копии, {room} — название помещения."), this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(names_);
    layout->addWidget(problem_);
    layout->addWidget(okCancelButtons(*this));
    setMinimumWidth(fontMetrics().horizontalAdvance(u'M') * 36);
    connect(copies_, &QSpinBox::valueChanged, this, &RepeatRoomsDialog::refresh);
    connect(first_, &QSpinBox::valueChanged, this, &RepeatRoomsDialog::refresh);
    connect(pattern_, &QLineEdit::textChanged, this, &RepeatRoomsDialog::refresh);
    refresh();
}

int RepeatRoomsDialog::copies() const {
    return copies_->value();
}
QString RepeatRoomsDialog::pattern() const {
    return pattern_->text();
}
int RepeatRoomsDialog::firstNumber() const {
    return first_->value();
}

void RepeatRoomsDialog::refresh() {
    // The first copy's names, and the last's where there are more.
    QStringList names;
    for (const QString& room : rooms_)
        names << repeatedRoomName(pattern(), room, firstNumber());
    QString said = QStringLiteral("Копии: ") + names.join(QStringLiteral(", "));
    if (copies() > 1) {
        QStringList last;
        for (const QString& room : rooms_)
            last << repeatedRoomName(pattern(), room, firstNumber() + copies() - 1);
        said += QStringLiteral(" … ") + last.join(QStringLiteral(", "));
    }
    names_->setText(said);
    problem_->setText(namingProblem(rooms_, pattern(), firstNumber(), copies(), sheetRooms_));
}

void RepeatRoomsDialog::accept() {
    refresh();
    if (problem_->text().isEmpty())
        QDialog::accept();
}

} // namespace velaro
