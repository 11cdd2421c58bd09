#include "calculators/plumbing/kalkulyat61.h"

#include "core/fonts.h"

#include <QLabel>

#include <array>

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

} // namespace

Outcome kalkulyat61::compute(const FormState& state) {
    std::array<long double, kRows.size()> areas{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const PipeRow& row = kRows[i];
        if (state.isEmpty(row.diameter) || state.isEmpty(row.length)) {
            areas[i] = 0.0L;
        } else if (i + 1 < kRows.size()) {
            areas[i] = state.number(row.length) * kPi;
            areas[i] = areas[i] * state.number(row.diameter) / 1000.0L;
        } else {
            // The last row reads its diameter first, so a malformed pair names the diameter.
            areas[i] = state.number(row.diameter) * kPi;
            areas[i] = areas[i] * state.number(row.length) / 1000.0L;
        }
    }
    long double total = 0.0L;
    for (long double area : areas)
        total += area;

    Results results;
    results.texts.emplace_back(kTotal, state.shown(total, -2));
    for (std::size_t i = 0; i < kRows.size(); ++i)
        results.texts.emplace_back(kRows[i].area, state.shown(areas[i], -3));
    return results;
}

TForm2::TForm2(char decimalSeparator, QWidget* parent)
    : CalculatorWindow({"TForm2", "kalkulyat61", QStringLiteral("Калькулятор площади окраски труб "),
                        QSize(471, 549)},
                       decimalSeparator, parent) {
    const QFont serif = serifFont();
    addTitle(QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ТРУБ "));
    addCentredLabel(QStringLiteral("без фасонных частей, креплений, крючьев, выступов"), 30, serif);

    constexpr std::array<int, 3> columns{27, 175, 323};
    constexpr int headingWidth = 148;
    const auto heading = [&](int column, const QString& text, int top) {
        QLabel* label = addLabel(text, QPoint(0, top), serif);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setGeometry(columns[column] + 60 - headingWidth / 2, top, headingWidth,
                           label->sizeHint().height());
        return label;
    };
    QLabel* diameterHeading = heading(0, QStringLiteral("Введите наружный \nдиаметр труб в мм:"), 58);
    QLabel* lengthHeading = heading(1, QStringLiteral("Введите м.п. труб:"), 74);
    QLabel* areaHeading = heading(2, QStringLiteral("Площадь окраски труб:"), 74);
    QPalette navy = areaHeading->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    areaHeading->setPalette(navy);

    constexpr int firstRowTop = 100;
    constexpr int rowStep = 31;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const int top = firstRowTop + static_cast<int>(i) * rowStep;
        // The rows are told apart by their number, as a person counts them down the table.
        const QString row = QStringLiteral("строка %1").arg(i + 1);
        const auto add = [&](const char* name, QLabel* heading, int column) {
            addField(name, heading, {}, QPoint(columns[column], top), UnitLine::Centred, row);
        };
        add(kRows[i].diameter, diameterHeading, 0);
        add(kRows[i].length, lengthHeading, 1);
        add(kRows[i].area, areaHeading, 2);
    }

    constexpr int totalLabelGap = 10;
    addFoot(388,
            addFieldRow(kTotal, QStringLiteral("Суммарная площадь окраски труб:"),
                        QStringLiteral("м2"), QPoint(columns[2], 434), totalLabelGap),
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
    setRule(kalkulyat61::compute);
}

} // namespace velaro
