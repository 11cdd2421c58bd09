#include "calculators/windows/openingwindow.h"

#include "calculators/windows/openingrule.h"
#include "core/fonts.h"
#include "core/numericedit.h"

#include <QLabel>

#include <algorithm>

namespace velaro {
namespace {

constexpr int kFieldLeft = 260; // the fields stand in one column, their units to the right
constexpr int kUnderPrompt = 3; // from a prompt's foot to its field
constexpr int kFieldStep = 8;   // from one field to the next prompt
constexpr int kPictureInset = 8;
constexpr int kPrimedBlock = 40; // the instruction and the primed-parts line
constexpr int kPrimedTextGap = 7;

WindowDescription descriptionOf(const OpeningLayout& layout) {
    return {layout.className, layout.module,
            QStringLiteral("Калькулятор окраски оконных проемов ") + layout.openings,
            QSize(CalculatorWindow::kClientWidth, layout.clientHeight)};
}

} // namespace

OpeningWindow::OpeningWindow(const OpeningLayout& layout, const ConditionGrid& conditions,
                             const QStringList& boxes, char decimalSeparator, QWidget* parent)
    : CalculatorWindow(descriptionOf(layout), decimalSeparator, parent) {
    const QRect picture(
        QPoint(kClientWidth - kPictureInset - layout.picture.width(), kPictureInset),
        layout.picture);
    addPicture(picture);

    // The titles are centred in the room the picture leaves, within the margin the prompts keep.
    QLabel* titles = addLabel(layout.titleLines.join('\n'), QPoint(0, kPictureInset),
                              serifFont(layout.titlePixelHeight));
    titles->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titles->setGeometry(kMargin, kPictureInset, picture.left() - kPictureInset - kMargin,
                        titles->sizeHint().height());

    const auto addPromptedField = [&](const char* field, const QString& prompt, const QString& unit,
                                      int top) {
        const FieldRow row =
            addFieldUnder(field, prompt, unit, QPoint(kMargin, top), kUnderPrompt, kFieldLeft);
        return row.field->geometry().bottom() + 1;
    };
    const int areaBottom = addPromptedField(
        opening::kArea,
        QStringLiteral("Введите площадь оконных проемов по наружному обводу коробок:"),
        QStringLiteral("м2"), titles->geometry().bottom() + 10);
    const int sashesBottom = addPromptedField(
        opening::kSashes, QStringLiteral("Введите количество переплетов (1 или 2):"),
        QStringLiteral("шт."), areaBottom + kFieldStep);
    const int instructionTop = std::max(sashesBottom, picture.bottom()) + 10;
    addInstruction(QStringLiteral("Поставьте галочку там, где условие выполняется:"),
                   QPoint(kMargin, instructionTop));
    const int conditionsBottom = addConditionGrid(conditions, instructionTop + 22);

    // The foot: the room below the conditions is shared out evenly above the primed tick, Compute,
    // the result and Reset, which stands on the bottom margin.
    const FieldRow result = addLevelFieldRow(
        opening::kResult,
        QStringLiteral("Площадь окрашиваемой поверхности\nзаполнения оконных проемов\n") +
            layout.openings + ':',
        QStringLiteral("м2"), 0, kMargin, kFieldLeft);
    // Centred lines, as every calculator's result caption.
    result.prompt->setAlignment(kResultCaptionAlignment);
    const int content = kPrimedBlock + kButtonHeight + result.prompt->height() + kButtonHeight;
    const int gap = (client()->height() - kFootMargin - conditionsBottom - content) / 4;
    const int primedTop = conditionsBottom + gap;
    addPrimedTick(QPoint(kMargin, primedTop), kPrimedTextGap, kPrimedBoxGap, true);
    const int computeTop = primedTop + kPrimedBlock + gap;
    result.moveBy(QPoint(0, computeTop + kButtonHeight + gap));
    addFoot(computeTop, result, client()->height() - kFootMargin - kButtonHeight);
    setResetOrder(QStringList{opening::kSashes, opening::kArea, opening::kResult} + boxes);
}

} // namespace velaro
