#include "estimate/gui/systemsdialog.h"

#include "core/settings.h"
#include "estimate/gui/dialogparts.h"
#include "estimate/gui/estimateprompts.h"
#include "estimate/columns.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <optional>

namespace velaro {
namespace {

enum LayerColumn { MaterialColumn, WorkColumn, CoatsColumn, PriceColumn, CodeColumn, LayerColumns };
const QString kNoMaterial = QStringLiteral("(без материала)");
// What a layer without a material is there for.
const QString kWorkHint = QStringLiteral("шлифовка, шпатлёвка…");

// A template carries its materials whole: the sheet it is added to may not have them.
struct TemplateLayer {
    std::optional<Material> material; // none for work alone
    Layer layer;                      // its material's id aside
};

struct SystemTemplate {
    QString name;
    QList<TemplateLayer> layers;
};

QJsonObject materialJson(const Material& m) {
    QJsonArray cans;
    for (const Can& can : m.cans)
        cans.append(QJsonObject{{"size", can.size}, {"price", can.price}});
    return {{"name", m.name},
            {"unit", m.unit},
            {"consumption", m.consumption},
            {"waste", m.waste},
            {"cans", cans}};
}

// Templates kept before materials came in several sizes have one, as «canSize» and «price».
Material materialOfJson(const QJsonObject& m) {
    Material read;
    read.name = m.value("name").toString().trimmed();
    read.unit = m.value("unit").toString();
    read.consumption = m.value("consumption").toString();
    read.waste = m.value("waste").toString();
    if (m.contains("cans")) {
        for (const QJsonValue& can : m.value("cans").toArray())
            read.cans.append(
                {can.toObject().value("size").toString(), can.toObject().value("price").toString()});
    } else {
        read.cans = {{m.value("canSize").toString(), m.value("price").toString()}};
    }
    return read;
}

// Kept in the user's settings, not in a sheet, so that they serve every sheet.
const QString kTemplatesGroup = QStringLiteral("systemTemplates");
const QString kTemplatesKey = QStringLiteral("list");

QJsonObject toJson(const SystemTemplate& t) {
    QJsonArray layers;
    for (const TemplateLayer& each : t.layers) {
        QJsonObject layer{{"coats", each.layer.coats},
                          {"work", each.layer.work},
                          {"price", each.layer.price},
                          {"code", each.layer.code}};
        if (each.material)
            layer.insert("material", materialJson(*each.material));
        layers.append(layer);
    }
    return {{"name", t.name}, {"layers", layers}};
}

// nullopt for anything a damaged or foreign settings file may hold instead of a sound template.
std::optional<SystemTemplate> fromJson(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    SystemTemplate t{object.value("name").toString().trimmed(), {}};
    if (t.name.isEmpty() || !object.value("layers").isArray())
        return std::nullopt;
    PaintSystem check{0, t.name, {}};
    for (const QJsonValue& entry : object.value("layers").toArray()) {
        const QJsonObject layer = entry.toObject();
        TemplateLayer read;
        read.layer = {0, layer.value("coats").toInt(0), layer.value("price").toString(),
                      layer.value("code").toString(), layer.value("work").toString()};
        if (layer.value("material").isObject()) {
            read.material = materialOfJson(layer.value("material").toObject());
            if (!read.material->problem().isEmpty())
                return std::nullopt;
            read.layer.material = 1; // any, for the check below
        }
        t.layers.append(read);
        check.layers.append(read.layer);
    }
    // Templates kept before layers were priced have one price and norm for the system: its
    // first layer takes them, as sheets of that time do.
    const QString price = object.value("price").toString(), code = object.value("code").toString();
    if (!price.isEmpty() || !code.isEmpty()) {
        if (t.layers.isEmpty()) {
            t.layers.append({std::nullopt, {0, 1, {}, {}, t.name}});
            check.layers.append(t.layers.back().layer);
        }
        t.layers.front().layer.price = check.layers.front().price = price;
        t.layers.front().layer.code = check.layers.front().code = code;
    }
    if (!check.problem().isEmpty())
        return std::nullopt;
    return t;
}

// The templates that can be read, each name once; what cannot be read is passed over.
QList<SystemTemplate> readTemplates() {
    const auto settings = programSettings();
    settings->beginGroup(kTemplatesGroup);
    const QJsonDocument document =
        QJsonDocument::fromJson(settings->value(kTemplatesKey).toString().toUtf8());
    QList<SystemTemplate> list;
    QStringList names;
    for (const QJsonValue& value : document.array())
        if (auto t = fromJson(value); t && !names.contains(t->name)) {
            names << t->name;
            list.append(*t);
        }
    return list;
}

void writeTemplates(const QList<SystemTemplate>& list) {
    QJsonArray array;
    for (const SystemTemplate& t : list)
        array.append(toJson(t));
    const auto settings = programSettings();
    settings->beginGroup(kTemplatesGroup);
    settings->setValue(kTemplatesKey,
                      QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
}

} // namespace

SystemsDialog::SystemsDialog(const QList<PaintSystem>& systems, const QList<Material>& materials,
                             QWidget* parent)
    : QDialog(parent), systems_(systems), materials_(materials), prompts_(&EstimatePrompts::real()),
      list_(new QListWidget(this)), name_(new QLineEdit(this)),
      layers_(new QTableWidget(0, LayerColumns, this)), layersText_(new QLabel(this)),
      workPrice_(new QLabel(this)), editors_(new QWidget(this)), problem_(problemLabel(this)) {
    setObjectName("SystemsDialog");
    setWindowTitle(QStringLiteral("Системы окраски"));

    auto* listLabel = new QLabel(QStringLiteral("&Системы:"), this);
    listLabel->setBuddy(list_);
    list_->setObjectName("systemList");
    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false); // Enter in a field is OK, not the last button tabbed past
        return b;
    };
    QPushButton* add = button(QStringLiteral("&Добавить"), "addSystem");
    QPushButton* remove = button(QStringLiteral("&Удалить"), "removeSystem");
    fromTemplate_ = button(QStringLiteral("Из &шаблона…"), "fromTemplate");
    QPushButton* save = button(QStringLiteral("Сохранить &как шаблон"), "saveTemplate");
    connect(add, &QPushButton::clicked, this, &SystemsDialog::addSystem);
    connect(remove, &QPushButton::clicked, this, &SystemsDialog::removeSystem);
    connect(fromTemplate_, &QPushButton::clicked, this, &SystemsDialog::addFromTemplate);
    connect(save, &QPushButton::clicked, this, &SystemsDialog::saveTemplate);

    name_->setObjectName("systemName");
    layers_->setObjectName("layers");
    layers_->setTabKeyNavigation(false); // Tab goes on to the layer's fields
    layers_->setSelectionBehavior(QAbstractItemView::SelectRows);
    layers_->setSelectionMode(QAbstractItemView::SingleSelection);
    layers_->setHorizontalHeaderLabels({QStringLiteral("Материал"), QStringLiteral("Работа"),
                                        QStringLiteral("Слоёв"),
                                        QStringLiteral("Цена работ,\nруб. за ед."),
                                        QStringLiteral("Шифр нормы")});
    layers_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    layers_->horizontalHeader()->setSectionResizeMode(MaterialColumn, QHeaderView::Stretch);
    QPushButton* addLayer = button(QStringLiteral("Добавить сло&й"), "addLayer");
    QPushButton* removeLayer = button(QStringLiteral("Убрать сл&ой"), "removeLayer");
    QPushButton* up = button(QStringLiteral("В&ыше"), "layerUp");
    QPushButton* down = button(QStringLiteral("Ни&же"), "layerDown");
    connect(addLayer, &QPushButton::clicked, this, &SystemsDialog::addLayer);
    connect(removeLayer, &QPushButton::clicked, this, &SystemsDialog::removeLayer);
    connect(up, &QPushButton::clicked, this, [this] { moveLayer(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveLayer(+1); });
    layersText_->setObjectName("layersText");
    // Wrapped rather than scrolled sideways: every material named whole, however many layers.
    layersText_->setWordWrap(true);
    layersText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layersText_->setAccessibleName(QStringLiteral("Состав"));
    workPrice_->setObjectName("workPrice");
    workPrice_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    auto* buttons = okCancelButtons(*this);

    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!showing_ && current() >= 0) {
            systems_[current()].name = text;
            refreshItem(current());
        }
    });
    connect(list_, &QListWidget::currentRowChanged, this, &SystemsDialog::showSystem);

    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(list_, 1);
    auto* listButtons = new QGridLayout;
    listButtons->addWidget(add, 0, 0);
    listButtons->addWidget(remove, 0, 1);
    listButtons->addWidget(fromTemplate_, 1, 0);
    listButtons->addWidget(save, 1, 1);
    left->addLayout(listButtons);

    auto* layerButtons = new QVBoxLayout;
    for (QPushButton* b : {addLayer, removeLayer, up, down})
        layerButtons->addWidget(b);
    layerButtons->addStretch();
    auto* layersRow = new QHBoxLayout;
    layersRow->addWidget(layers_, 1);
    layersRow->addLayout(layerButtons);
    auto* form = new QFormLayout(editors_);
    form->setContentsMargins(0, 0, 0, 0);
    // Labels over their fields: the layers' table takes the whole width.
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->addRow(QStringLiteral("&Название:"), name_);
    form->addRow(QStringLiteral("Сло&и, в порядке окраски:"), layersRow);
    form->addRow(QStringLiteral("Сос&тав:"), layersText_);
    form->addRow(QStringLiteral("Цена работ за единицу:"), workPrice_);
    // The layers' label leads to the table, not to the first button beside it.
    qobject_cast<QLabel*>(form->labelForField(layersRow))->setBuddy(layers_);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(editors_, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    layersText_->setFocusPolicy(Qt::TabFocus); // read, and read aloud, but not clicked into
    const QList<QWidget*> tabOrder{list_,
                                   add,
                                   remove,
                                   fromTemplate_,
                                   save,
                                   name_,
                                   layers_,
                                   addLayer,
                                   removeLayer,
                                   up,
                                   down,
                                   layersText_,
                                   buttons->button(QDialogButtonBox::Ok),
                                   buttons->button(QDialogButtonBox::Cancel)};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    for (qsizetype row = 0; row < systems_.size(); ++row) {
        list_->addItem(QString());
        refreshItem(int(row));
    }
    refreshTemplates();
    select(systems_.isEmpty() ? -1 : 0);
    showSystem();
    fitLayers();
    resize(1040, 500);
}

void SystemsDialog::fitLayers() {
    // Editors like those of the cells: one holding every material a layer may take, the coats,
    // and texts as long as a work's name, a price and a norm are.
    QComboBox material;
    QSpinBox coats;
    QLineEdit text;
    for (QWidget* probe : std::initializer_list<QWidget*>{&material, &coats, &text})
        probe->setFont(layers_->font());
    material.addItem(kNoMaterial);
    for (const QList<Material>* list : {&materials_, &added_})
        for (const Material& m : *list)
            material.addItem(m.name);
    coats.setRange(1, 99);
    const QFontMetrics metrics(layers_->font());
    // The text's room less what a line edit's frame and margins take.
    const int margins = text.sizeHint().width() - metrics.horizontalAdvance(QString(17, u'x'));
    const auto room = [&](const QString& longest) {
        return metrics.horizontalAdvance(longest) + margins;
    };
    QHeaderView* header = layers_->horizontalHeader();
    const int widths[LayerColumns] = {material.sizeHint().width(), room(kWorkHint),
                                      coats.sizeHint().width(), room(QStringLiteral("100 000,00")),
                                      room(QStringLiteral("ГЭСН 15-04-030-01"))};
    int total = 0;
    for (int column = 0; column < LayerColumns; ++column) {
        const int width = std::max(widths[column], header->sectionSizeHint(column));
        if (column != MaterialColumn)
            header->resizeSection(column, width);
        total += width;
    }
    header->setSectionResizeMode(CoatsColumn, QHeaderView::Fixed);
    // A cell is its row less the grid line.
    const int row = std::max({material.sizeHint().height(), coats.sizeHint().height(),
                              text.sizeHint().height()}) +
                    (layers_->showGrid() ? 1 : 0);
    layers_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    layers_->verticalHeader()->setDefaultSectionSize(row);
    // The material column stretches over the rest, never below the longest name; putty,
    // sanding, primer and two coats in sight, more scrolled to.
    const int frame = 2 * layers_->frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    layers_->setMinimumSize(layers_->verticalHeader()->sizeHint().width() + total + frame + bar,
                            header->sizeHint().height() + 5 * row + frame);
}

void SystemsDialog::fitHeight() {
    const int needed = heightForWidth(width());
    if (needed > 0)
        setMinimumHeight(needed);
}

void SystemsDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitHeight();
}

void SystemsDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitLayers();
}

void SystemsDialog::setUsedSystems(QSet<int> ids, EstimatePrompts* prompts) {
    used_ = std::move(ids);
    used_.remove(0);
    prompts_ = prompts ? prompts : &EstimatePrompts::real();
}

void SystemsDialog::setSeparator(QChar separator) {
    separator_ = separator;
    refreshLayersText();
}

int SystemsDialog::current() const {
    return list_->currentRow();
}

void SystemsDialog::select(int row) {
    list_->setCurrentRow(row);
}

void SystemsDialog::refreshItem(int row) {
    const QString name = systems_[row].name.trimmed();
    QListWidgetItem* item = list_->item(row);
    item->setText(name.isEmpty() ? QStringLiteral("(без названия)") : name);
    item->setData(Qt::UserRole, systems_[row].id); // renaming keeps the lines' system
}

void SystemsDialog::showSystem() {
    const int row = current();
    showing_ = true;
    editors_->setEnabled(row >= 0);
    const PaintSystem shown = row >= 0 ? systems_[row] : PaintSystem{};
    name_->setText(shown.name);
    showing_ = false;
    showLayers(shown.layers.isEmpty() ? -1 : 0);
}

void SystemsDialog::showLayers(int currentLayer) {
    showing_ = true;
    layers_->setRowCount(0);
    if (current() >= 0)
        for (const Layer& layer : systems_[current()].layers)
            addLayerRow(layer);
    // The new editors follow the table in the Tab order, a row's cells from left to right.
    QWidget* previous = layers_;
    for (int row = 0; row < layers_->rowCount(); ++row)
        for (int column = 0; column < LayerColumns; ++column) {
            QWidget::setTabOrder(previous, layers_->cellWidget(row, column));
            previous = layers_->cellWidget(row, column);
        }
    if (currentLayer >= 0)
        layers_->setCurrentCell(currentLayer, MaterialColumn);
    showing_ = false;
    refreshLayersText();
}

void SystemsDialog::addLayerRow(const Layer& layer) {
    const int row = layers_->rowCount();
    layers_->insertRow(row);
    auto* material = new QComboBox;
    material->setAccessibleName(QStringLiteral("Материал слоя %1").arg(row + 1));
    // Sanding, or putty the client supplies: work that takes no material of the sheet's.
    material->addItem(kNoMaterial, 0);
    for (const QList<Material>* list : {&materials_, &added_})
        for (const Material& m : *list)
            material->addItem(m.name, m.id);
    // A material the sheet no longer has shows as none, and OK says so.
    material->setCurrentIndex(material->findData(layer.material));
    const auto text = [&](const QString& value, const QString& name, const QString& hint) {
        auto* edit = new QLineEdit(value);
        edit->setAccessibleName(name.arg(row + 1));
        edit->setPlaceholderText(hint);
        edit->setFrame(false);
        connect(edit, &QLineEdit::textChanged, this, &SystemsDialog::readLayers);
        return edit;
    };
    QLineEdit* work =
        text(layer.work, QStringLiteral("Работа слоя %1"), layer.material ? QString() : kWorkHint);
    auto* coats = new QSpinBox;
    coats->setAccessibleName(QStringLiteral("Слоёв материала %1").arg(row + 1));
    coats->setRange(1, 99);
    coats->setValue(layer.coats);
    coats->setFrame(false);
    QLineEdit* price = text(layer.price, QStringLiteral("Цена работ слоя %1, руб. за единицу"), {});
    price->setAlignment(Qt::AlignRight);
    QLineEdit* code = text(layer.code, QStringLiteral("Шифр нормы слоя %1"), {});
    const std::array<QWidget*, LayerColumns> editors{material, work, coats, price, code};
    for (int column = 0; column < LayerColumns; ++column) {
        editors[column]->installEventFilter(this); // focus on an editor makes its row current
        layers_->setCellWidget(row, column, editors[column]);
    }
    connect(material, &QComboBox::currentIndexChanged, this, [this, material, work] {
        work->setPlaceholderText(material->currentData().toInt() ? QString() : kWorkHint);
        readLayers();
    });
    connect(coats, &QSpinBox::valueChanged, this, &SystemsDialog::readLayers);
}

void SystemsDialog::readLayers() {
    if (showing_ || current() < 0)
        return;
    QList<Layer>& layers = systems_[current()].layers;
    const auto textOf = [this](int row, int column) {
        return qobject_cast<QLineEdit*>(layers_->cellWidget(row, column))->text();
    };
    for (int row = 0; row < layers_->rowCount() && row < layers.size(); ++row) {
        const auto* material = qobject_cast<QComboBox*>(layers_->cellWidget(row, MaterialColumn));
        Layer& layer = layers[row];
        // A material the sheet no longer has stays named by its id until another is chosen.
        if (material->currentIndex() >= 0)
            layer.material = material->currentData().toInt();
        layer.coats = qobject_cast<QSpinBox*>(layers_->cellWidget(row, CoatsColumn))->value();
        layer.work = textOf(row, WorkColumn);
        layer.price = textOf(row, PriceColumn);
        layer.code = textOf(row, CodeColumn);
    }
    refreshLayersText();
}

bool SystemsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        for (int row = 0; row < layers_->rowCount(); ++row)
            for (int column = 0; column < LayerColumns; ++column)
                if (layers_->cellWidget(row, column) == watched)
                    layers_->setCurrentCell(row, column);
    return QDialog::eventFilter(watched, event);
}

void SystemsDialog::addLayer() {
    if (current() < 0)
        return;
    // The next material after the last layer's: primer, then the paint over it.
    QList<Layer>& layers = systems_[current()].layers;
    QList<Material> all = materials_ + added_;
    int material = all.isEmpty() ? 0 : all.front().id;
    if (!layers.isEmpty())
        for (qsizetype i = 0; i + 1 < all.size(); ++i)
            if (all[i].id == layers.back().material)
                material = all[i + 1].id;
    layers.append({material, 1});
    showLayers(int(layers.size()) - 1);
    layers_->cellWidget(layers_->rowCount() - 1, MaterialColumn)->setFocus();
}

void SystemsDialog::removeLayer() {
    const int row = layers_->currentRow();
    if (current() < 0 || row < 0)
        return;
    QList<Layer>& layers = systems_[current()].layers;
    layers.removeAt(row);
    showLayers(std::min(row, int(layers.size()) - 1));
}

void SystemsDialog::moveLayer(int delta) {
    const int row = layers_->currentRow();
    if (current() < 0 || row < 0)
        return;
    QList<Layer>& layers = systems_[current()].layers;
    if (row + delta < 0 || row + delta >= layers.size())
        return;
    layers.swapItemsAt(row, row + delta);
    showLayers(row + delta);
}

void SystemsDialog::refreshLayersText() {
    layersText_->setText(current() >= 0 ? systems_[current()].layersText(materials_ + added_)
                                        : QString());
    // What a line painted with the system is priced at, its layers' prices summed.
    Decimal sum;
    bool priced = false;
    if (current() >= 0)
        for (const Layer& layer : systems_[current()].layers)
            if (const auto price = Decimal::parse(layer.price); price && !price->isNegative()) {
                sum += *price;
                priced = true;
            }
    workPrice_->setText(priced ? moneyText(sum, separator_) + QStringLiteral(" (сумма слоёв)")
                               : QStringLiteral("не задана"));
    fitHeight();
}

void SystemsDialog::addSystem() {
    systems_.append(PaintSystem{});
    list_->addItem(QString());
    refreshItem(list_->count() - 1);
    select(list_->count() - 1);
    name_->setFocus();
}

void SystemsDialog::removeSystem() {
    const int row = current();
    if (row < 0)
        return;
    if (used_.contains(systems_[row].id) &&
        !prompts_->confirm(this, QStringLiteral("Система «%1» указана в строках ведомости; у "
                                                "этих строк системы не будет. Удалить?")
                                     .arg(systems_[row].name.trimmed())))
        return;
    systems_.removeAt(row);
    delete list_->takeItem(row);
    select(std::min(row, list_->count() - 1));
    showSystem(); // also where the current row number stayed the same
}

bool SystemsDialog::knownMaterial(int id) const {
    return materialOf(materials_, id) || materialOf(added_, id);
}

namespace {

// The materials added from templates that layers still use, by their place among the added.
QList<int> addedInUse(const QList<PaintSystem>& systems, const QList<Material>& added) {
    QList<int> used;
    for (qsizetype i = 0; i < added.size(); ++i) {
        const bool inUse = std::any_of(systems.begin(), systems.end(), [&](const PaintSystem& s) {
            return std::any_of(s.layers.begin(), s.layers.end(),
                               [&](const Layer& l) { return l.material == added[i].id; });
        });
        if (inUse)
            used << int(i);
    }
    return used;
}

} // namespace

QList<PaintSystem> SystemsDialog::systems() const {
    // Added materials no system uses any longer are left out, and the ids close up.
    const QList<int> inUse = addedInUse(systems_, added_);
    QList<PaintSystem> list = systems_;
    for (PaintSystem& s : list) {
        s.name = s.name.trimmed();
        for (Layer& layer : s.layers) {
            layer.work = layer.work.trimmed();
            layer.price = layer.price.trimmed();
            layer.code = layer.code.trimmed();
            if (layer.material < 0)
                layer.material = -1 - int(inUse.indexOf(-1 - layer.material));
        }
    }
    return list;
}

QList<Material> SystemsDialog::addedMaterials() const {
    QList<Material> list;
    for (int i : addedInUse(systems_, added_)) {
        list.append(added_[i]);
        list.back().id = 0;
    }
    return list;
}

QString SystemsDialog::problem() const {
    int row;
    return problemAt(row);
}

QString SystemsDialog::problemAt(int& row) const {
    QStringList names;
    for (qsizetype i = 0; i < systems_.size(); ++i) {
        const PaintSystem& s = systems_[i];
        QString problem = s.problem();
        for (qsizetype layer = 0; problem.isEmpty() && layer < s.layers.size(); ++layer)
            if (s.layers[layer].material != 0 && !knownMaterial(s.layers[layer].material))
                problem = QStringLiteral("у слоя %1 нет материала").arg(layer + 1);
        if (problem.isEmpty() && names.contains(s.name.trimmed()))
            problem = QStringLiteral("название «%1» уже есть").arg(s.name.trimmed());
        if (!problem.isEmpty()) {
            row = int(i);
            return QStringLiteral("Система %1: %2.").arg(i + 1).arg(problem);
        }
        names << s.name.trimmed();
    }
    return {};
}

void SystemsDialog::accept() {
    int row = -1;
    const QString problem = problemAt(row);
    problem_->setText(problem);
    if (problem.isEmpty())
        QDialog::accept();
    else
        select(row); // the system at fault, to be put right
}

bool SystemsDialog::saveTemplate() {
    const int row = current();
    if (row < 0)
        return false;
    const PaintSystem& s = systems_[row];
    SystemTemplate t{s.name.trimmed(), {}};
    QString problem = s.problem();
    for (const Layer& layer : s.layers) {
        if (layer.material == 0) {
            t.layers.append({std::nullopt, layer});
            continue;
        }
        const Material* m = materialOf(materials_, layer.material);
        if (!m)
            m = materialOf(added_, layer.material);
        if (!m) {
            problem = QStringLiteral("у слоя %1 нет материала").arg(t.layers.size() + 1);
            break;
        }
        if (const QString unsound = m->problem(); !unsound.isEmpty()) {
            problem = QStringLiteral("материал «%1»: %2").arg(m->name, unsound);
            break;
        }
        t.layers.append({*m, layer});
        t.layers.back().material->id = 0;
        t.layers.back().layer.material = 0;
    }
    if (!problem.isEmpty()) {
        problem_->setText(
            QStringLiteral("Система %1: %2; как шаблон не сохранена.").arg(row + 1).arg(problem));
        return false;
    }
    QList<SystemTemplate> list = readTemplates();
    const auto same = std::find_if(list.begin(), list.end(),
                                   [&](const SystemTemplate& kept) { return kept.name == t.name; });
    if (same != list.end()) {
        if (!prompts_->confirm(this,
                               QStringLiteral("Шаблон «%1» уже есть. Заменить его?").arg(t.name)))
            return false;
        *same = t;
    } else {
        list.append(t);
    }
    writeTemplates(list);
    problem_->clear();
    refreshTemplates();
    return true;
}

void SystemsDialog::refreshTemplates() {
    fromTemplate_->setEnabled(!readTemplates().isEmpty());
}

int SystemsDialog::materialFor(const Material& material) {
    for (const QList<Material>* list : {&materials_, &added_})
        for (const Material& m : *list)
            if (m.name == material.name)
                return m.id;
    added_.append(material);
    added_.back().id = -int(added_.size());
    return added_.back().id;
}

bool SystemsDialog::addFromTemplate() {
    const QList<SystemTemplate> list = readTemplates();
    QStringList names;
    for (const SystemTemplate& t : list)
        names << t.name;
    if (names.isEmpty())
        return false;
    const QString chosen = prompts_->choose(this, QStringLiteral("Шаблон системы окраски:"), names);
    if (!names.contains(chosen))
        return false;
    const SystemTemplate& t = list[names.indexOf(chosen)];
    PaintSystem s{0, t.name, {}};
    for (const TemplateLayer& each : t.layers) {
        s.layers.append(each.layer);
        s.layers.back().material = each.material ? materialFor(*each.material) : 0;
    }
    systems_.append(s);
    list_->addItem(QString());
    refreshItem(list_->count() - 1);
    select(list_->count() - 1);
    fitLayers(); // it may have brought materials with longer names
    return true;
}


} // namespace velaro
