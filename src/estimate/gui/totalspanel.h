#pragma once
// The totals beside the sheet's lines: the whole area, by room and by material.

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace velaro {

class SheetModel;

class TotalsPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TotalsPanel(const SheetModel& model, QWidget* parent = nullptr);

    void refresh();

  private:
    const SheetModel& model_;
    QLabel* total_;
    QTreeWidget* rooms_;
    QTreeWidget* materials_;
};

} // namespace velaro
