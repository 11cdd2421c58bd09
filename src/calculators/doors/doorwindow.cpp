#include "calculators/doors/doorwindow.h"

#include "core/fonts.h"

#include <QLabel>

#include <algorithm>

namespace velaro {

std::optional<Refusal> doors::refuseEmptyArea(const FormState& state) {
    return refuseEmpty(state, kArea, "Введите площадь дверных проемов !", kResult);
}

ConditionGrid DoorWindow::conditionGrid(std::vector<int> columns, std::vector<int> rows,
                                        std::vector<GridCell> cells) {
    return {.columns = std::move(columns),
            .rows = std::move(rows),
            .cells = std::move(cells),
            .spacing = 2,
            .nameSeparator = QStringLiteral(": "),
            .fitText = true};
}

int DoorWindow::addTitle(const QString& filling, int width) {
    const QLabel* title = addCentredLabel(
        QStringLiteral(
            "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ \nЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ") +
            filling,
        kMargin, serifFont(11), 0, width);
    return title->geometry().bottom() + 1;
}

int DoorWindow::addItalicLine(const QString& text, int top) {
    return addInstruction(text, QPoint(kMargin, top))->geometry().bottom() + 1;
}

void DoorWindow::addComputeResultReset(const QString& filling, int top) {
    constexpr int kResultGap = 12; // from the result caption to its field
    const FieldRow result = addCentredFieldRow(
        doors::kResult,
        QStringLiteral("Площадь окрашиваемой поверхности\nзаполнения дверных проемов") + filling,
        QStringLiteral("м2"), kResultGap);
    result.prompt->setAlignment(kResultCaptionAlignment);
    const int captionHeight = result.prompt->height();

    // Reset stands on the bottom margin every calculator keeps; the space left below `top` is
    // shared out evenly above Compute and around the result.
    const int resetTop = client()->height() - kFootMargin - kButtonHeight;
    const int spacing = std::max(kGap, (resetTop - top - kButtonHeight - captionHeight) / 3);
    const int computeTop = top + spacing;
    const int captionTop = computeTop + kButtonHeight + spacing;
    result.moveBy(QPoint(0, captionTop));
    addFoot(computeTop, result, std::max(resetTop, captionTop + captionHeight + spacing));
}

} // namespace velaro
