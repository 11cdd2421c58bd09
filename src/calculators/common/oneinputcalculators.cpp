// The thirteen one-input calculators as rows of one table: each row is a whole window (texts,
// sizes, picture, coefficient) and the caption of its button in the main window.

#include "calculators/catalog.h"
#include "calculators/common/oneinput.h"

namespace velaro {
namespace {

struct OneInputRow {
    int formNumber;
    QString button; // the caption of its button in the main window
    OneInputDescription window;
};

// The two МС-140 radiator windows share their prompts and units. Nothing checks that the section
// count is whole or positive: it is multiplied as typed.
OneInputDescription radiator(const char* className, const char* module, const QString& model,
                             int clientHeight, const QString& sectionSize, QSize picture,
                             long double areaPerSection) {
    return {
        .window = {className,
                   module,
                   QStringLiteral("Калькулятор окраски чугунных радиаторов МС-140 ") + model,
                   {CalculatorWindow::kClientWidth, clientHeight}},
        .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЧУГУННОГО РАДИАТОРА МС-140 ") +
                  model + ' '},
        .picture = picture,
        .prompt = {QStringLiteral("Введите количество секций радиатора:"), sectionSize},
        .inputUnit = QStringLiteral("штук"),
        .resultPrompt = {QStringLiteral("Площадь окраски чугунных радиаторов:")},
        .coefficient = areaPerSection,
    };
}

// The three steel-grille windows share their caption, title line, prompt and result caption;
// each class of grille gives its size, its two description lines, its picture and coefficient.
OneInputDescription grilles(const char* className, const char* module, int clientHeight,
                            const QStringList& description, QSize picture,
                            long double coefficient) {
    return {
        .window = {className,
                   module,
                   QStringLiteral("Калькулятор окраски стальных решеток"),
                   {CalculatorWindow::kClientWidth, clientHeight}},
        .title = QStringList{QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СТАЛЬНЫХ РЕШЕТОК")} +
                 description,
        .picture = picture,
        .prompt = {QStringLiteral("Введите площадь вертикальной проекции решеток с одной стороны "),
                   QStringLiteral("без исключения промежутков между стойками и поясками:")},
        .resultPrompt = {QStringLiteral("Площадь окраски стальных решеток:")},
        .coefficient = coefficient,
    };
}

std::vector<OneInputRow> rows() {
    return {
        {5,
         QStringLiteral("Площадь окраски моек и раковин"),
         {
             .window = {"TForm5",
                        "moika",
                        QStringLiteral("Калькулятор окраски моек и раковин"),
                        {492, 523}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ МОЕК И РАКОВИН")},
             .picture = {169, 201},
             .prompt = {QStringLiteral("Введите площадь горизонтальной проекции"),
                        QStringLiteral("моек и раковин:")},
             .resultPrompt = {QStringLiteral("Площадь окраски моек и раковин:")},
             .coefficient = 2.0L,
         }},
        {6,
         QStringLiteral("Площадь окраски ванн"),
         {
             .window = {"TForm6", "vanna", QStringLiteral("Калькулятор окраски ванн "), {492, 488}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВАНН")},
             .picture = {160, 105},
             .prompt = {QStringLiteral("Введите площадь горизонтальной проекции"),
                        QStringLiteral("ванн:")},
             .resultPrompt = {QStringLiteral("Площадь окраски ванн:")},
             .coefficient = 3.0L,
         }},
        // The count is read like any area: a fractional count is multiplied unchanged.
        {7,
         QStringLiteral("Площадь окраски смывного бачка"),
         {
             .window = {"TForm7",
                        "smivbachok",
                        QStringLiteral("Калькулятор окраски смывного бачка"),
                        {492, 528}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СМЫВНОГО БАЧКА")},
             .picture = {147, 225},
             .prompt = {QStringLiteral("Введите количество смывных бачков:")},
             .inputUnit = QStringLiteral("шт."),
             .resultPrompt = {QStringLiteral("Площадь окраски смывных бачков с учетом"),
                              QStringLiteral("выступающих частей и кронштейнов:")},
             .coefficient = 0.7L,
         }},
        {8, QStringLiteral("Площадь окраски чугунного радиатора МС-140 500"),
         radiator("TForm8", "chugunradiator", QStringLiteral("500"), 524,
                  QStringLiteral("(при длине секции - 93 мм, высоте - 588 мм)"), {225, 225},
                  0.244L)},
        {9, QStringLiteral("Площадь окраски чугунного радиатора МС-140 300"),
         radiator("TForm9", "chugunradiatori", QStringLiteral("300"), 525,
                  QStringLiteral("(при длине секции - 93 мм, высоте - 388 мм)"), {252, 233},
                  0.208L)},
        {11,
         QStringLiteral("Площадь окраски кесонных потолков"),
         {
             .window = {"TForm11",
                        "kessonpotolok",
                        QStringLiteral("Калькулятор окраски кесонных потолков"),
                        {492, 433}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ КЕСОННЫХ ПОТОЛКОВ")},
             .picture = {449, 97},
             .prompt = {QStringLiteral("Введите площадь горизонтальной проекции"),
                        QStringLiteral("потолков:")},
             .resultPrompt = {QStringLiteral("Площадь окраски кесонных потолков:")},
             .coefficient = 1.75L,
         }},
        {12,
         QStringLiteral("Площадь окраски ребристых перекрытий"),
         {
             .window = {"TForm12",
                        "rebristperekritiya",
                        QStringLiteral("Калькулятор окраски потолков ребристых перекрытий"),
                        {492, 461}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ПОТОЛКОВ"),
                       QStringLiteral("РЕБРИСТЫХ ПЕРЕКРЫТИЙ")},
             .picture = {157, 97},
             .prompt = {QStringLiteral("Введите площадь горизонтальной поверхности потолков:")},
             .resultPrompt = {QStringLiteral("Площадь окраски потолков ребристых перекрытий:")},
             .coefficient = 1.6L,
         }},
        {13,
         QStringLiteral("Площадь окраски вагонки (евровагонки)"),
         {
             .window =
                 {"TForm13", "vagonka", QStringLiteral("Калькулятор окраски вагонки"), {492, 469}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВАГОНКИ")},
             .picture = {157, 97},
             .prompt = {QStringLiteral("Введите площадь окрашиваемой поверхности"),
                        QStringLiteral("без площади калевок и отборок:")},
             .resultPrompt = {QStringLiteral("Площадь окраски вагонки:")},
             .coefficient = 1.2L,
         }},
        // The prompt tells how to measure: openings are deducted unless trims are present, in
        // which case the openings stay and the trims are not added.
        {14,
         QStringLiteral("Площадь окраски бревенчатых стен"),
         {
             .window = {"TForm14",
                        "brevno",
                        QStringLiteral("Калькулятор окраски бревенчатых стен"),
                        {492, 491}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ БРЕВЕНЧАТЫХ СТЕН")},
             .picture = {156, 97},
             .prompt = {QStringLiteral("Введите площадь бревенчатых стен без огибания бревен")},
             .promptNotes =
                 {QStringLiteral("(площадь оконных и дверных проемов при этом исключается,"),
                  QStringLiteral(
                      "в случае наличия обделок карнизов, пилястр, откосов, наличников и т.п."),
                  QStringLiteral(
                      "площадь оконных и дверных проемов не исключается, а площадь обделок"),
                  QStringLiteral(
                      "карнизов, пилястр, откосов, наличников и т.п. не прибавляется):")},
             .resultPrompt = {QStringLiteral("Площадь окраски бревенчатых стен:")},
             .coefficient = 1.05L,
         }},
        {16, QStringLiteral("Площадь окраски стальных решеток с заполнением до 20%"),
         grilles("TForm16", "prostreshetki", 504,
                 {QStringLiteral("для простых решеток без рельефа с заполнением до 20% "),
                  QStringLiteral(
                      "типа парапетных, пожарных лестниц, проволочных сеток с рамкой и т.п.")},
                 {161, 161}, 0.5L)},
        // Multiplies by 1 all the same: the result is the projection rounded to two decimals.
        {17, QStringLiteral("Площадь окраски стальных решеток с заполнением до 30%"),
         grilles("TForm17", "sredniereshetki", 500,
                 {QStringLiteral("для решеток средней сложности без рельефа и с рельефом "),
                  QStringLiteral("с заполнением до 30% типа лестничных, балконных и т.п.")},
                 {148, 161}, 1.0L)},
        // The stored picture (160 × 84) is larger than its area and is cut at the right and
        // bottom; the rows below follow the lower area up.
        {18, QStringLiteral("Площадь окраски стальных решеток с заполнением более 30%"),
         grilles("TForm18", "slozhniereshetki", 438,
                 {QStringLiteral("для решеток сложных с рельефом и с заполнением более 30% "),
                  QStringLiteral("типа жалюзийных, радиаторных, художественных и т.п.")},
                 {148, 73}, 2.5L)},
        {19,
         QStringLiteral("Площадь окраски волнистых поверхностей асболистов и стали"),
         {
             .window = {"TForm19",
                        "volnistlisti",
                        QStringLiteral("Калькулятор окраски волнистых поверхностей"),
                        {492, 483}},
             .title = {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВОЛНИСТЫХ ПОВЕРХНОСТЕЙ"),
                       QStringLiteral("асбоцементных листов и стали")},
             .picture = {161, 161},
             .prompt = {QStringLiteral("Введите площадь поверхности без учета огибания волны:")},
             .resultPrompt = {QStringLiteral("Площадь окраски волнистых поверхностей:")},
             .coefficient = 1.2L,
         }},
    };
}

} // namespace

Calculators oneInputCalculators() {
    std::vector<CalculatorEntry> entries;
    for (OneInputRow& row : rows())
        entries.push_back({row.formNumber, row.button,
                           [window = std::move(row.window)](char separator) -> CalculatorWindow* {
                               return new OneInputWindow(window, separator);
                           }});
    return entries;
}

} // namespace velaro
