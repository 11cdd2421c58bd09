#pragma once
// The openings of a room measured by their size, in the room dialog: a row each of its kind
// (window, door, doorway), width, height, count, whether it comes off the walls and the depth of
// its reveals, with buttons to add and remove rows.

#include "estimate/sheet.h"

#include <QWidget>

class QTableWidget;

namespace velaro {

class RoomOpeningsTable : public QWidget {
    Q_OBJECT
  public:
    RoomOpeningsTable(const QList<RoomOpening>& openings, QChar separator,
                      QWidget* parent = nullptr);

    // The rows as typed; a row left empty is no opening.
    QList<RoomOpening> openings() const;

  private:
    void addRow(const RoomOpening& opening);

    QChar separator_;
    QTableWidget* table_;
};

} // namespace velaro
