#pragma once
// The estimate sheet as data: its lines (a computed element, a line typed by hand, a room's walls
// or ceiling), the materials and paint systems, and the figures derived from them. Every figure
// is kept as the text shown and summed as a Decimal.

#include "core/opening.h"
#include "estimate/decimal.h"

#include <QList>
#include <QMap>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velaro {

struct Measurement {
    QString name; // the field's short name, or its name on screen where it has none
    QString text;
    QString unit;
    bool operator==(const Measurement&) const = default;
};

// A size the material is sold in, and what a can of it costs.
struct Can {
    QString size;  // in the material's unit
    QString price; // roubles; may be empty
    bool operator==(const Can&) const = default;
};
// A handful of can sizes is what a supplier sells; the cheapest cans are searched among them.
inline constexpr int kMostCanSizes = 6;

struct Material {
    int id = 0; // what lines refer to: survives renaming; unique in a sheet, from 1
    QString name;
    QString unit = QStringLiteral("кг"); // кг or л
    QString consumption;                 // per m² per coat, as entered
    QString waste = QStringLiteral("0"); // allowance in %
    QList<Can> cans;                     // one to kMostCanSizes sizes
    bool operator==(const Material&) const = default;

    // What is wrong with the entries, or empty when they are sound.
    QString problem() const;
};

// One layer of a system: a material and its coats, or work that takes no material (sanding), or
// both; each with the price of its work and the norm it is priced by: «Грунтовка ×1 + Эмаль ×2».
// A line painted with the system counts its area once; each layer adds to its material.
struct Layer {
    Layer() = default;
    // Most layers are paint and nothing more: {material, coats}.
    Layer(int material, int coats, QString price = {}, QString code = {}, QString work = {})
        : material(material), coats(coats), price(std::move(price)), code(std::move(code)),
          work(std::move(work)) {}

    int material = 0; // a material's id; 0 for work that takes no material
    int coats = 1;
    QString price; // of the layer's work per unit of a line's quantity, roubles; may be empty
    QString code;  // the norm it is priced by («шифр»); may be empty
    QString work;  // what the work is called («Шлифовка»); needed where there is no material
    bool operator==(const Layer&) const = default;
};

struct PaintSystem {
    int id = 0; // what lines refer to; unique in a sheet, from 1
    QString name;
    QList<Layer> layers;
    bool operator==(const PaintSystem&) const = default;

    QString problem() const;
    // «Грунтовка ГФ-021 ×1 + Эмаль ПФ-115 ×2»
    QString layersText(const QList<Material>& materials) const;
    // The norms its layers are priced by, each once, in the order painted: «15-04-030-1; 15-01-019».
    QString codes() const;
};

enum class LineKind {
    Computed, // recorded from a calculator
    Typed,    // typed by hand: a name, a unit and a quantity worked out from arithmetic
    Walls,    // a room's walls from its size, net of the openings deducted from them
    Ceiling,  // a room's ceiling from its size
    Reveals   // a room's reveals, from the depths of the openings measured in its size
};

// An opening measured by its size in the room dialog rather than recorded from a calculator:
// a window, a door or a doorway without a leaf, with the depth of its reveals where they are
// painted. As typed, in metres; kept in the walls line of its room.
enum class OpeningKind { Window, Door, Doorway };
struct RoomOpening {
    OpeningKind kind = OpeningKind::Window;
    QString width, height;
    QString count = QStringLiteral("1");
    bool deduct = true; // from the room's walls
    QString depth;      // of its reveals; empty: none painted
    bool operator==(const RoomOpening&) const = default;
};

// Window and door lines whose opening area may be deducted from the walls of their room: what
// each calculator's lines are, as the calculators' catalogue tells the sheet once at start.
void setOpeningSources(const QHash<QString, OpeningSource>& byCalculator);
const OpeningSource& openingSourceOf(const QString& calculator);
inline Opening openingOf(const QString& calculator) {
    return openingSourceOf(calculator).kind;
}

struct Line {
    // What the walls are worked out from, looked at in every line of the sheet at each change,
    // first and together: one read of memory a line rather than three.
    QString room;
    LineKind kind = LineKind::Computed;
    bool deduct = false; // whether the opening × count comes off the walls of the line's room
    int count = 1;
    int system = 0; // a paint system's id, 0 for none
    // A window or door line: the room on the other side of the opening, whose walls it comes off
    // as well («Смежное помещение»); painted once, in the line's own room.
    QString adjacentRoom;
    QString element;    // as the calculator's catalogue entry names it for the sheet
    QString calculator; // the class name of the window that computed it
    QString inputs;     // the texts and ticks that gave it, for telling a repeat
    QList<Measurement> measurements;
    QStringList conditions;
    QString formula;
    QString result;                      // the calculator's main result as shown
    QString unit = QStringLiteral("м2"); // of the result
    QString opening; // a window or door line: the openings' area per piece, as typed
    QString price;   // of the work per unit; empty: the sum of its system's layers'
    QString code;    // the norm; empty: its system's layers' norms
    // A walls line: the openings measured in its room's size, deducted from it as ticked.
    QList<RoomOpening> roomOpenings;
    // A window or door line given the opening's width and height rather than its area, in
    // metres as typed; empty otherwise.
    QString openingWidth, openingHeight;
    bool operator==(const Line&) const = default;

    bool isArea() const { return unit == QStringLiteral("м2"); }
    // What comes off the walls of the line's room, when ticked: the kind of opening, and its
    // area × count.
    struct Deduction {
        Opening opening;
        Decimal area;
    };
    std::optional<Deduction> deduction() const;
};

inline constexpr int kMaxCount = 999999;
// The most lines a sheet holds: its file stays within what opening reads (kLargestSheetFile).
inline constexpr int kMaxLines = 200000;

// Who signs the approval block for one side, as the documents print it.
struct Signatory {
    QString position; // «Генеральный директор ООО «Ромашка»»
    QString name;     // «П. П. Петров»
    bool isEmpty() const { return position.isEmpty() && name.isEmpty(); }
    bool operator==(const Signatory&) const = default;
};

// What the documents handed over say of the job, in their title block; kept in the file.
struct SheetProperties {
    QString object; // the object's name: the documents' title and their files' names
    QString address;
    QString client;
    QString contractor;
    QString estimator; // who drew the sheet up: «Составил»
    QString date;      // as typed, e.g. 07.12.2026; empty: the day it is printed
    // The approval block above the title: «УТВЕРЖДАЮ» for the client, «СОГЛАСОВАНО» for the
    // contractor. Initialised here so that a brace list of the fields above may leave them out.
    Signatory clientSignatory = {};
    Signatory contractorSignatory = {};
    bool operator==(const SheetProperties&) const = default;
};

struct Sheet {
    QList<Line> lines;
    QList<Material> materials;
    QList<PaintSystem> systems;
    bool recording = true;
    QString lastRoom; // the current room: what a recorded line takes
    QString vatRate;  // %, empty for none
    // Overhead («НР») and profit («СП»), % of the work, added before VAT; empty for none.
    QString overheadRate;
    QString profitRate;
    SheetProperties properties;
    // The firm's catalogue its materials and systems were taken from (a file's path), where
    // prices are updated from; empty for none. The sheet keeps its own copies all the same.
    QString catalogue;
    bool operator==(const Sheet&) const = default;
};

// What is wrong with a percentage as typed (a rate of overhead or profit): from 0 to 100, with at
// most two decimals. Empty where it is sound, and for an empty text, which means none.
QString percentProblem(const QString& text);

// A material's entries as figures; nullopt where an entry is not a figure.
struct MaterialRates {
    Decimal perCoat; // per m²: consumption × (1 + waste/100)
    struct CanRate {
        Decimal size;
        std::optional<Decimal> price;
    };
    std::vector<CanRate> cans; // in the material's order
    static std::optional<MaterialRates> of(const Material& material);
};

// The materials' figures by id.
using RatesById = QHash<int, MaterialRates>;

// The prices a line's work is priced at, per unit of its quantity: its own where it has one,
// else each priced layer's of its system. Each is taken times the quantity and rounded to the
// kopeck on its own; none where nothing prices the work.
std::vector<Decimal> workPrices(const Line& line, const PaintSystem* system);

// A line's figures as shown: its quantity (result × count; an area when the unit is м2), the
// paint of each layer of its system, and the cost of its work.
struct LineFigures {
    std::optional<Decimal> area;
    struct Paint {
        int material;
        Decimal amount; // two decimals, as a person buys
        int coats = 1;  // of the layer it is for
    };
    std::vector<Paint> paint;
    std::optional<Decimal> price; // of the work per unit: the line's, or its layers' summed
    std::optional<Decimal> work;  // kopecks: the quantity times each price, rounded and summed
    static LineFigures of(const Line& line, const PaintSystem* system, const RatesById& rates);
};

// The sums of the shown figures: all lines, by room, by material. Kept up to date line by line,
// so that adding a line to a long sheet costs the same as to a short one.
class Totals {
  public:
    struct Sum {
        Decimal value; // area, or paint of a material
        int lines = 0;
        Decimal work;
    };

    void add(const Line& line, const LineFigures& figures);
    void remove(const Line& line, const LineFigures& figures);
    void clear() { *this = Totals(); }

    const Decimal& area() const { return area_; }
    const Decimal& work() const { return work_; }
    const QMap<QString, Sum>& rooms() const { return rooms_; }
    const QMap<int, Sum>& paint() const { return paint_; } // by material id

  private:
    void change(const Line& line, const LineFigures& figures, int sign);

    Decimal area_;
    Decimal work_;
    QMap<QString, Sum> rooms_;
    QMap<int, Sum> paint_;
};

// What a material comes to over the sheet: its quantity, the cheapest whole cans that hold it,
// and their cost.
struct MaterialTotal {
    Decimal quantity;
    std::vector<long long> cans; // how many of each of the material's sizes; empty: not known
    std::optional<Decimal> cost; // where the cans taken have prices
    long long canCount() const;
    static MaterialTotal of(const Decimal& quantity, const MaterialRates* rates);
};

// The cheapest whole cans that hold `quantity`, as counts of each size in the given order. Only
// sizes with a price are taken where any has one: a can of unknown price cannot be said to be
// cheaper. Without prices, the fewest cans. Equal costs go to fewer cans, then to less left over.
// nullopt where the count passes what can be written.
std::optional<std::vector<long long>> cheapestCans(const Decimal& quantity,
                                                   const std::vector<MaterialRates::CanRate>& cans);

} // namespace velaro
