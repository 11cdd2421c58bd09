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
    Area, // the line's quantity, in its unit
    System,
    Paint,
    Unit,
    Deduct, // a window or door line: «Вычитать из стен»
    Price,
    Work,
    NormQuantity, // the quantity in the unit the painting norms price in, 100 м2
    Code,
    AdjacentRoom // a window or door line: the room on the other side, whose walls it comes off too
};
inline constexpr int kColumnCount = 16;
// The order the columns are read in, on screen and on paper.
inline constexpr Column kColumnOrder[kColumnCount] = {
    Column::Room,   Column::Element, Column::Measurements, Column::Conditions, Column::Formula,
    Column::Count,  Column::Area,    Column::Unit,         Column::NormQuantity, Column::Deduct,
    Column::AdjacentRoom, Column::System, Column::Paint, Column::Price, Column::Work, Column::Code};

QString columnTitle(Column column);

// The materials' figures by id, for a line's paint and a material's cans.
RatesById ratesOf(const QList<Material>& materials);
// The material or system of that id, or nullptr.
const Material* materialOf(const QList<Material>& materials, int id);
const PaintSystem* systemOf(const QList<PaintSystem>& systems, int id);

// Figures are written with the program's decimal separator.
QString cellText(const Line& line, const LineFigures& figures, Column column, QChar separator,
                 const Sheet& sheet);
// How a line's cell is edited in the table: not at all, as text, or by a check box.
enum class Editing { None, Text, Check };
Editing editingOf(const Line& line, Column column);
// Whether the column holds figures, set right.
bool isFigureColumn(Column column);
inline const QString kNumberTitle = QStringLiteral("№");

// A sum as the totals show it: grouped thousands, hundredths always and the unit, «1 234,50 м2».
QString areaText(const Decimal& area, QChar separator);
// Money in roubles with kopecks: «47 600,40 руб.».
QString moneyText(const Decimal& sum, QChar separator);
// A material's cans: their sizes «14 / 2,7», their prices «2 400,00 / 560,00» (a dash for a size
// without one), and those taken «2 × 14 кг + 1 × 2,7 кг», or the count alone where the material
// comes in one size; a dash where they are not known.
QString canSizesText(const MaterialRates& rates, QChar separator);
QString canPricesText(const MaterialRates& rates, QChar separator);
QString cansText(const Material& material, const MaterialRates& rates,
                 const std::vector<long long>& cans, QChar separator);
// The name a line without a room is summed under.
QString roomTitle(const QString& room);

} // namespace velaro
