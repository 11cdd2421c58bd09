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

#include <set>

namespace velaro {
namespace {

enum MaterialColumn { Name, Unit, Consumption, Waste, CanSize, Price, ColumnCount };

QString cell(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text().trimmed() : QString();
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
                                           "норм расхода не содержит."),
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
    table_->setItem(row, CanSize, new QTableWidgetItem(material.canSize));
    table_->setItem(row, Price, new QTableWidgetItem(material.price));
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
                                                "систем он уйдёт. Удалить?")
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
        m.canSize = cell(*table_, row, CanSize);
        m.price = cell(*table_, row, Price);
        list.append(m);
    }
    return list;
}

QString MaterialsDialog::problem() const {
    const QList<Material> list = materials();
    QStringList names;
    for (qsizetype i = 0; i < list.size(); ++i) {
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
