#include "estimate/gui/systemsdialog.h"

#include "core/settings.h"
#include "estimate/gui/dialogparts.h"
#include "estimate/gui/estimateprompts.h"

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
#include <optional>

namespace velaro {
namespace {

enum LayerColumn { MaterialColumn, CoatsColumn };

// A template carries its materials whole: the sheet it is added to may not have them.
struct TemplateLayer {
    Material material;
    int coats = 1;
};

struct SystemTemplate {
    QString name;
    QString price;
    QString code;
    QList<TemplateLayer> layers;
};

// Kept in the user's settings, not in a sheet, so that they serve every sheet.
const QString kTemplatesGroup = QStringLiteral("systemTemplates");
const QString kTemplatesKey = QStringLiteral("list");

QJsonObject toJson(const SystemTemplate& t) {
    QJsonArray layers;
    for (const TemplateLayer& layer : t.layers) {
        const Material& m = layer.material;
        layers.append(QJsonObject{{"coats", layer.coats},
                                  {"material", QJsonObject{{"name", m.name},
                                                           {"unit", m.unit},
                                                           {"consumption", m.consumption},
                                                           {"waste", m.waste},
                                                           {"canSize", m.canSize},
                                                           {"price", m.price}}}});
    }
    return {{"name", t.name}, {"price", t.price}, {"code", t.code}, {"layers", layers}};
}

// nullopt for anything a damaged or foreign settings file may hold instead of a sound template.
std::optional<SystemTemplate> fromJson(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    SystemTemplate t{object.value("name").toString().trimmed(),
                     object.value("price").toString(),
                     object.value("code").toString(),
                     {}};
    if (t.name.isEmpty() || !object.value("layers").isArray())
        return std::nullopt;
    for (const QJsonValue& entry : object.value("layers").toArray()) {
        const QJsonObject layer = entry.toObject();
        const QJsonObject m = layer.value("material").toObject();
        TemplateLayer read;
        read.coats = layer.value("coats").toInt(0);
        read.material.name = m.value("name").toString().trimmed();
        read.material.unit = m.value("unit").toString();
        read.material.consumption = m.value("consumption").toString();
        read.material.waste = m.value("waste").toString();
        read.material.canSize = m.value("canSize").toString();
        read.material.price = m.value("price").toString();
        if (!read.material.problem().isEmpty())
            return std::nullopt;
        t.layers.append(read);
    }
    PaintSystem check{0, t.name, {}, t.price, t.code};
    for (const TemplateLayer& layer : t.layers)
        check.layers.append({0, layer.coats});
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

const Material* materialOf(const QList<Material>& materials, int id) {
    for (const Material& m : materials)
        if (m.id == id)
            return &m;
    return nullptr;
}

} // namespace

SystemsDialog::SystemsDialog(const QList<PaintSystem>& systems, const QList<Material>& materials,
                             QWidget* parent)
    : QDialog(parent), systems_(systems), materials_(materials), prompts_(&EstimatePrompts::real()),
      list_(new QListWidget(this)), name_(new QLineEdit(this)),
      layers_(new QTableWidget(0, 2, this)), price_(new QLineEdit(this)),
      code_(new QLineEdit(this)), layersText_(new QLabel(this)), editors_(new QWidget(this)),
      problem_(problemLabel(this)) {
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
    layers_->setHorizontalHeaderLabels({QStringLiteral("Материал"), QStringLiteral("Слоёв")});
    layers_->horizontalHeader()->setSectionResizeMode(MaterialColumn, QHeaderView::Stretch);
    layers_->horizontalHeader()->setSectionResizeMode(CoatsColumn, QHeaderView::ResizeToContents);
    QPushButton* addLayer = button(QStringLiteral("Добавить сло&й"), "addLayer");
    QPushButton* removeLayer = button(QStringLiteral("Убрать сл&ой"), "removeLayer");
    QPushButton* up = button(QStringLiteral("В&ыше"), "layerUp");
    QPushButton* down = button(QStringLiteral("Ни&же"), "layerDown");
    connect(addLayer, &QPushButton::clicked, this, &SystemsDialog::addLayer);
    connect(removeLayer, &QPushButton::clicked, this, &SystemsDialog::removeLayer);
    connect(up, &QPushButton::clicked, this, [this] { moveLayer(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveLayer(+1); });
    price_->setObjectName("systemPrice");
    code_->setObjectName("systemCode");
    layersText_->setObjectName("layersText");
    // Wrapped rather than scrolled sideways: every material named whole, however many layers.
    layersText_->setWordWrap(true);
    layersText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layersText_->setAccessibleName(QStringLiteral("Состав"));

    auto* buttons = okCancelButtons(*this);

    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!showing_ && current() >= 0) {
            systems_[current()].name = text;
            refreshItem(current());
        }
    });
    connect(price_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!showing_ && current() >= 0)
            systems_[current()].price = text;
    });
    connect(code_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!showing_ && current() >= 0)
            systems_[current()].code = text;
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
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    form->addRow(QStringLiteral("&Название:"), name_);
    form->addRow(QStringLiteral("Сло&и, в порядке окраски:"), layersRow);
    form->addRow(QStringLiteral("&Цена работ за единицу, руб.:"), price_);
    form->addRow(QStringLiteral("Ши&фр нормы:"), code_);
    form->addRow(QStringLiteral("Сос&тав:"), layersText_);
    // The layers' label leads to the table, not to the first button beside it.
    qobject_cast<QLabel*>(form->labelForField(layersRow))->setBuddy(layers_);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
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
                                   price_,
                                   code_,
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
    resize(820, 440);
}

void SystemsDialog::fitLayers() {
    // Editors like those of the cells, holding every material a layer may take.
    QComboBox material;
    QSpinBox coats;
    for (QWidget* probe : std::initializer_list<QWidget*>{&material, &coats})
        probe->setFont(layers_->font());
    for (const QList<Material>* list : {&materials_, &added_})
        for (const Material& m : *list)
            material.addItem(m.name);
    coats.setRange(1, 99);
    QHeaderView* header = layers_->horizontalHeader();
    const int materialWidth =
        std::max(material.sizeHint().width(), header->sectionSizeHint(MaterialColumn));
    const int coatsWidth = std::max(coats.sizeHint().width(), header->sectionSizeHint(CoatsColumn));
    header->setSectionResizeMode(CoatsColumn, QHeaderView::Fixed);
    header->resizeSection(CoatsColumn, coatsWidth);
    // A cell is its row less the grid line.
    const int row = std::max(material.sizeHint().height(), coats.sizeHint().height()) +
                    (layers_->showGrid() ? 1 : 0);
    layers_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    layers_->verticalHeader()->setDefaultSectionSize(row);
    // The material column stretches over the rest, never below the longest name; three layers
    // in sight, the others scrolled to.
    const int frame = 2 * layers_->frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    layers_->setMinimumSize(
        layers_->verticalHeader()->sizeHint().width() + materialWidth + coatsWidth + frame + bar,
        header->sizeHint().height() + 3 * row + frame);
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
    price_->setText(shown.price);
    code_->setText(shown.code);
    showing_ = false;
    showLayers(shown.layers.isEmpty() ? -1 : 0);
}

void SystemsDialog::showLayers(int currentLayer) {
    showing_ = true;
    layers_->setRowCount(0);
    if (current() >= 0)
        for (const Layer& layer : systems_[current()].layers)
            addLayerRow(layer);
    // The new editors follow the table in the Tab order, a row's material then its coats.
    QWidget* previous = layers_;
    for (int row = 0; row < layers_->rowCount(); ++row)
        for (int column : {MaterialColumn, CoatsColumn}) {
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
    for (const QList<Material>* list : {&materials_, &added_})
        for (const Material& m : *list)
            material->addItem(m.name, m.id);
    // A material the sheet no longer has shows as none, and OK says so.
    material->setCurrentIndex(material->findData(layer.material));
    auto* coats = new QSpinBox;
    coats->setAccessibleName(QStringLiteral("Слоёв материала %1").arg(row + 1));
    coats->setRange(1, 99);
    coats->setValue(layer.coats);
    for (QWidget* editor : std::initializer_list<QWidget*>{material, coats})
        editor->installEventFilter(this); // focus on an editor makes its row the current one
    connect(material, &QComboBox::currentIndexChanged, this, &SystemsDialog::readLayers);
    connect(coats, &QSpinBox::valueChanged, this, &SystemsDialog::readLayers);
    layers_->setCellWidget(row, MaterialColumn, material);
    layers_->setCellWidget(row, CoatsColumn, coats);
}

void SystemsDialog::readLayers() {
    if (showing_ || current() < 0)
        return;
    QList<Layer>& layers = systems_[current()].layers;
    layers.clear();
    for (int row = 0; row < layers_->rowCount(); ++row) {
        const auto* material = qobject_cast<QComboBox*>(layers_->cellWidget(row, MaterialColumn));
        const auto* coats = qobject_cast<QSpinBox*>(layers_->cellWidget(row, CoatsColumn));
        layers.append({material->currentData().toInt(), coats->value()});
    }
    refreshLayersText();
}

bool SystemsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        for (int row = 0; row < layers_->rowCount(); ++row)
            for (int column : {MaterialColumn, CoatsColumn})
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
        s.price = s.price.trimmed();
        s.code = s.code.trimmed();
        for (Layer& layer : s.layers)
            if (layer.material < 0)
                layer.material = -1 - int(inUse.indexOf(-1 - layer.material));
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
            if (!knownMaterial(s.layers[layer].material))
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
    SystemTemplate t{s.name.trimmed(), s.price.trimmed(), s.code.trimmed(), {}};
    QString problem = s.problem();
    for (const Layer& layer : s.layers) {
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
        t.layers.append({*m, layer.coats});
        t.layers.back().material.id = 0;
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
    PaintSystem s{0, t.name, {}, t.price, t.code};
    for (const TemplateLayer& layer : t.layers)
        s.layers.append({materialFor(layer.material), layer.coats});
    systems_.append(s);
    list_->addItem(QString());
    refreshItem(list_->count() - 1);
    select(list_->count() - 1);
    fitLayers(); // it may have brought materials with longer names
    return true;
}


} // namespace velaro
