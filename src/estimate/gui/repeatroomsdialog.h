#pragma once
// «Повторить помещение»: how many copies of the rooms and how to name them, with the names the
// copies would take and, while they cannot, why.

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace velaro {

class RepeatRoomsDialog final : public QDialog {
    Q_OBJECT
  public:
    RepeatRoomsDialog(const QStringList& rooms, const QStringList& sheetRooms,
                      QWidget* parent = nullptr);

    int copies() const;
    QString pattern() const;
    int firstNumber() const;
    void accept() override;

  private:
    void refresh();

    QStringList rooms_, sheetRooms_;
    QSpinBox* copies_;
    QLineEdit* pattern_;
    QSpinBox* first_;
    QLabel* names_;
    QLabel* problem_;
};

} // namespace velaro
