#include "calculators/plumbing/radiators.h"

namespace velaro {

// Nothing checks that the section count is whole or positive: it is multiplied as typed.
OneInputDescription radiatorDescription(const RadiatorModel& model) {
    return {
        .window = model.window,
        .title = {model.title},
        .picture = model.picture,
        .prompt = {QStringLiteral("Введите количество секций радиатора:"), model.sectionSize},
        .inputUnit = QStringLiteral("штук"),
        .resultPrompt = {QStringLiteral("Площадь окраски чугунных радиаторов:")},
        .coefficient = model.areaPerSection,
    };
}

} // namespace velaro
