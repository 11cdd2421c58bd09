#include "estimate/gui/roomdialog.h"

#include "estimate/columns.h"
#include "estimate/gui/dialogparts.h"
#include "estimate/gui/roomopeningstable.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace velaro {

RoomDialog::RoomDialog(const QString& room, const RoomSize& size, QChar separator, QWidget* parent)
    : QDialog(parent), separator_(separator), length_(field("roomLength", size.length)),
      width_(field("roomWidth", size.width)), perimeter_(field("roomPerimeter", size.perimeter)),
      height_(field("roomHeight", size.height)), floor_(field("roomFloor", size.floorArea)),
      parts_(new QTableWidget(0, 5, this)),
      openings_(new RoomOpeningsTable(size.openings, separator, this)),
      problem_(problemLabel(this)) {
    setObjectName("RoomDialog");
    setWindowTitle(QStringLiteral("Размеры помещения: %1").arg(roomTitle(room)));

    auto* form = new QFormLayout;
    const QString metres = QStringLiteral("м");
    addMeasureRow(*form, QStringLiteral("&Длина:"), length_, metres);
    addMeasureRow(*form, QStringLiteral("&Ширина:"), width_, metres);
    addMeasureRow(*form, QStringLiteral("П&ериметр:"), perimeter_, metres);
    addMeasureRow(*form, QStringLiteral("&Высота:"), height_, metres);
    addMeasureRow(*form, QStringLiteral("Площадь &пола:"), floor_, QStringLiteral("м2"));

    // The other parts: a row each, cells as the fields above.
    parts_->setObjectName("roomParts");
    parts_->setHorizontalHeaderLabels({QStringLiteral("Длина, м"), QStringLiteral("Ширина, м"),
                                       QStringLiteral("Периметр, м"), QStringLiteral("Пол, м2"),
                                       QStringLiteral("Высота, м")});
    parts_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    parts_->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    parts_->setTabKeyNavigation(false);
    // A few parts at most: the table need not take the dialog's height.
    parts_->setMaximumHeight(parts_->horizontalHeader()->sizeHint().height() +
                             fontMetrics().height() * 8);
    parts_->setAccessibleName(QStringLiteral("Другие части помещения"));
    const auto addPart = [this](const RoomPart& part) {
        const int r = parts_->rowCount();
        parts_->insertRow(r);
        const QStringList texts{part.length, part.width, part.perimeter, part.floorArea,
                                part.height};
        for (int c = 0; c < 5; ++c) {
            const auto value = Decimal::parse(texts[c]);
            parts_->setItem(r, c, new QTableWidgetItem(value ? value->text(separator_) : texts[c]));
        }
    };
    for (const RoomPart& part : size.parts)
        addPart(part);
    auto* add = new QPushButton(QStringLiteral("Доб&авить часть"), this);
    add->setObjectName("addRoomPart");
    auto* remove = new QPushButton(QStringLiteral("Уда&лить часть"), this);
    remove->setObjectName("removeRoomPart");
    connect(add, &QPushButton::clicked, this, [this, addPart] {
        addPart({{}, {}, {}, height_->text(), {}}); // most parts are as high as the room
        parts_->setCurrentCell(parts_->rowCount() - 1, 0);
        parts_->setFocus();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (parts_->currentRow() >= 0)
            parts_->removeRow(parts_->currentRow());
    });
    auto* partButtons = new QHBoxLayout;
    partButtons->addWidget(add);
    partButtons->addWidget(remove);
    partButtons->addStretch();
    auto* partsLabel = new QLabel(QStringLiteral("Другие &части помещения (выступ, эркер, часть "
                                                 "другой высоты):"),
                                  this);
    partsLabel->setBuddy(parts_);
    partsLabel->setWordWrap(true);

    auto* note = new QLabel(QStringLiteral("Стены: периметр × высота за вычетом проёмов окон и "
                                           "дверей этого помещения, записанных из расчётов и "
                                           "введённых ниже по размерам. Для помещения не "
                                           "прямоугольной формы введите периметр вместо длины и "
                                           "ширины и площадь пола, если нужен потолок. Стены и "
                                           "потолок помещения из нескольких частей — суммы "
                                           "частей. Откосы проёмов с глубиной откоса — "
                                           "отдельной строкой."),
                            this);
    note->setWordWrap(true);

    auto* buttons = okCancelButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(partsLabel);
    layout->addWidget(parts_);
    layout->addLayout(partButtons);
    layout->addWidget(openings_);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    // An explicit minimum stands in for the layout's: it must hold the openings' headings.
    setMinimumWidth(
        std::max(fontMetrics().horizontalAdvance(u'M') * 36, layout->minimumSize().width()));
}

QLineEdit* RoomDialog::field(const char* name, const QString& text) {
    // The sheet writes the figures back with the user's separator.
    const auto value = Decimal::parse(text);
    return measureField(this, name, value ? value->text(separator_) : text);
}

RoomSize RoomDialog::size() const {
    QList<RoomPart> parts;
    for (int r = 0; r < parts_->rowCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < 5; ++c)
            texts << (parts_->item(r, c) ? parts_->item(r, c)->text().trimmed() : QString());
        if (texts.join(QString()).isEmpty())
            continue; // a row added and left empty is no part
        parts.append({texts[0], texts[1], texts[2], texts[4], texts[3]});
    }
    return {length_->text().trimmed(), width_->text().trimmed(), perimeter_->text().trimmed(),
            height_->text().trimmed(), floor_->text().trimmed(), parts,
            openings_->openings()};
}

void RoomDialog::accept() {
    const QString problem = size().problem();
    problem_->setText(problem);
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace velaro
