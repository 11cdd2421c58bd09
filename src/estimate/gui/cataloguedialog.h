#pragma once
// «Каталог фирмы»: where the catalogue file is (the user's data folder, or a shared folder chosen
// here for the whole firm), what it holds, and the ways prices come into it: a supplier's price
// list (CSV or xlsx), the sheet's own materials and systems, the materials edited by hand. The
// table follows the file when another estimator changes it.

#include <QDialog>

class QFileSystemWatcher;
class QLabel;
class QTableWidget;

namespace velaro {

class EstimateWindow;

class CatalogueDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CatalogueDialog(EstimateWindow& window);

    // The commands of its buttons, for the tests as much as for the buttons.
    void chooseFolder();
    void useOwnFolder();
    void importPriceList();
    void addFromSheet();
    void editMaterials();

  private:
    void reload();
    // Says why a change was not written, where one was refused; true where written.
    bool written(const QString& problem);

    EstimateWindow& window_;
    QLabel* path_;
    QTableWidget* table_;
    QLabel* problem_;
    QFileSystemWatcher* watcher_;
};

} // namespace velaro
