#pragma once
// Prices carried between a firm's catalogue and the rest: from the catalogue into a sheet (its
// copies of materials and systems, matched by name), from a supplier's price list into the
// catalogue, and a sheet's own materials and systems into the catalogue. Each is worked out here
// as a plain function, shown to the estimator as a list of changes and applied in one step.

#include "estimate/pricecatalogue.h"
#include "estimate/pricelist.h"

namespace velaro {

struct PriceChange {
    QString what; // «Эмаль ПФ-115, 14 кг», «Стены ВД: слой «Шлифовка»»
    QString before; // as shown, «—» for none
    QString after;
    bool operator==(const PriceChange&) const = default;
};

// The sheet's materials and systems with the catalogue's prices. A material of the same name
// and unit takes the price of each of its can sizes the catalogue has; a system of the same
// name takes, for each layer, the price of the catalogue's layer of the same material (or the
// same work, where it has no material), the n-th such layer for the n-th. Ids, sizes, coats,
// consumption and the rest stay the sheet's own.
struct SheetPriceUpdate {
    QList<Material> materials;
    QList<PaintSystem> systems;
    QList<PriceChange> changes; // in the sheet's order: materials, then systems
};
SheetPriceUpdate sheetPriceUpdate(const Sheet& sheet, const PriceCatalogue& catalogue,
                                  QChar separator);

// The materials and systems named, copied from the catalogue into the sheet's lists: one the
// sheet has by name is replaced, keeping its id (so lines keep it), others join with new ids; a
// system brings the materials of its layers.
struct SheetCopies {
    QList<Material> materials;
    QList<PaintSystem> systems;
};
SheetCopies copiesFromCatalogue(const Sheet& sheet, const PriceCatalogue& catalogue,
                                const QStringList& materialNames, const QStringList& systemNames);

// A supplier's prices taken into the catalogue: a material it has by name (and unit) takes each
// price of a size it has, and a size it lacks while it has fewer than kMostCanSizes; a material
// it lacks joins with its sizes (its consumption 0 until the estimator gives it).
struct CatalogueImport {
    PriceCatalogue catalogue;
    QList<PriceChange> changes;
    QStringList problems; // the list's rows that cannot be read or taken
};
CatalogueImport importPriceList(const PriceCatalogue& catalogue, const PriceList& list,
                                QChar separator);

// The sheet's materials and systems put into the catalogue, replacing those of the same names.
PriceCatalogue withSheetCopies(const PriceCatalogue& catalogue, const Sheet& sheet);

} // namespace velaro
