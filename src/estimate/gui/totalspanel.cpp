#include "estimate/gui/totalspanel.h"

#include "estimate/export.h"
#include "estimate/gui/dialogparts.h"
#include "estimate/sheeteditor.h"
#include "estimate/sheetmodel.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velaro {

TotalsPanel::TotalsPanel(SheetModel& model, QWidget* parent)
    : QWidget(parent), model_(model), total_(new QLabel), rooms_(new QTreeWidget),
      materials_(new QTreeWidget), materialsCost_(moneyLabel("materialsCost")),
      work_(moneyLabel("workCost")),
      overheadRate_(rateField("overheadRate", &SheetEditor::setOverheadRate, QStringLiteral("НР"))),
      overhead_(moneyLabel("overheadCost")),
      profitRate_(rateField("profitRate", &SheetEditor::setProfitRate, QStringLiteral("СП"))),
      profit_(moneyLabel("profitCost")), rateRefusal_(problemLabel(this)),
      subtotal_(moneyLabel("subtotalCost")), vatRate_(new QLineEdit), vat_(moneyLabel("vatCost")),
      totalCost_(moneyLabel("totalCost")) {
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
    rooms_->setHeaderLabels({QStringLiteral("Помещение"), QStringLiteral("Строк"),
                             QStringLiteral("Площадь"), QStringLiteral("Работы")});
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

    vatRate_->setObjectName("vatRate");
    vatRate_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,2}([.,]\\d{0,2})?")), vatRate_));
    vatRate_->setPlaceholderText(QStringLiteral("без НДС"));
    vatRate_->setMaximumWidth(fontMetrics().horizontalAdvance(u'M') * 6);
    connect(vatRate_, &QLineEdit::editingFinished, this, [this] {
        model_.editor().setVatRate(vatRate_->text());
        vatRate_->setModified(false);
    });
    // A rate, «%» and the sum it comes to, on one line.
    const auto rateRow = [](QLineEdit* rate, QLabel* sum) {
        auto* row = new QHBoxLayout;
        row->addWidget(rate);
        row->addWidget(new QLabel(QStringLiteral("%")));
        row->addStretch();
        row->addWidget(sum);
        return row;
    };
    QFont bold = totalCost_->font();
    bold.setBold(true);
    totalCost_->setFont(bold);
    auto* money = new QFormLayout;
    money->addRow(QStringLiteral("Материалы:"), materialsCost_);
    money->addRow(QStringLiteral("Работы:"), work_);
    // Alt+Н is VAT's, Alt+С and Alt+П the menus' and the room's: profit has no mnemonic.
    const auto rateLabel = [](const QString& text, QLineEdit* buddy, const QString& whole) {
        auto* label = new QLabel(text);
        label->setBuddy(buddy);
        label->setToolTip(whole);
        buddy->setToolTip(whole);
        return label;
    };
    money->addRow(rateLabel(QStringLiteral("Н&Р:"), overheadRate_,
                            QStringLiteral("Накладные расходы, % от работ")),
                  rateRow(overheadRate_, overhead_));
    money->addRow(rateLabel(QStringLiteral("СП:"), profitRate_,
                            QStringLiteral("Сметная прибыль, % от работ")),
                  rateRow(profitRate_, profit_));
    rateRefusal_->setObjectName("rateRefusal");
    // On one line: a wrapped label would make the scrolled panel take its full preferred height
    // and push the money out of sight as the refusal appears.
    rateRefusal_->setWordWrap(false);
    rateRefusal_->hide();
    money->addRow(rateRefusal_);
    money->addRow(QStringLiteral("Итого:"), subtotal_);
    auto* vatLabel = new QLabel(QStringLiteral("&НДС:"));
    vatLabel->setBuddy(vatRate_);
    money->addRow(vatLabel, rateRow(vatRate_, vat_));
    auto* totalLabel = new QLabel(QStringLiteral("Всего:"));
    totalLabel->setFont(bold);
    money->addRow(totalLabel, totalCost_);
    totalCost_->setAccessibleName(QStringLiteral("Всего"));
    layout->addWidget(new QLabel(QStringLiteral("Стоимость, руб.:")));
    layout->addLayout(money);
    refresh();
}

QLineEdit* TotalsPanel::rateField(const char* name, QString (SheetEditor::*set)(const QString&),
                                  const QString& what) {
    auto* field = new QLineEdit;
    field->setObjectName(QLatin1String(name));
    field->setPlaceholderText(QStringLiteral("нет"));
    field->setMaximumWidth(fontMetrics().horizontalAdvance(u'M') * 6);
    // Refused where typed, the text kept to be put right; the sheet keeps its rate meanwhile.
    connect(field, &QLineEdit::editingFinished, this, [=, this] {
        const QString refusal = (model_.editor().*set)(field->text());
        if (!refusal.isEmpty()) {
            refused_ = field;
            rateRefusal_->setText(what + QStringLiteral(": ") + refusal);
        } else {
            field->setModified(false);
            if (refused_ == field) {
                refused_ = nullptr;
                refresh();
            }
        }
        rateRefusal_->setVisible(refused_ != nullptr);
    });
    return field;
}

QLabel* TotalsPanel::moneyLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void TotalsPanel::refresh() {
    const QChar separator = model_.estimate().separator();
    total_->setText(areaText(model_.estimate().totals().area(), separator));
    rooms_->clear();
    const SheetView view = model_.estimate().view();
    for (const QString& room : view.rooms) {
        const Totals::Sum sum = model_.estimate().totals().rooms().value(room);
        auto* item = new QTreeWidgetItem(
            rooms_, {roomTitle(room), QString::number(sum.lines), areaText(sum.value, separator),
                     sum.work.text(separator, 2, true)});
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight);
    }
    materials_->clear();
    for (const MaterialRow& row : materialRows(view)) {
        auto* item = new QTreeWidgetItem(materials_, {row.name, row.quantity, row.cans, row.cost});
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight);
        // The cans of several sizes take the room a long name would need: both whole on hover.
        item->setToolTip(0, row.name);
        item->setToolTip(2, row.cans);
    }

    const Money money = moneyOf(view);
    materialsCost_->setText(moneyText(money.materials, separator));
    work_->setText(moneyText(money.work, separator));
    overhead_->setText(money.overhead ? moneyText(*money.overhead, separator) : QString());
    profit_->setText(money.profit ? moneyText(*money.profit, separator) : QString());
    subtotal_->setText(moneyText(money.subtotal, separator));
    vat_->setText(money.vat ? moneyText(*money.vat, separator) : QString());
    totalCost_->setText(moneyText(money.total, separator));
    // A rate being typed is left alone; one merely focused follows the sheet (an undo), lest
    // leaving the field put the old rate back.
    if (!vatRate_->hasFocus() || !vatRate_->isModified())
        vatRate_->setText(money.vatRate ? money.vatRate->text(separator) : QString());
    // A refused rate stays as typed until it is put right.
    for (auto [field, rate] :
         {std::pair{overheadRate_, money.overheadRate}, std::pair{profitRate_, money.profitRate}})
        if ((!field->hasFocus() || !field->isModified()) && field != refused_)
            field->setText(rate ? rate->text(separator) : QString());
}

} // namespace velaro
