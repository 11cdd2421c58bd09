#include "estimate/gui/catalogueactions.h"

#include "core/settings.h"
#include "estimate/estimate.h"
#include "estimate/gui/estimateprompts.h"
#include "estimate/gui/estimatewindow.h"
#include "estimate/priceupdate.h"
#include "estimate/safefile.h"
#include "estimate/sheeteditor.h"
#include "estimate/xlsxexport.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace velaro {
namespace {

const QString kPathKey = QStringLiteral("catalogue/path");

QString money(const Decimal& value, QChar separator) {
    return value.text(separator, 2, true) + QStringLiteral(" руб.");
}

QStringList changeLines(const QList<PriceChange>& changes) {
    QStringList lines;
    for (const PriceChange& c : changes)
        lines << QStringLiteral("%1: %2 → %3").arg(c.what, c.before, c.after);
    return lines;
}

// The catalogue read afresh; false, said in a box, where it cannot be.
bool refreshed(QWidget* parent, EstimatePrompts& prompts, CatalogueStore& store) {
    const QString problem = store.refresh();
    if (!problem.isEmpty())
        prompts.error(parent, QStringLiteral("Не удалось прочитать каталог «%1»: %2.")
                                  .arg(QDir::toNativeSeparators(store.path()), problem));
    return problem.isEmpty();
}

// Says where the catalogue is empty (not made yet, or on another folder); true where it is.
bool saidEmpty(EstimateWindow& window, const CatalogueStore& store) {
    const PriceCatalogue& catalogue = store.catalogue();
    if (!catalogue.materials.isEmpty() || !catalogue.systems.isEmpty())
        return false;
    window.prompts().notice(&window, QStringLiteral("Каталог «%1» пуст: заполните его в "
                                                    "«Правка ▸ Каталог фирмы…».")
                                         .arg(QDir::toNativeSeparators(store.path())));
    return true;
}

} // namespace

QString cataloguePath() {
    const QString path = programSettings()->value(kPathKey).toString();
    return path.isEmpty() ? CatalogueStore::defaultPath() : path;
}

void setCatalogueFolder(const QString& folder) {
    if (folder.isEmpty())
        programSettings()->remove(kPathKey);
    else
        programSettings()->setValue(
            kPathKey, QDir(folder).filePath(QStringLiteral("catalogue.") + kCatalogueSuffix));
}

CatalogueStore& catalogueStore() {
    static std::unique_ptr<CatalogueStore> store;
    const QString path = cataloguePath();
    if (!store || store->path() != path)
        store = std::make_unique<CatalogueStore>(path);
    return *store;
}

void takeFromCatalogue(EstimateWindow& window) {
    CatalogueStore& store = catalogueStore();
    if (!refreshed(&window, window.prompts(), store))
        return;
    if (saidEmpty(window, store))
        return;
    const PriceCatalogue& catalogue = store.catalogue();
    QStringList items;
    for (const PaintSystem& s : catalogue.systems)
        items << QStringLiteral("Система «%1» — %2").arg(s.name, s.layersText(catalogue.materials));
    for (const Material& m : catalogue.materials)
        items << QStringLiteral("Материал «%1»").arg(m.name);
    const QStringList chosen = window.prompts().chooseSeveral(
        &window,
        QStringLiteral("Что взять в ведомость? Одноимённые материалы и системы ведомости "
                       "заменятся копиями из каталога; система приносит свои материалы."),
        items);
    if (chosen.isEmpty())
        return;
    QStringList systems, materials;
    for (const QString& item : chosen) {
        const qsizetype index = items.indexOf(item);
        if (index < catalogue.systems.size())
            systems << catalogue.systems[index].name;
        else
            materials << catalogue.materials[index - catalogue.systems.size()].name;
    }
    const SheetCopies copies =
        copiesFromCatalogue(window.estimate().sheet(), catalogue, materials, systems);
    window.editor().takeFromCatalogue(copies.materials, copies.systems, store.path(),
                                      QStringLiteral("из каталога"));
}

void updatePricesFromCatalogue(EstimateWindow& window) {
    const Sheet& sheet = window.estimate().sheet();
    // The sheet's own catalogue, where it is reachable from here.
    std::unique_ptr<CatalogueStore> own;
    if (!sheet.catalogue.isEmpty() && sheet.catalogue != catalogueStore().path() &&
        QFileInfo::exists(sheet.catalogue))
        own = std::make_unique<CatalogueStore>(sheet.catalogue);
    CatalogueStore& store = own ? *own : catalogueStore();
    if (!refreshed(&window, window.prompts(), store) || saidEmpty(window, store))
        return;
    const QChar separator = window.estimate().separator();
    const SheetPriceUpdate update = sheetPriceUpdate(sheet, store.catalogue(), separator);
    const QString title =
        QStringLiteral("Цены из каталога «%1»").arg(QDir::toNativeSeparators(store.path()));
    if (update.changes.isEmpty()) {
        window.prompts().preview(&window, title, {}, {},
                                 QStringLiteral("Цены ведомости те же, что в каталоге."));
        return;
    }
    Sheet after = sheet;
    after.materials = update.materials;
    after.systems = update.systems;
    const QString summary = QStringLiteral("Итого по ведомости: %1 → %2")
                                .arg(money(grandTotal(sheet, separator), separator),
                                     money(grandTotal(after, separator), separator));
    if (window.prompts().preview(&window, title, {}, changeLines(update.changes), summary))
        window.editor().takeFromCatalogue(update.materials, update.systems, store.path(),
                                          QStringLiteral("цены из каталога"));
}

bool importPriceListFile(QWidget* parent, EstimatePrompts& prompts, const QString& path,
                         QChar separator) {
    Records records;
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        auto read = readXlsxRows(path);
        if (const QString* problem = std::get_if<QString>(&read)) {
            prompts.error(parent, QStringLiteral("Не удалось прочитать «%1»: %2.")
                                      .arg(QDir::toNativeSeparators(path), *problem));
            return false;
        }
        records = std::get<Records>(std::move(read));
    } else {
        auto bytes = readFileAtMost(path, kLargestCatalogueFile);
        if (const QString* problem = std::get_if<QString>(&bytes)) {
            prompts.error(parent, QStringLiteral("Не удалось прочитать «%1»: %2.")
                                      .arg(QDir::toNativeSeparators(path), *problem));
            return false;
        }
        records = csvRecords(std::get<QByteArray>(bytes));
    }
    const PriceList list = priceListOf(records);
    CatalogueStore& store = catalogueStore();
    if (!refreshed(parent, prompts, store))
        return false;
    const CatalogueImport preview = importPriceList(store.catalogue(), list, separator);
    const QString summary = preview.changes.isEmpty()
                                ? QStringLiteral("Прайс-лист ничего не меняет в каталоге.")
                                : QStringLiteral("Изменится цен: %1. Не прочитано строк: %2.")
                                      .arg(preview.changes.size())
                                      .arg(preview.problems.size());
    if (!prompts.preview(parent, QStringLiteral("Прайс-лист «%1»").arg(QFileInfo(path).fileName()),
                         preview.problems, changeLines(preview.changes), summary))
        return false;
    // Worked out again on the catalogue as it is under the lock: another estimator may have
    // changed it while the preview was open.
    const QString problem = store.change([&](PriceCatalogue& catalogue) {
        catalogue = importPriceList(catalogue, list, separator).catalogue;
        return true;
    });
    if (!problem.isEmpty())
        prompts.error(parent, QStringLiteral("Каталог не записан: %1.").arg(problem));
    return problem.isEmpty();
}

} // namespace velaro
