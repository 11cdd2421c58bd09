#include "calculators/surfaces/brevno.h"

namespace velaro {
namespace {

// The prompt tells how to measure: openings are deducted unless trims are present, in which
// case the openings stay and the trims are not added.
OneInputDescription logWalls() {
    return {
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
             QStringLiteral("площадь оконных и дверных проемов не исключается, а площадь обделок"),
             QStringLiteral("карнизов, пилястр, откосов, наличников и т.п. не прибавляется):")},
        .inputUnit = QStringLiteral("м2"),
        .resultPrompt = {QStringLiteral("Площадь окраски бревенчатых стен:")},
        .coefficient = 1.05L,
    };
}

} // namespace

TForm14::TForm14(char decimalSeparator, QWidget* parent)
    : OneInputWindow(logWalls(), decimalSeparator, parent) {}

} // namespace velaro
