#pragma once
// The numeric field: a single-line edit that lets through only what a number is typed with.

#include <QLineEdit>

namespace velaro {

class NumericEdit : public QLineEdit {
    Q_OBJECT
  public:
    NumericEdit(const QString& name, QChar decimalSeparator, QWidget* parent);

    static constexpr int kWidth = 121;
    static constexpr int kHeight = 21;

    // The unit shown beside the field (empty where none), for records of what was measured.
    const QString& unit() const { return unit_; }
    void setUnit(const QString& unit) { unit_ = unit; }

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    QChar separator_;
    QString unit_;
};

} // namespace velaro
