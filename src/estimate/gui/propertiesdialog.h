#pragma once
// The document's properties, which the documents handed over show in their title block: the
// object and its address, the client, the contractor, who drew the sheet up, and the date; and
// who signs the approval block above it for the client and for the contractor.

#include "estimate/sheet.h"

#include <QDialog>

class QLineEdit;

namespace velaro {

class PropertiesDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PropertiesDialog(const SheetProperties& properties, QWidget* parent = nullptr);

    SheetProperties properties() const;

  private:
    QLineEdit* object_;
    QLineEdit* address_;
    QLineEdit* client_;
    QLineEdit* contractor_;
    QLineEdit* estimator_;
    QLineEdit* date_;
    QLineEdit* clientPosition_;
    QLineEdit* clientName_;
    QLineEdit* contractorPosition_;
    QLineEdit* contractorName_;
};

} // namespace velaro
