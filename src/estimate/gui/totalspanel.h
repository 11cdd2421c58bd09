#pragma once
// The totals beside the sheet's lines: the whole area, by room in the sheet's order, by material,
// and what the job costs, with the VAT rate the user sets.

#include <QWidget>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace velaro {

class SheetModel;

class TotalsPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TotalsPanel(SheetModel& model, QWidget* parent = nullptr);

    void refresh();

  private:
    QLabel* moneyLabel(const char* name);

    SheetModel& model_;
    QLabel* total_;
    QTreeWidget* rooms_;
    QTreeWidget* materials_;
    QLabel* materialsCost_;
    QLabel* work_;
    QLabel* subtotal_;
    QLineEdit* vatRate_;
    QLabel* vat_;
    QLabel* totalCost_;
};

} // namespace velaro
