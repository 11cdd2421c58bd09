#include "estimate/gui/cataloguedialog.h"

#include "estimate/estimate.h"
#include "estimate/gui/catalogueactions.h"
#include "estimate/gui/dialogparts.h"
#include "estimate/gui/estimateprompts.h"
#include "estimate/gui/estimatewindow.h"
#include "estimate/gui/materialsdialog.h"
#include "estimate/priceupdate.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace velaro {
namespace {

QString cansText(const Material& m, QChar separator) {
    QStringList cans;
    for (const Can& can : m.cans) {
        const auto size = Decimal::parse(can.size);
        const auto price = Decimal::parse(can.price);
        cans << QStringLiteral("%1 %2 — %3")
                    .arg(size ? size->text(separator) : can.size, m.unit,
                         price ? price->text(separator, 2, true) : QStringLiteral("без цены"));
    }
    return cans.join(QStringLiteral("; "));
}

} // namespace

CatalogueDialog::CatalogueDialog(EstimateWindow& window)
    : QDialog(&window), window_(window), path_(new QLabel(this)),
      table_(new QTableWidget(0, 3, this)), problem_(problemLabel(this)),
      watcher_(new QFileSystemWatcher(this)) {
    setObjectName("CatalogueDialog");
    setWindowTitle(QStringLiteral("Каталог фирмы"));
    path_->setObjectName("cataloguePath");
    path_->setWordWrap(true);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table_->setObjectName("catalogue");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setHorizontalHeaderLabels({QStringLiteral("Материал или система"),
                                       QStringLiteral("Ед."),
                                       QStringLiteral("Тара и цены, руб. / слои")});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table_->verticalHeader()->hide();

    const auto button = [this](const QString& text, const char* name,
                               void (CatalogueDialog::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* buttons = new QGridLayout;
    buttons->addWidget(button(QStringLiteral("&Прайс-лист поставщика…"), "importPriceList",
                              &CatalogueDialog::importPriceList),
                       0, 0);
    buttons->addWidget(
        button(QStringLiteral("Из &ведомости"), "addFromSheet", &CatalogueDialog::addFromSheet), 0,
        1);
    buttons->addWidget(button(QStringLiteral("&Материалы…"), "editCatalogueMaterials",
                              &CatalogueDialog::editMaterials),
                       0, 2);
    buttons->addWidget(button(QStringLiteral("&Общая папка…"), "chooseCatalogueFolder",
                              &CatalogueDialog::chooseFolder),
                       1, 0);
    buttons->addWidget(
        button(QStringLiteral("&Своя папка"), "ownCatalogueFolder", &CatalogueDialog::useOwnFolder),
        1, 1);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* note = new QLabel(
        QStringLiteral("Каталог — общий прайс фирмы: ведомости берут из него копии материалов "
                       "и систем («Правка ▸ Взять из каталога…») и обновляют по нему цены "
                       "(«Правка ▸ Обновить цены из каталога…»). Положите его в общую папку, "
                       "чтобы им пользовались все сметчики."),
        this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(path_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    layout->addWidget(problem_);
    layout->addWidget(close);
    resize(720, 460);
    // Another estimator's change shows here as it is written (a file replaced whole is a new
    // file: the folder is watched too).
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &CatalogueDialog::reload);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &CatalogueDialog::reload);
    reload();
}

void CatalogueDialog::reload() {
    CatalogueStore& store = catalogueStore();
    const QString problem = store.refresh();
    problem_->setText(problem.isEmpty() ? QString()
                                        : QStringLiteral("Каталог не прочитан: %1.").arg(problem));
    path_->setText(
        QStringLiteral("Файл каталога: %1%2")
            .arg(QDir::toNativeSeparators(store.path()),
                 QFileInfo::exists(store.path()) ? QString() : QStringLiteral(" (ещё не создан)")));
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty())
        watcher_->removePaths(watched);
    if (QFileInfo::exists(store.path()))
        watcher_->addPath(store.path());
    if (QFileInfo::exists(QFileInfo(store.path()).absolutePath()))
        watcher_->addPath(QFileInfo(store.path()).absolutePath());

    const PriceCatalogue& catalogue = store.catalogue();
    const QChar separator = window_.estimate().separator();
    table_->setRowCount(0);
    const auto addRow = [this](const QString& name, const QString& unit, const QString& rest) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        table_->setItem(row, 0, new QTableWidgetItem(name));
        table_->setItem(row, 1, new QTableWidgetItem(unit));
        table_->setItem(row, 2, new QTableWidgetItem(rest));
    };
    for (const Material& m : catalogue.materials)
        addRow(m.name, m.unit, cansText(m, separator));
    for (const PaintSystem& s : catalogue.systems) {
        QStringList layers;
        for (const Layer& layer : s.layers) {
            const Material* m = nullptr;
            for (const Material& each : catalogue.materials)
                if (each.id == layer.material)
                    m = &each;
            const auto price = Decimal::parse(layer.price);
            layers << QStringLiteral("%1 ×%2%3")
                          .arg(m ? m->name : layer.work)
                          .arg(layer.coats)
                          .arg(price ? QStringLiteral(" — %1/ед.").arg(price->text(separator))
                                     : QString());
        }
        addRow(QStringLiteral("Система «%1»").arg(s.name), {}, layers.join(QStringLiteral(" + ")));
    }
}

bool CatalogueDialog::written(const QString& problem) {
    if (!problem.isEmpty())
        window_.prompts().error(this, QStringLiteral("Каталог не записан: %1.").arg(problem));
    reload();
    return problem.isEmpty();
}

void CatalogueDialog::chooseFolder() {
    const QString folder = window_.prompts().folderName(
        this, QStringLiteral("Папка каталога фирмы"), QFileInfo(cataloguePath()).absolutePath());
    if (folder.isEmpty())
        return;
    setCatalogueFolder(folder);
    reload();
}

void CatalogueDialog::useOwnFolder() {
    setCatalogueFolder({});
    reload();
}

void CatalogueDialog::importPriceList() {
    const QString path = window_.prompts().openFileName(
        this, QStringLiteral("Прайс-лист поставщика"), window_.startFolder(),
        QStringLiteral("Прайс-лист (*.csv *.txt *.xlsx);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    window_.rememberFolder(path);
    importPriceListFile(this, window_.prompts(), path, window_.estimate().separator());
    reload();
}

void CatalogueDialog::addFromSheet() {
    const Sheet& sheet = window_.estimate().sheet();
    CatalogueStore& store = catalogueStore();
    if (!written(store.refresh()))
        return;
    QStringList changes;
    for (const Material& m : sheet.materials)
        changes << QStringLiteral("Материал «%1»: %2")
                       .arg(m.name, store.catalogue().material(m.name)
                                        ? QStringLiteral("заменится")
                                        : QStringLiteral("добавится"));
    for (const PaintSystem& s : sheet.systems)
        changes << QStringLiteral("Система «%1»: %2")
                       .arg(s.name, store.catalogue().system(s.name) ? QStringLiteral("заменится")
                                                                     : QStringLiteral("добавится"));
    if (!window_.prompts().preview(this, QStringLiteral("В каталог из ведомости"), {}, changes,
                                   changes.isEmpty()
                                       ? QStringLiteral("В ведомости нет ни материалов, ни систем.")
                                       : QStringLiteral("Одноимённые материалы и системы каталога "
                                                        "заменятся копиями из ведомости.")))
        return;
    written(store.change([&](PriceCatalogue& catalogue) {
        catalogue = withSheetCopies(catalogue, sheet);
        return true;
    }));
}

void CatalogueDialog::editMaterials() {
    CatalogueStore& store = catalogueStore();
    if (!written(store.refresh()))
        return;
    MaterialsDialog dialog(store.catalogue().materials, this);
    dialog.setWindowTitle(QStringLiteral("Материалы каталога"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    QList<Material> edited = dialog.materials();
    written(store.change([&](PriceCatalogue& catalogue) {
        int next = 1;
        for (const Material& m : catalogue.materials + edited)
            next = std::max(next, m.id + 1);
        for (Material& m : edited)
            if (m.id <= 0)
                m.id = next++;
        // A material removed leaves the systems; a layer of it priced or coded stays as work
        // under its name, as in a sheet, so that the work's price does not go unnoticed.
        for (PaintSystem& s : catalogue.systems) {
            QList<Layer> kept;
            for (Layer layer : s.layers) {
                const bool gone =
                    layer.material != 0 &&
                    std::none_of(edited.begin(), edited.end(),
                                 [&](const Material& m) { return m.id == layer.material; });
                if (gone) {
                    if (layer.price.trimmed().isEmpty() && layer.code.trimmed().isEmpty())
                        continue;
                    if (layer.work.trimmed().isEmpty())
                        for (const Material& m : catalogue.materials)
                            if (m.id == layer.material)
                                layer.work = m.name;
                    layer.material = 0;
                }
                kept << layer;
            }
            s.layers = kept;
        }
        catalogue.materials = edited;
        return true;
    }));
}

} // namespace velaro
