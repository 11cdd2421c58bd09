#pragma once
// The sheet's columns and the text of each cell, the same on screen, in the CSV file and on
// paper.

#include "estimate/sheet.h"

#include <QHash>

namespace velaro {

// The line's number is not a column: views show it in their vertical header, exports write it
// before the columns.
enum class Column {
    Room,
    Element,
    Measurements,
    Conditions,
    Formula,
    Count,
    Area,
    Material,
    Paint
};
inline constexpr int kColumnCount = 9;

QString columnTitle(Column column);

// The materials' figures by id, for a line's paint and a material's cans.
using RatesByName = QHash<int, MaterialRates>;
RatesByName ratesOf(const QList<Material>& materials);
// The material of that id, or nullptr.
const Material* materialOf(const QList<Material>& materials, int id);

// Figures are written with the program's decimal separator.
QString cellText(const Line& line, const LineFigures& figures, Column column, QChar separator,
                 const QList<Material>& materials);
// Whether the column holds figures, set right.
bool isFigureColumn(Column column);
inline const QString kNumberTitle = QStringLiteral("№");

// A sum as the totals show it: grouped thousands and the unit, «1 234,56 м2».
QString areaText(const Decimal& area, QChar separator);
// The name a line without a room is summed under.
QString roomTitle(const QString& room);

} // namespace velaro
