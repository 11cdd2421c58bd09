#pragma once
// Sheets shaped like the jobs estimators bring: rooms with their walls and ceilings, windows and
// doors taken off the walls, radiators and pipes, lines typed by hand, three materials in three
// paint systems priced by their norms. Header-only, so that the benchmark builds the same jobs as
// the tests without linking the test support library.

#include "estimate/rooms.h"
#include "estimate/sheet.h"

namespace velaro::test::jobs {

enum System { kNone, kPrimerAndEnamel, kWaterBased, kMetalEnamel };

inline Line lineOf(const QString& room, const QString& element, const QString& calculator,
                   const QList<Measurement>& measurements, const QStringList& conditions,
                   const QString& formula, const QString& result, int system, int count = 1) {
    Line line;
    line.room = room;
    line.element = element;
    line.calculator = calculator;
    line.measurements = measurements;
    line.conditions = conditions;
    line.formula = formula;
    line.result = result;
    line.system = system;
    line.count = count;
    return line;
}

inline Line pairedSashWindow(const QString& room, int count = 1) {
    Line line = lineOf(room, "Окна со спаренными переплетами", "TForm21",
                       {{"Площадь проемов", "1,68", "м2"}, {"Переплетов", "2", ""}},
                       {"Стены каменные, с подоконной доской", "С тройным остеклением"},
                       "1,68 м2 × 3,1 (Стены каменные, с подоконной доской, 2 переплета) × 1,15 "
                       "(С тройным остеклением) = 5,99 м2",
                       "5,99", kPrimerAndEnamel, count);
    line.opening = "1,68";
    line.deduct = true;
    return line;
}

inline Line solidDoor(const QString& room) {
    Line line =
        lineOf(room, "Дверные проемы с глухими полотнами", "TForm24",
               {{"Площадь проемов", "1,8", "м2"}}, {"Стены каменные", "Наличники с двух сторон"},
               "1,8 м2 × 2,4 (Стены каменные, Наличники с двух сторон) = 4,32 м2", "4,32",
               kPrimerAndEnamel);
    line.opening = "1,8";
    line.deduct = true;
    return line;
}

inline Line radiator(const QString& room, const QString& sections) {
    const QString area =
        Decimal::parse(sections)->times(*Decimal::parse("0.244"))->rounded(2).text(u',');
    return lineOf(room, "Радиатор МС-140-500", "TForm8", {{"Секций", sections, "штук"}}, {},
                  sections + " штук × 0,244 = " + area + " м2", area, kMetalEnamel);
}

inline Line pipes(const QString& room) {
    return lineOf(room, "Трубы без фасонных частей", "TForm2",
                  {{"Ø трубы 1", "15", "мм"},
                   {"Длина трубы 1", "12", "м"},
                   {"Ø трубы 2", "20", "мм"},
                   {"Длина трубы 2", "6", "м"}},
                  {}, "π × 0,015 м × 12 м + π × 0,02 м × 6 м = 0,94 м2", "0,94", kMetalEnamel);
}

inline Line typed(const QString& room, const QString& name, const QString& arithmetic,
                  const QString& result, int system) {
    Line line = lineOf(room, name, {}, {}, {}, arithmetic, result, system);
    line.kind = LineKind::Typed;
    return line;
}

inline Line grille(const QString& room) {
    return lineOf(room, "Решетки стальные с заполнением до 30%", "TForm17",
                  {{"Площадь проекции", "0,8", "м2"}}, {}, "0,8 м2 × 1 = 0,8 м2", "0,8",
                  kMetalEnamel);
}

// The room's walls and ceiling, as the room's size adds them; the walls are worked out when the
// sheet is taken in.
inline void addSize(Sheet& sheet, const QString& room, const RoomSize& size) {
    sheet.lines << wallsLine(room, size, u',');
    sheet.lines.back().system = kWaterBased;
    if (auto ceiling = ceilingLine(room, size, u',')) {
        ceiling->system = kWaterBased;
        sheet.lines << *ceiling;
    }
}

// Three materials in three systems, each priced by its norm; VAT at 20 %.
inline Sheet withPaints(const QString& object) {
    Sheet sheet;
    sheet.materials = {{1, "Грунтовка ГФ-021", "кг", "0,1", "5", {{"1", "300"}}},
                       {2, "Эмаль ПФ-115 белая", "кг", "0,11", "10", {{"0,9", "250,5"}}},
                       {3, "Краска ВД-АК-111 белая", "л", "0,15", "5", {{"10", "2400"}}}};
    // Each system priced as a whole by one norm, as sheets were before layers were priced: its
    // first layer carries the price and the norm.
    sheet.systems = {{kPrimerAndEnamel, "Грунт и эмаль", {{1, 1, "180", "15-04-030-01"}, {2, 2}}},
                     {kWaterBased, "Водоэмульсионная в 2 слоя", {{3, 2, "95", "15-04-005-03"}}},
                     {kMetalEnamel, "Эмаль по металлу", {{1, 1, "210", "13-03-004-26"}, {2, 2}}}};
    sheet.vatRate = "20";
    sheet.properties = {object,         "г. Тверь, ул. Советская, д. 12, кв. 40",
                        "Петров П. П.", "ООО «Малярка»",
                        "Иванов И. И.", "07.12.2026"};
    return sheet;
}

// 22 lines in four rooms; the last one added later to the bedroom.
inline Sheet flatOfFourRooms(const QString& prefix = {}) {
    Sheet sheet = withPaints("Квартира, 4 комнаты");
    const QString kitchen = prefix + "Кухня", bedroom = prefix + "Спальня",
                  living = prefix + "Гостиная", bath = prefix + "Санузел";
    sheet.lines << pairedSashWindow(kitchen) << solidDoor(kitchen) << radiator(kitchen, "10")
                << pipes(kitchen)
                << typed(kitchen, "Откосы оконные", "2*1,5*0,25+1,4*0,25", "1,1", kPrimerAndEnamel);
    addSize(sheet, kitchen, {"4,2", "3,1", {}, "2,7"});
    sheet.lines << pairedSashWindow(bedroom) << radiator(bedroom, "8");
    addSize(sheet, bedroom, {"3,6", "3", {}, "2,7"});
    sheet.lines << pairedSashWindow(living, 2) << radiator(living, "12") << solidDoor(living);
    addSize(sheet, living, {"5,4", "4,1", {}, "2,7"});
    sheet.lines << pipes(bath)
                << typed(bath, "Короб из ГКЛ", "1,2*2,6 + 0,6*2,6", "4,68", kWaterBased)
                << lineOf(bath, "Мойки и раковины", "TForm5", {{"Площадь проекции", "0,35", "м2"}},
                          {}, "0,35 м2 × 2 = 0,7 м2", "0,7", kMetalEnamel)
                << lineOf(bath, "Ванны", "TForm6", {{"Площадь проекции", "0,9", "м2"}}, {},
                          "0,9 м2 × 3 = 2,7 м2", "2,7", kMetalEnamel);
    addSize(sheet, bath, {{}, {}, "7,4", "2,5"});
    sheet.lines << grille(bedroom);
    return sheet;
}

// 16 lines in three rooms.
inline Sheet officeOfThreeRooms() {
    Sheet sheet = withPaints("Офис, 3 кабинета");
    for (const char* room : {"Кабинет 1", "Кабинет 2", "Приемная"}) {
        sheet.lines << pairedSashWindow(room, 2) << radiator(room, "10") << solidDoor(room);
        addSize(sheet, room, {"6", "4,5", {}, "3"});
    }
    sheet.lines << typed("Приемная", "Ниша под шкаф", "2,4*2,8 - 0,6*0,4", "6,48", kWaterBased);
    return sheet;
}

// 10 lines in two rooms.
inline Sheet flatOfTwoRooms() {
    Sheet sheet = withPaints("Квартира, 2 комнаты");
    for (const char* room : {"Комната", "Кухня"}) {
        sheet.lines << pairedSashWindow(room) << radiator(room, "7") << pipes(room);
        addSize(sheet, room, {"4", "3,5", {}, "2,6"});
    }
    return sheet;
}

// A job priced without norms: the systems keep their prices, not their codes.
inline Sheet withoutNorms(Sheet sheet) {
    for (PaintSystem& system : sheet.systems)
        for (Layer& layer : system.layers)
            layer.code.clear();
    return sheet;
}

// The flat of four rooms over and over, each flat's rooms their own, up to `lines` lines.
inline Sheet manyFlats(int lines) {
    Sheet sheet = withPaints("Жилой дом");
    for (int flat = 1; sheet.lines.size() < lines; ++flat)
        sheet.lines << flatOfFourRooms(QString("Кв. %1, ").arg(flat)).lines;
    sheet.lines.resize(lines);
    return sheet;
}

} // namespace velaro::test::jobs
