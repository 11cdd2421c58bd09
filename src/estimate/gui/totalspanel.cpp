#include "estimate/gui/totalspanel.h"

#include "estimate/export.h"
#include "estimate/sheetmodel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velaro {

TotalsPanel::TotalsPanel(const SheetModel& model, QWidget* parent)
    : QWidget(parent), model_(model), total_(new QLabel), rooms_(new QTreeWidget),
      materials_(new QTreeWidget) {
    setObjectName("totals");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(QStringLiteral("Итого площадь окраски:"));
    total_->setObjectName("total");
    total_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont large = total_->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    total_->setFont(large);
    heading->setBuddy(total_);
    total_->setAccessibleName(heading->text());

    rooms_->setObjectName("roomTotals");
    rooms_->setHeaderLabels(
        {QStringLiteral("Помещение"), QStringLiteral("Строк"), QStringLiteral("Площадь")});
    materials_->setObjectName("materialTotals");
    materials_->setHeaderLabels({QStringLiteral("Материал"), QStringLiteral("Количество"),
                                 QStringLiteral("Банок"), QStringLiteral("Стоимость")});
    // The figures take the width they need; the names what is left.
    for (QTreeWidget* tree : {rooms_, materials_}) {
        tree->setRootIsDecorated(false);
        tree->header()->setStretchLastSection(false);
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }

    layout->addWidget(heading);
    layout->addWidget(total_);
    layout->addWidget(new QLabel(QStringLiteral("По помещениям:")));
    layout->addWidget(rooms_, 1);
    layout->addWidget(new QLabel(QStringLiteral("По материалам:")));
    layout->addWidget(materials_, 1);
    refresh();
}

void TotalsPanel::refresh() {
    const QChar separator = model_.separator();
    total_->setText(areaText(model_.totals().area(), separator));
    rooms_->clear();
    const auto& rooms = model_.totals().rooms();
    for (auto room = rooms.begin(); room != rooms.end(); ++room) {
        auto* item =
            new QTreeWidgetItem(rooms_, {roomTitle(room.key()), QString::number(room.value().lines),
                                         areaText(room.value().value, separator)});
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
    }
    materials_->clear();
    for (const MaterialRow& row : materialRows(model_.view())) {
        auto* item = new QTreeWidgetItem(materials_, {row.name, row.quantity, row.cans, row.cost});
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight);
    }
}

} // namespace velaro
