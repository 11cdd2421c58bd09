#pragma once
// The totals beside the sheet's lines: the whole area, by room in the sheet's order, by material,
// and what the job costs, with the rates of overhead, profit and VAT the user sets.

#include <QWidget>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace velaro {

class SheetEditor;
class SheetModel;

class TotalsPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TotalsPanel(SheetModel& model, QWidget* parent = nullptr);

    void refresh();

  private:
    QLabel* moneyLabel(const char* name);
    // A rate of overhead or profit typed: taken, or refused in words under the rates.
    QLineEdit* rateField(const char* name, QString (SheetEditor::*set)(const QString&),
                         const QString& what);

    SheetModel& model_;
    QLabel* total_;
    QTreeWidget* rooms_;
    QTreeWidget* materials_;
    QLabel* materialsCost_;
    QLabel* work_;
    QLineEdit* overheadRate_;
    QLabel* overhead_;
    QLineEdit* profitRate_;
    QLabel* profit_;
    QLabel* rateRefusal_;
    QLineEdit* refused_ = nullptr; // the rate whose text the refusal is about
    QLabel* subtotal_;
    QLineEdit* vatRate_;
    QLabel* vat_;
    QLabel* totalCost_;
};

} // namespace velaro
