#pragma once
// The firm's catalogue as the sheet's window uses it: which file it is (a setting: the user's
// data folder by default, or a shared folder the catalogue's dialog chose), copies taken from it
// into the sheet, the sheet's prices brought up to it, and a supplier's price list taken into it.
// Each change is shown first and applied only on the estimator's word.

#include <QString>

class QWidget;

namespace velaro {

class CatalogueStore;
class EstimatePrompts;
class EstimateWindow;

// The catalogue file the user works with now, and the store that reads and writes it.
QString cataloguePath();
// A folder for the catalogue (a shared one for the firm); empty: back to the user's own.
void setCatalogueFolder(const QString& folder);
CatalogueStore& catalogueStore();

// «Взять из каталога…»: chosen systems and materials copied into the sheet in one step.
void takeFromCatalogue(EstimateWindow& window);
// «Обновить цены из каталога…»: each price that changes, old → new, and the sheet's total
// before → after, then applied in one step. The sheet's own catalogue where its file is there,
// else the user's.
void updatePricesFromCatalogue(EstimateWindow& window);
// A CSV or xlsx price list at `path` taken into the catalogue after its preview; false where
// nothing was written (cancelled, nothing to take, or refused: said in a box).
bool importPriceListFile(QWidget* parent, EstimatePrompts& prompts, const QString& path,
                         QChar separator);

} // namespace velaro
