#pragma once
// A sheet line typed by hand, for what no calculator window measures: a name, a unit and a
// quantity written as the estimator adds it up («2,5*3 + 1,2*2 − 0,8»). Under the quantity the
// dialog shows what it comes to or where the mistake is; OK waits until both are sound.

#include "estimate/decimal.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velaro {

struct Evaluation;

class TypedLineDialog : public QDialog {
    Q_OBJECT
  public:
    // `separator` is the decimal point the result is written with.
    explicit TypedLineDialog(QChar separator, QWidget* parent = nullptr);

    QString name() const;
    QString unit() const;
    // The quantity as typed, blanks simplified.
    QString expression() const;
    // What the quantity comes to; zero while it is not sound.
    Decimal quantity() const;

    void accept() override;

  private:
    Evaluation evaluation() const;
    void refresh();

    QChar separator_;
    QLineEdit* name_;
    QComboBox* unit_;
    QLineEdit* quantity_;
    QLabel* result_;
    QPushButton* ok_;
};

} // namespace velaro
