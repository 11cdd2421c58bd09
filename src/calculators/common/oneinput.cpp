// The thirteen one-input calculators: a measured quantity times one fixed coefficient, rounded to
// two decimals (an empty input is 0). Sinks, baths, cisterns, radiators, ceilings, timber walls,
// grilles and corrugated sheets are all one window, built from a row of the table below.
//
// Arrangement, top to bottom: the centred title; the picture, centred; the prompt over the
// input field (Edit2) with its unit; Compute; the result prompt with the result field (Edit1)
// and its unit; Reset. The rows follow the picture down and the spare height is shared evenly
// between them, so a window with a lower picture has its rows moved up under it.

#include "calculators/catalog.h"

#include "core/numericedit.h"
#include "core/picturearea.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace velaro {
namespace {

constexpr const char* kResult = "Edit1";
constexpr const char* kInput = "Edit2";

constexpr int kTopMargin = 10;
constexpr int kBottomMargin = 12;
constexpr int kUnderPrompt = 4; // from a prompt's foot to its field

// A window, the caption of its main-window button and its words on the estimate sheet. Lines of
// a text are separated by '\n'.
struct OneInput {
    int form;
    const char* button;
    const char* className;
    const char* module;    // names its icon and picture
    int height;            // of the client area, kClientWidth wide
    QSize picture;         // centred under the title
    const char* element;   // what its sheet lines are for
    const char* shortName; // the input's name on the sheet
    const char* caption;
    const char* title;
    const char* prompt;       // centred above the input field
    const char* resultPrompt; // before the result field
    long double coefficient;  // area = input × coefficient
    const char* unit = "м2";  // of the input
    const char* notes = "";   // left-aligned under the prompt, as one centred block
};

constexpr const char* kGrilles = "Калькулятор окраски стальных решеток";
constexpr const char* kGrillesPrompt =
    "Введите площадь вертикальной проекции решеток с одной стороны \n"
    "без исключения промежутков между стойками и поясками:";
constexpr const char* kGrillesResult = "Площадь окраски стальных решеток:";

// Counts (cisterns, radiator sections) are read like any area: a fractional or negative count is
// multiplied as typed. The 30 % grilles multiply by 1 all the same: the result is the projection
// rounded to two decimals. The stored picture of the grilles over 30 % (160 × 84) is larger than
// its area and is cut at the right and bottom; the rows below follow the lower area up.
// clang-format off
const OneInput kRows[] = {
    {5, "Площадь окраски моек и раковин", "TForm5", "moika", 523, {169, 201},
     "Мойки и раковины", "Площадь проекции",
     "Калькулятор окраски моек и раковин", "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ МОЕК И РАКОВИН",
     "Введите площадь горизонтальной проекции\nмоек и раковин:",
     "Площадь окраски моек и раковин:", 2.0L},
    {6, "Площадь окраски ванн", "TForm6", "vanna", 488, {160, 105},
     "Ванны", "Площадь проекции",
     "Калькулятор окраски ванн ", "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВАНН",
     "Введите площадь горизонтальной проекции\nванн:",
     "Площадь окраски ванн:", 3.0L},
    {7, "Площадь окраски смывного бачка", "TForm7", "smivbachok", 528, {147, 225},
     "Смывные бачки", "Бачков",
     "Калькулятор окраски смывного бачка", "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СМЫВНОГО БАЧКА",
     "Введите количество смывных бачков:",
     "Площадь окраски смывных бачков с учетом\nвыступающих частей и кронштейнов:", 0.7L, "шт."},
    {8, "Площадь окраски чугунного радиатора МС-140 500", "TForm8", "chugunradiator",
     524, {225, 225},
     "Радиатор МС-140-500", "Секций",
     "Калькулятор окраски чугунных радиаторов МС-140 500",
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЧУГУННОГО РАДИАТОРА МС-140 500 ",
     "Введите количество секций радиатора:\n(при длине секции - 93 мм, высоте - 588 мм)",
     "Площадь окраски чугунных радиаторов:", 0.244L, "штук"},
    {9, "Площадь окраски чугунного радиатора МС-140 300", "TForm9", "chugunradiatori",
     525, {252, 233},
     "Радиатор МС-140-300", "Секций",
     "Калькулятор окраски чугунных радиаторов МС-140 300",
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЧУГУННОГО РАДИАТОРА МС-140 300 ",
     "Введите количество секций радиатора:\n(при длине секции - 93 мм, высоте - 388 мм)",
     "Площадь окраски чугунных радиаторов:", 0.208L, "штук"},
    {11, "Площадь окраски кесонных потолков", "TForm11", "kessonpotolok", 433, {449, 97},
     "Потолки кессонные", "Площадь проекции",
     "Калькулятор окраски кесонных потолков", "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ КЕСОННЫХ ПОТОЛКОВ",
     "Введите площадь горизонтальной проекции\nпотолков:",
     "Площадь окраски кесонных потолков:", 1.75L},
    {12, "Площадь окраски ребристых перекрытий", "TForm12", "rebristperekritiya", 461, {157, 97},
     "Потолки ребристых перекрытий", "Площадь потолков",
     "Калькулятор окраски потолков ребристых перекрытий",
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ПОТОЛКОВ\nРЕБРИСТЫХ ПЕРЕКРЫТИЙ",
     "Введите площадь горизонтальной поверхности потолков:",
     "Площадь окраски потолков ребристых перекрытий:", 1.6L},
    {13, "Площадь окраски вагонки (евровагонки)", "TForm13", "vagonka", 469, {157, 97},
     "Вагонка (евровагонка)", "Площадь без калевок и отборок",
     "Калькулятор окраски вагонки", "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВАГОНКИ",
     "Введите площадь окрашиваемой поверхности\nбез площади калевок и отборок:",
     "Площадь окраски вагонки:", 1.2L},
    // The notes tell how to measure: openings are deducted unless trims are present, in which
    // case the openings stay and the trims are not added.
    {14, "Площадь окраски бревенчатых стен", "TForm14", "brevno", 491, {156, 97},
     "Стены бревенчатые", "Площадь стен",
     "Калькулятор окраски бревенчатых стен", "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ БРЕВЕНЧАТЫХ СТЕН",
     "Введите площадь бревенчатых стен без огибания бревен",
     "Площадь окраски бревенчатых стен:", 1.05L, "м2",
     "(площадь оконных и дверных проемов при этом исключается,\n"
     "в случае наличия обделок карнизов, пилястр, откосов, наличников и т.п.\n"
     "площадь оконных и дверных проемов не исключается, а площадь обделок\n"
     "карнизов, пилястр, откосов, наличников и т.п. не прибавляется):"},
    {16, "Площадь окраски стальных решеток с заполнением до 20%", "TForm16", "prostreshetki",
     504, {161, 161},
     "Решетки стальные с заполнением до 20%", "Площадь проекции", kGrilles,
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СТАЛЬНЫХ РЕШЕТОК\n"
     "для простых решеток без рельефа с заполнением до 20% \n"
     "типа парапетных, пожарных лестниц, проволочных сеток с рамкой и т.п.",
     kGrillesPrompt, kGrillesResult, 0.5L},
    {17, "Площадь окраски стальных решеток с заполнением до 30%", "TForm17", "sredniereshetki",
     500, {148, 161},
     "Решетки стальные с заполнением до 30%", "Площадь проекции", kGrilles,
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СТАЛЬНЫХ РЕШЕТОК\n"
     "для решеток средней сложности без рельефа и с рельефом \n"
     "с заполнением до 30% типа лестничных, балконных и т.п.",
     kGrillesPrompt, kGrillesResult, 1.0L},
    {18, "Площадь окраски стальных решеток с заполнением более 30%", "TForm18", "slozhniereshetki",
     438, {148, 73},
     "Решетки стальные с заполнением более 30%", "Площадь проекции", kGrilles,
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СТАЛЬНЫХ РЕШЕТОК\n"
     "для решеток сложных с рельефом и с заполнением более 30% \n"
     "типа жалюзийных, радиаторных, художественных и т.п.",
     kGrillesPrompt, kGrillesResult, 2.5L},
    {19, "Площадь окраски волнистых поверхностей асболистов и стали", "TForm19", "volnistlisti",
     483, {161, 161},
     "Волнистые листы асбоцементные и стальные", "Площадь без огибания волны",
     "Калькулятор окраски волнистых поверхностей",
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ВОЛНИСТЫХ ПОВЕРХНОСТЕЙ\nасбоцементных листов и стали",
     "Введите площадь поверхности без учета огибания волны:",
     "Площадь окраски волнистых поверхностей:", 1.2L},
};
// clang-format on

// Widgets that stand on one line of the arrangement.
using Line = QList<QWidget*>;

int bottomOf(const Line& line) {
    int bottom = 0;
    for (const QWidget* widget : line)
        bottom = std::max(bottom, widget->geometry().bottom() + 1);
    return bottom;
}

class OneInputWindow : public CalculatorWindow {
  public:
    OneInputWindow(const OneInput& row, char decimalSeparator)
        : CalculatorWindow(
              {row.className, row.module, row.caption, QSize(kClientWidth, row.height)},
              decimalSeparator) {
        // Every line is built at y = 0 and moved into place once every line's height is known.
        const Line title{addCentredLabel(row.title, 0)};
        const Line picture{addCentredPicture(row.picture, 0)};
        QLabel* prompt = addCentredLabel(row.prompt, 0);
        Line input{prompt};
        if (*row.notes) {
            QLabel* notes = addLabel(row.notes, QPoint(0, bottomOf(input)));
            notes->move(centredLeft(notes->width()), notes->y());
            input << notes;
        }
        const FieldRow field =
            addField(kInput, prompt, row.unit,
                     QPoint(centredLeft(NumericEdit::kWidth), bottomOf(input) + kUnderPrompt));
        input << field.field << field.unit;
        const WindowFoot foot = addFoot(0, addCentredFieldRow(kResult, row.resultPrompt, "м2"), 0);
        stack({title, picture, input, Line{foot.compute}, foot.result.widgets(), Line{foot.reset}});

        setTabOrder({kResult, kInput, kCompute, kReset});
        setResetOrder({kResult, kInput});
        setShortNames({{kInput, row.shortName}});
        setRule([coefficient = row.coefficient](const FormState& state) {
            // An empty input is 0 and is not parsed.
            const long double input = state.isEmpty(kInput) ? 0.0L : state.number(kInput);
            return resultOf(state, kResult, {input, state.unit(kInput), {{coefficient}}});
        });
    }

  private:
    void stack(const QList<Line>& lines) {
        int used = 0;
        for (const Line& line : lines)
            used += bottomOf(line);
        const int spare = client()->height() - kTopMargin - kBottomMargin - used;
        const int gap = std::max(0, spare / static_cast<int>(lines.size() - 1));
        int top = kTopMargin;
        for (const Line& line : lines) {
            const int height = bottomOf(line);
            for (QWidget* widget : line)
                widget->move(widget->x(), widget->y() + top);
            top += height + gap;
        }
    }
};

} // namespace

Calculators oneInputCalculators() {
    Calculators entries;
    for (const OneInput& row : kRows)
        entries.push_back(calculator<OneInputWindow>(row.form, row.button, row.element, row));
    return entries;
}

} // namespace velaro
