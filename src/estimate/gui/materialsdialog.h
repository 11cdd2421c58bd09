#pragma once
// The sheet's materials, edited as a small table: name, unit, consumption per m² per coat,
// waste allowance, can size and price per can (several sizes and their prices each in one cell,
// through «/»). OK keeps the dialog open while a row is not sound and says which row and why.

#include "estimate/sheet.h"

#include <QDialog>
#include <QSet>

class QLabel;
class QTableWidget;

namespace velaro {

class EstimatePrompts;

class MaterialsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit MaterialsDialog(const QList<Material>& materials, QWidget* parent = nullptr);

    // The materials the sheet's systems use: removing one of them asks first.
    void setUsedMaterials(QSet<int> ids, EstimatePrompts* prompts);

    QList<Material> materials() const;
    void addRow(const Material& material = {});
    void removeSelectedRows();
    // What keeps the list from being taken, or empty.
    QString problem() const;

    void accept() override;

  private:
    QTableWidget* table_;
    QSet<int> used_;
    EstimatePrompts* prompts_ = nullptr;
    QLabel* problem_;
};

} // namespace velaro
