#pragma once
// A room's size for its walls and ceiling: length, width and height in metres, or a perimeter
// (and the floor's area, for its ceiling) instead of length and width for a room that is no
// rectangle; other parts of the room (an L, a bay, a lower part) each with their own height, in
// a table; the openings measured by their size, in another. OK keeps the dialog open while the
// size is not sound and says why.

#include "estimate/rooms.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace velaro {

class RoomOpeningsTable;

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
    QLineEdit* floor_;
    QTableWidget* parts_;
    RoomOpeningsTable* openings_;
    QLabel* problem_;
};

} // namespace velaro
