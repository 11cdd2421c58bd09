#pragma once
// The estimate sheet as data: its lines (one computed element each), its materials, and the
// figures derived from them. Every figure is kept as the text shown and summed as a Decimal.

#include "estimate/decimal.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace velaro {

struct Measurement {
    QString name; // as the field is named on screen
    QString text;
    QString unit;
    bool operator==(const Measurement&) const = default;
};

struct Material {
    int id = 0; // what lines refer to: survives renaming; unique in a sheet, from 1
    QString name;
    QString unit = QStringLiteral("кг"); // кг or л
    QString consumption;                 // per m² per coat, as entered
    int coats = 1;
    QString waste = QStringLiteral("0"); // allowance in %
    QString canSize;
    QString price; // per can; may be empty
    bool operator==(const Material&) const = default;

    // What is wrong with the entries, or empty when they are sound.
    QString problem() const;
};

struct Line {
    QString room;
    QString element;    // as the calculator's button names it
    QString calculator; // the window's class name, TForm2 …
    QString inputs;     // the texts and ticks that gave it, for telling a repeat
    QList<Measurement> measurements;
    QStringList conditions;
    QString formula;
    QString result; // the calculator's main result as shown
    int count = 1;
    int material = 0; // a material's id, 0 for none
    bool operator==(const Line&) const = default;
};

inline constexpr int kMaxCount = 999999;
// The most lines a sheet holds: its file stays within what opening reads (kLargestSheetFile).
inline constexpr int kMaxLines = 200000;

struct Sheet {
    QList<Line> lines;
    QList<Material> materials;
    bool recording = true;
    QString lastRoom; // the current room: what a recorded line takes
    bool operator==(const Sheet&) const = default;
};

// A material's entries as figures; nullopt where an entry is not a figure.
struct MaterialRates {
    Decimal perSquareMetre; // consumption × coats × (1 + waste/100)
    Decimal canSize;
    std::optional<Decimal> price;
    static std::optional<MaterialRates> of(const Material& material);
};

// A line's figures: its area (result × count) and its paint, as shown.
struct LineFigures {
    std::optional<Decimal> area;
    std::optional<Decimal> paint; // two decimals, as a person buys
    static LineFigures of(const Line& line, const MaterialRates* rates);
};

// The sums of the shown figures: all lines, by room, by material. Kept up to date line by line,
// so that adding a line to a long sheet costs the same as to a short one.
class Totals {
  public:
    struct Sum {
        Decimal value;
        int lines = 0;
    };

    void add(const Line& line, const LineFigures& figures);
    void remove(const Line& line, const LineFigures& figures);
    void clear() { *this = Totals(); }

    const Decimal& area() const { return area_; }
    const QMap<QString, Sum>& rooms() const { return rooms_; }
    const QMap<int, Sum>& paint() const { return paint_; } // by material id

  private:
    Decimal area_;
    QMap<QString, Sum> rooms_;
    QMap<int, Sum> paint_;
};

// What a material comes to over the sheet: quantity, whole cans and their cost.
struct MaterialTotal {
    Decimal quantity;
    std::optional<long long> cans;
    std::optional<Decimal> cost;
    static MaterialTotal of(const Decimal& quantity, const MaterialRates* rates);
};

} // namespace velaro
