#include "estimate/gui/roomopeningstable.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace velaro {
namespace {

enum Column { kKind, kWidth, kHeight, kCount, kDeduct, kDepth, kColumns };

// In the order of OpeningKind.
const QStringList& kindNames() {
    static const QStringList names{QStringLiteral("окно"), QStringLiteral("дверь"),
                                   QStringLiteral("проём")};
    return names;
}

} // namespace

RoomOpeningsTable::RoomOpeningsTable(const QList<RoomOpening>& openings, QChar separator,
                                     QWidget* parent)
    : QWidget(parent), separator_(separator), table_(new QTableWidget(0, kColumns, this)) {
    table_->setObjectName("roomOpenings");
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Вид"), QStringLiteral("Ширина, м"), QStringLiteral("Высота, м"),
         QStringLiteral("Кол-во"), QStringLiteral("Вычитать из стен"),
         QStringLiteral("Глубина откоса, м")});
    // Every heading shown whole in any font: the table is at least as wide as they are, the
    // kind as wide as its box, and a few rows are seen without scrolling.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    QComboBox sample;
    sample.addItems(kindNames());
    header->setSectionResizeMode(kKind, QHeaderView::Fixed);
    header->resizeSection(kKind, sample.sizeHint().width());
    int width = sample.sizeHint().width() + table_->verticalHeader()->sizeHint().width() +
                2 * table_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int column = kWidth; column < kColumns; ++column)
        width += header->sectionSizeHint(column);
    table_->setMinimumWidth(width);
    const int rowHeight =
        std::max(table_->verticalHeader()->defaultSectionSize(), sample.sizeHint().height());
    table_->verticalHeader()->setDefaultSectionSize(rowHeight);
    table_->setMaximumHeight(header->sizeHint().height() + rowHeight * 4 +
                             2 * table_->frameWidth());
    table_->setAccessibleName(QStringLiteral("Проёмы помещения"));
    for (const RoomOpening& opening : openings)
        addRow(opening);

    auto* add = new QPushButton(QStringLiteral("Добавить пр&оём"), this);
    add->setObjectName("addRoomOpening");
    auto* remove = new QPushButton(QStringLiteral("&Удалить проём"), this);
    remove->setObjectName("removeRoomOpening");
    connect(add, &QPushButton::clicked, this, [this] {
        addRow({});
        table_->setCurrentCell(table_->rowCount() - 1, kWidth);
        table_->setFocus();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (table_->currentRow() >= 0)
            table_->removeRow(table_->currentRow());
    });
    auto* label = new QLabel(
        QStringLiteral("Проё&мы по размерам (глубина откоса — если откосы окрашиваются):"), this);
    label->setBuddy(table_);
    label->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(table_);
    layout->addLayout(buttons);
}

void RoomOpeningsTable::addRow(const RoomOpening& opening) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* kind = new QComboBox(table_);
    kind->addItems(kindNames());
    kind->setCurrentIndex(int(opening.kind));
    kind->setAccessibleName(QStringLiteral("Вид проёма"));
    table_->setCellWidget(row, kKind, kind);
    const auto figure = [this](const QString& text) {
        const auto value = Decimal::parse(text);
        return new QTableWidgetItem(value ? value->text(separator_) : text);
    };
    table_->setItem(row, kWidth, figure(opening.width));
    table_->setItem(row, kHeight, figure(opening.height));
    table_->setItem(row, kCount, new QTableWidgetItem(opening.count));
    auto* deduct = new QTableWidgetItem;
    deduct->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    deduct->setCheckState(opening.deduct ? Qt::Checked : Qt::Unchecked);
    table_->setItem(row, kDeduct, deduct);
    table_->setItem(row, kDepth, figure(opening.depth));
}

QList<RoomOpening> RoomOpeningsTable::openings() const {
    QList<RoomOpening> openings;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const auto text = [&](int column) {
            return table_->item(r, column) ? table_->item(r, column)->text().trimmed() : QString();
        };
        RoomOpening opening;
        if (const auto* kind = qobject_cast<QComboBox*>(table_->cellWidget(r, kKind)))
            opening.kind = OpeningKind(kind->currentIndex());
        opening.width = text(kWidth);
        opening.height = text(kHeight);
        opening.count = text(kCount);
        opening.deduct = table_->item(r, kDeduct)->checkState() == Qt::Checked;
        opening.depth = text(kDepth);
        if ((opening.width + opening.height + opening.depth).isEmpty())
            continue; // a row added and left empty is no opening
        openings << opening;
    }
    return openings;
}

} // namespace velaro
