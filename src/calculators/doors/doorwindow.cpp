#include "calculators/doors/doorwindow.h"

#include "core/fonts.h"
#include "core/numericedit.h"

#include <QLabel>

#include <algorithm>

namespace velaro {

std::optional<Refusal> doors::refuseEmptyArea(const FormState& state) {
    return refuseEmpty(state, kArea, "Введите площадь дверных проемов !", kResult);
}

Refusal doors::refusal(std::string message) {
    return tickRefusal(std::move(message), kResult);
}

Results doors::paintedArea(const FormState& state, const CoefficientTable& table) {
    return table.result(state, kResult, measured(state, kArea));
}

namespace {

constexpr int kResultGap = 12; // from the result caption to its field
constexpr int kPrimedCell = 150;

} // namespace

ConditionGrid DoorWindow::conditionGrid(std::vector<int> columns, std::vector<int> rows,
                                        std::vector<GridCell> cells) {
    return {.columns = std::move(columns),
            .rows = std::move(rows),
            .cells = std::move(cells),
            .spacing = 2,
            .nameSeparator = QStringLiteral(": "),
            .rowsFitText = true,
            .marginInCells = true};
}

int DoorWindow::addTitle(const QStringList& lines, int top, int width) {
    QLabel* title = addLabel(lines.join('\n'), QPoint(0, top), serifFont(11));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setGeometry(0, top, width, title->sizeHint().height());
    return title->geometry().bottom() + 1;
}

int DoorWindow::addAreaBesidePicture(QSize picture, int top) {
    const QRect area(QPoint(client()->width() - kMargin - picture.width(), top), picture);
    addPicture(area);
    const FieldRow row = addFieldUnder(
        doors::kArea,
        QStringLiteral("Введите площадь дверных проемов \nпо наружному обводу коробок: "),
        QStringLiteral("м2"), QPoint(0, 0), kUnderPrompt);
    const QRect block = row.bounds();
    row.moveBy(
        QPoint((area.left() - block.width()) / 2, top + (picture.height() - block.height()) / 2));
    return area.bottom() + 1;
}

int DoorWindow::addItalicLine(const QString& text, int top) {
    return addInstruction(text, QPoint(kMargin, top))->geometry().bottom() + 1;
}

int DoorWindow::addPrimedTick(int top, PrimedText style) {
    // A box beside a sunken cell keeps the grid's gap; beside a bare label, the shared one.
    const int boxGap = style == PrimedText::SunkenCell ? 2 : kPrimedBoxGap;
    return CalculatorWindow::addPrimedTick(QPoint(kMargin, top), kUnderPrompt, boxGap, false,
                                           style == PrimedText::SunkenCell ? QSize(kPrimedCell, 24)
                                                                           : QSize());
}

void DoorWindow::addComputeResultReset(const QStringList& resultCaption, int top) {
    const FieldRow result = addCentredFieldRow(doors::kResult, resultCaption.join('\n'),
                                               QStringLiteral("м2"), 0, kResultGap);
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

void DoorWindow::addAreaWindowParts(const AreaWindowLayout& layout) {
    int bottom = addTitle(
        {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ "), layout.titleSecondLine},
        kMargin, client()->width());
    bottom = addAreaBesidePicture(layout.picture, bottom + kGap);
    if (layout.tickInstruction)
        bottom = addItalicLine(doors::kTickWhereItHolds, bottom + kGap) + 4;
    else
        bottom += kGap;
    bottom = addConditionGrid(layout.grid, bottom);
    bottom = addPrimedTick(bottom + kGap, layout.primedText);
    addComputeResultReset(layout.resultCaption, bottom);
}

} // namespace velaro
