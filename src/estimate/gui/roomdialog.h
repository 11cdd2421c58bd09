#pragma once
// A room's size for its walls and ceiling: length, width and height in metres, or a perimeter
// instead of length and width for a room that is no rectangle. OK keeps the dialog open while
// the size is not sound and says why.

#include "estimate/rooms.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace velaro {

class RoomDialog : public QDialog {
    Q_OBJECT
  public:
    RoomDialog(const QString& room, const RoomSize& size, QChar separator,
               QWidget* parent = nullptr);

    RoomSize size() const;
    void accept() override;

  private:
    QLineEdit* field(const char* name, const QString& text);

    QChar separator_;
    QLineEdit* length_;
    QLineEdit* width_;
    QLineEdit* perimeter_;
    QLineEdit* height_;
    QLabel* problem_;
};

} // namespace velaro
