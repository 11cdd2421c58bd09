// Pipes without fittings: nine runs of diameter × length, each run's area and the total.

#include "calculators/catalog.h"

#include "core/numericedit.h"

#include <QLabel>

#include <array>
#include <string>

namespace velaro {
namespace {

struct PipeRow {
    const char* diameter; // mm
    const char* length;   // m
    const char* area;     // м2
};

constexpr std::array<PipeRow, 9> kRows{{{"Edit3", "Edit1", "Edit19"},
                                        {"Edit4", "Edit2", "Edit20"},
                                        {"Edit5", "Edit12", "Edit21"},
                                        {"Edit6", "Edit13", "Edit22"},
                                        {"Edit7", "Edit14", "Edit23"},
                                        {"Edit8", "Edit15", "Edit24"},
                                        {"Edit9", "Edit10", "Edit11"},
                                        {"Edit16", "Edit17", "Edit18"},
                                        {"Edit25", "Edit26", "Edit27"}}};
constexpr const char* kTotal = "Edit28";
constexpr long double kPi = 3.14159265358979323846264338327950288L;

// A filled row's area: its length times π times its diameter, divided by 1000 because the
// diameter is in millimetres. The last row reads its diameter first, so a malformed pair names
// the diameter.
TrailTerm runArea(const FormState& state, const PipeRow& row, bool diameterFirst) {
    TrailTerm term = measured(state, diameterFirst ? row.diameter : row.length);
    term.factors.push_back({kPi, "π", {}, TrailFactor::Op::Times, true});
    const char* second = diameterFirst ? row.length : row.diameter;
    term.factors.push_back({state.number(second), {}, state.unit(second)});
    term.factors.push_back({1000.0L, "мм в м", {}, TrailFactor::Op::DividedBy});
    return term;
}

// Run areas at three decimals, the total of the unrounded runs at two.
Outcome areas(const FormState& state) {
    std::vector<Trail> runs;
    std::vector<TrailTerm> filled;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const PipeRow& row = kRows[i];
        Trail run = trailOf(state, row.area, {});
        run.digit = -3;
        if (!state.isEmpty(row.diameter) && !state.isEmpty(row.length)) {
            run.terms.push_back(runArea(state, row, i + 1 == kRows.size()));
            filled.push_back(run.terms.back());
        }
        runs.push_back(std::move(run));
    }

    Results results;
    results.add(state, trailOf(state, kTotal, std::move(filled)));
    for (Trail& run : runs)
        results.add(state, std::move(run));
    return results;
}

class PipesWindow : public CalculatorWindow {
  public:
    explicit PipesWindow(char decimalSeparator)
        : CalculatorWindow(
              {"TForm2", "kalkulyat61", "Калькулятор площади окраски труб ", QSize(471, 549)},
              decimalSeparator) {
        addTitle("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ТРУБ ");
        addCentredLabel("без фасонных частей, креплений, крючьев, выступов", 30);

        constexpr std::array<int, 3> columns{27, 175, 323};
        constexpr int headingWidth = 148;
        const auto heading = [&](int column, const QString& text, int top) {
            QLabel* label = addLabel(text, QPoint(0, top));
            label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            label->setGeometry(columns[column] + 60 - headingWidth / 2, top, headingWidth,
                               label->sizeHint().height());
            return label;
        };
        QLabel* diameterHeading = heading(0, "Введите наружный \nдиаметр труб в мм:", 58);
        QLabel* lengthHeading = heading(1, "Введите м.п. труб:", 74);
        QLabel* areaHeading = heading(2, "Площадь окраски труб:", 74);
        QPalette navy = areaHeading->palette();
        navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
        areaHeading->setPalette(navy);

        constexpr int firstRowTop = 100;
        constexpr int rowStep = 31;
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            const int top = firstRowTop + static_cast<int>(i) * rowStep;
            // The rows are told apart by their number, as a person counts them down the table.
            const QString row = QStringLiteral("строка %1").arg(i + 1);
            // The headings name the units, so none stands beside the fields; the fields still know
            // them, for the trails and the estimate sheet.
            const auto add = [&](const char* name, QLabel* heading, int column,
                                 const QString& unit) {
                addField(name, heading, {}, QPoint(columns[column], top), UnitLine::Centred, row)
                    .field->setUnit(unit);
            };
            add(kRows[i].diameter, diameterHeading, 0, "мм");
            add(kRows[i].length, lengthHeading, 1, "м");
            add(kRows[i].area, areaHeading, 2, "м2");
        }
        // On the sheet a pipe's diameter and its length stand together, pipe by pipe.
        ShortNames names;
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            names.emplace_back(kRows[i].diameter, "Ø трубы " + std::to_string(i + 1));
            names.emplace_back(kRows[i].length, "Длина трубы " + std::to_string(i + 1));
        }
        setShortNames(std::move(names));

        constexpr int totalLabelGap = 10;
        addFoot(388,
                addFieldRow(kTotal, "Суммарная площадь окраски труб:", "м2",
                            QPoint(columns[2], 434), totalLabelGap),
                484);

        // Tabbing runs down the first six rows column by column, to the total, then across the
        // last three rows.
        QStringList tabs{kCompute, kReset};
        for (auto column : {&PipeRow::diameter, &PipeRow::length, &PipeRow::area})
            for (std::size_t i = 0; i < 6; ++i)
                tabs << kRows[i].*column;
        tabs << kTotal;
        for (std::size_t i = 6; i < kRows.size(); ++i)
            tabs << kRows[i].diameter << kRows[i].length << kRows[i].area;
        setTabOrder(tabs);
        QStringList reset;
        for (int i = 1; i <= 28; ++i)
            reset << QStringLiteral("Edit%1").arg(i);
        setResetOrder(reset);
        setRule(areas);
    }
};

} // namespace

Calculators pipesCalculators() {
    return {calculator<PipesWindow>(2, "Площадь окраски труб без фасонных частей...",
                                    "Трубы без фасонных частей")};
}

} // namespace velaro
