#include "estimate/gui/materialsdialog.h"

#include "estimate/gui/dialogparts.h"
#include "estimate/gui/estimateprompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace velaro {
namespace {

enum MaterialColumn { Name, Unit, Consumption, Waste, CanSize, Price, ColumnCount };

QString cell(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text().trimmed() : QString();
}

// A material of several sizes is typed in one cell as «14 / 2,7», its prices in the next in the
// same order, «2400 / 560»; a dash stands for a size sold at no known price.
QStringList parts(const QString& text) {
    QStringList parts = text.split(u'/');
    for (QString& part : parts) {
        part = part.trimmed();
        if (part == QStringLiteral("—") || part == QStringLiteral("-"))
            part.clear();
    }
    return parts;
}

QString sizesText(const QList<Can>& cans) {
    QStringList sizes;
    for (const Can& can : cans)
        sizes << can.size;
    return sizes.join(QStringLiteral(" / "));
}

QString pricesText(const QList<Can>& cans) {
    if (std::all_of(cans.begin(), cans.end(), [](const Can& can) { return can.price.isEmpty(); }))
        return {};
    QStringList prices;
    for (const Can& can : cans)
        prices << (can.price.isEmpty() ? QStringLiteral("—") : can.price);
    return prices.join(QStringLiteral(" / "));
}

} // namespace

MaterialsDialog::MaterialsDialog(const QList<Material>& materials, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(0, ColumnCount, this)),
      problem_(problemLabel(this)) {
    setObjectName("MaterialsDialog");
    setWindowTitle(QStringLiteral("Материалы ведомости"));
    table_->setObjectName("materials");
    table_->setTabKeyNavigation(false); // Tab goes on to the buttons
    table_->setHorizontalHeaderLabels({QStringLiteral("Название"), QStringLiteral("Ед."),
                                       QStringLiteral("Расход на м2 за слой"),
                                       QStringLiteral("Запас, %"),
                                       QStringLiteral("Тара"), QStringLiteral("Цена тары")});
    table_->horizontalHeaderItem(CanSize)->setToolTip(
        QStringLiteral("Сколько кг или л в банке; несколько размеров — через «/»: 14 / 2,7"));
    table_->horizontalHeaderItem(Price)->setToolTip(
        QStringLiteral("Цена банки, руб.; при нескольких размерах — в том же порядке через «/»: "
                       "2400 / 560, «—» для банки без цены"));
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    for (const Material& material : materials)
        addRow(material);


    auto* add = new QPushButton(QStringLiteral("&Добавить"), this);
    add->setObjectName("addMaterial");
    auto* remove = new QPushButton(QStringLiteral("&Удалить"), this);
    remove->setObjectName("removeMaterial");
    connect(add, &QPushButton::clicked, this, [this] { addRow(); });
    connect(remove, &QPushButton::clicked, this, &MaterialsDialog::removeSelectedRows);
    auto* buttons = okCancelButtons(*this);

    auto* note = new QLabel(QStringLiteral("Расход берите из паспорта краски: программа своих "
                                           "норм расхода не содержит. Банки нескольких размеров "
                                           "— через «/»: тара «14 / 2,7», цена «2400 / 560»; "
                                           "ведомость возьмёт самый дешёвый набор банок."),
                            this);
    note->setWordWrap(true);
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(add);
    rowButtons->addWidget(remove);
    rowButtons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(table_, 1);
    layout->addLayout(rowButtons);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    resize(760, 320);
}

void MaterialsDialog::addRow(const Material& material) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* name = new QTableWidgetItem(material.name);
    name->setData(Qt::UserRole, material.id); // renaming keeps the lines' material
    table_->setItem(row, Name, name);
    auto* unit = new QComboBox(table_);
    unit->addItems({QStringLiteral("кг"), QStringLiteral("л")});
    unit->setCurrentText(material.unit);
    table_->setCellWidget(row, Unit, unit);
    table_->setItem(row, Consumption, new QTableWidgetItem(material.consumption));
    table_->setItem(row, Waste, new QTableWidgetItem(material.waste));
    table_->setItem(row, CanSize, new QTableWidgetItem(sizesText(material.cans)));
    table_->setItem(row, Price, new QTableWidgetItem(pricesText(material.cans)));
}

void MaterialsDialog::removeSelectedRows() {
    std::set<int, std::greater<>> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (rows.empty() && table_->currentRow() >= 0)
        rows.insert(table_->currentRow());
    QStringList usedNames;
    for (int row : rows)
        if (used_.contains(table_->item(row, Name)->data(Qt::UserRole).toInt()))
            usedNames.prepend(cell(*table_, row, Name));
    if (!usedNames.isEmpty() && prompts_ &&
        !prompts_->confirm(this, QStringLiteral("Материал %1 входит в системы окраски; из этих "
                                                "систем он уйдёт, а слои с ценой работ или "
                                                "шифром останутся работой без материала. "
                                                "Удалить?")
                                     .arg(QStringLiteral("«") +
                                          usedNames.join(QStringLiteral("», «")) +
                                          QStringLiteral("»"))))
        return;
    for (int row : rows)
        table_->removeRow(row);
}

void MaterialsDialog::setUsedMaterials(QSet<int> ids, EstimatePrompts* prompts) {
    used_ = std::move(ids);
    used_.remove(0);
    prompts_ = prompts;
}

QList<Material> MaterialsDialog::materials() const {
    QList<Material> list;
    for (int row = 0; row < table_->rowCount(); ++row) {
        Material m;
        m.id = table_->item(row, Name)->data(Qt::UserRole).toInt();
        m.name = cell(*table_, row, Name);
        m.unit = qobject_cast<QComboBox*>(table_->cellWidget(row, Unit))->currentText();
        m.consumption = cell(*table_, row, Consumption);
        m.waste = cell(*table_, row, Waste);
        if (m.waste.isEmpty())
            m.waste = QStringLiteral("0");
        const QStringList sizes = parts(cell(*table_, row, CanSize));
        const QStringList prices = parts(cell(*table_, row, Price));
        for (qsizetype i = 0; i < sizes.size(); ++i)
            m.cans.append({sizes[i], prices.value(i)});
        list.append(m);
    }
    return list;
}

QString MaterialsDialog::problem() const {
    const QList<Material> list = materials();
    QStringList names;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const int row = int(i);
        const qsizetype sizes = parts(cell(*table_, row, CanSize)).size();
        const qsizetype prices = parts(cell(*table_, row, Price)).size();
        if (!cell(*table_, row, Price).isEmpty() && prices != sizes)
            return QStringLiteral("Строка %1: тара в %2, а цен %3 — дайте цену каждой банке "
                                  "через «/», «—» для банки без цены.")
                .arg(i + 1)
                .arg(sizes == 1 ? QStringLiteral("одном размере")
                                : QStringLiteral("%1 размерах").arg(sizes))
                .arg(prices);
        if (const QString problem = list[i].problem(); !problem.isEmpty())
            return QStringLiteral("Строка %1: %2.").arg(i + 1).arg(problem);
        if (names.contains(list[i].name))
            return QStringLiteral("Строка %1: название «%2» уже есть.")
                .arg(i + 1)
                .arg(list[i].name);
        names << list[i].name;
    }
    return {};
}

void MaterialsDialog::accept() {
    const QString problem = this->problem();
    problem_->setText(problem);
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace velaro
