#include "calculators/doors/doorwindow.h"

#include "calculators/common/fieldnames.h"
#include "core/fonts.h"
#include "core/numericedit.h"

#include <QCheckBox>
#include <QLabel>

#include <numeric>

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

constexpr int kCheckBoxWidth = 17;
constexpr int kCellGap = 2;
constexpr int kUnitGap = 6;
constexpr int kLabelToField = 4;

} // namespace

int DoorWindow::addTitle(const QStringList& lines, int top, int width) {
    QLabel* title = addLabel(lines.join('\n'), QPoint(0, top), serifFont(11));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setGeometry(0, top, width, title->sizeHint().height());
    return title->geometry().bottom() + 1;
}

QRect DoorWindow::PromptedField::bounds() const {
    return prompt->geometry() | edit->geometry() | unit->geometry();
}

void DoorWindow::PromptedField::moveBy(QPoint offset) const {
    for (QWidget* part :
         {static_cast<QWidget*>(prompt), static_cast<QWidget*>(edit), static_cast<QWidget*>(unit)})
        part->move(part->pos() + offset);
}

DoorWindow::PromptedField DoorWindow::addPromptedField(const QString& prompt, const QString& field,
                                                       const QString& unit, QPoint topLeft) {
    const QFont serif = serifFont();
    PromptedField parts;
    parts.prompt = addLabel(prompt, topLeft, serif);
    const int fieldTop = parts.prompt->geometry().bottom() + 1 + kLabelToField;
    parts.edit = addEdit(field, QPoint(topLeft.x(), fieldTop));
    nameAfter(parts.edit, parts.prompt);
    parts.unit = addLabel(unit, QPoint(0, 0), serif);
    parts.unit->move(parts.edit->geometry().right() + 1 + kUnitGap,
                     fieldTop + (NumericEdit::kHeight - parts.unit->height()) / 2);
    return parts;
}

int DoorWindow::addAreaBesidePicture(QSize picture, int top) {
    const QRect area(QPoint(client()->width() - kMargin - picture.width(), top), picture);
    addPicture(area);
    const PromptedField parts = addPromptedField(
        QStringLiteral("Введите площадь дверных проемов \nпо наружному обводу коробок: "),
        doors::kArea, QStringLiteral("м2"), QPoint(0, 0));
    const QRect block = parts.bounds();
    parts.moveBy(
        QPoint((area.left() - block.width()) / 2, top + (picture.height() - block.height()) / 2));
    return area.bottom() + 1;
}

int DoorWindow::addItalicLine(const QString& text, int top) {
    QLabel* label = addLabel(text, QPoint(kMargin, top), serifFont(13, false, true));
    return label->geometry().bottom() + 1;
}

QLabel* DoorWindow::addCell(const QString& text, const QRect& cell) {
    QLabel* label = addStaticText(QStringLiteral("StaticText%1").arg(++staticTexts_), text, cell);
    label->setMargin(1); // keeps wrapped text off the sunken edge
    return label;
}

int DoorWindow::addGrid(const CellGrid& grid, int top) {
    constexpr int kTextPadding = 4; // above and below the tallest text of a row
    int y = top;
    for (const CellGridRow& row : grid.rows) {
        // Cells first, at their widths; the row is as tall as its tallest wrapped text needs.
        std::vector<std::pair<QLabel*, QCheckBox*>> placed;
        int height = row.minimumHeight;
        int x = kMargin;
        std::size_t column = 0;
        for (const CellGridCell& cell : row.cells) {
            const auto first = grid.columns.begin() + static_cast<std::ptrdiff_t>(column);
            const int width =
                std::accumulate(first, first + cell.span, 0) + (cell.span - 1) * kCellGap;
            const bool hasBox = !cell.checkBox.isEmpty();
            const int cellWidth = hasBox ? width - kCheckBoxWidth - kCellGap : width;
            QLabel* label = addCell(cell.text, QRect(x, y, cellWidth, row.minimumHeight));
            height = std::max(height, label->heightForWidth(cellWidth) + kTextPadding);
            QCheckBox* box = nullptr;
            if (hasBox)
                box = addCheckBox(cell.checkBox,
                                  QRect(x + cellWidth + kCellGap, y, kCheckBoxWidth, 0),
                                  cell.accessibleName.isEmpty() ? cell.text : cell.accessibleName);
            placed.emplace_back(label, box);
            x += width + kCellGap;
            column += static_cast<std::size_t>(cell.span);
        }
        // Each check box is as tall as the cell that names it.
        for (auto [label, box] : placed) {
            label->resize(label->width(), height);
            if (box)
                box->resize(box->width(), height);
        }
        y += height + kCellGap;
    }
    return y - kCellGap;
}

int DoorWindow::addPrimedTick(int top, PrimedText style) {
    const int textTop =
        addItalicLine(QStringLiteral("Поставьте галочку, если условие выполняется:"), top) +
        kLabelToField;
    const QString text = QStringLiteral("Детали проолифленные:");
    QRect textRect;
    if (style == PrimedText::SunkenCell) {
        textRect = addCell(text, QRect(kMargin, textTop, 150, 24))->geometry();
    } else {
        textRect = addLabel(text, QPoint(kMargin, textTop), serifFont())->geometry();
    }
    addCheckBox(
        doors::kPrimed,
        QRect(textRect.right() + 1 + kCellGap, textRect.top(), kCheckBoxWidth, textRect.height()),
        text);
    return textRect.bottom() + 1;
}

void DoorWindow::addComputeResultReset(const QStringList& resultCaption, int top) {
    constexpr int kButtonHeight = 25;
    constexpr int kFieldGap = 12;
    const QFont serif = serifFont();
    QLabel* caption = addLabel(resultCaption.join('\n'), QPoint(0, 0), serif);
    caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QLabel* unit = addLabel(QStringLiteral("м2"), QPoint(0, 0), serif);

    // The space left below `top` is shared out evenly: above Compute, around the result and
    // below Reset.
    const int spacing =
        std::max(kGap, (client()->height() - top - 2 * kButtonHeight - caption->height()) / 4);
    const int computeTop = top + spacing;
    addComputeButton(QPoint(centredLeft(75), computeTop));

    const int captionTop = computeTop + kButtonHeight + spacing;
    const int blockWidth =
        caption->width() + kFieldGap + NumericEdit::kWidth + kUnitGap + unit->width();
    const int left = centredLeft(blockWidth);
    caption->move(left, captionTop);
    const int fieldLeft = left + caption->width() + kFieldGap;
    const int fieldTop = captionTop + (caption->height() - NumericEdit::kHeight) / 2;
    nameAfter(addEdit(doors::kResult, QPoint(fieldLeft, fieldTop)), caption);
    unit->move(fieldLeft + NumericEdit::kWidth + kUnitGap,
               fieldTop + (NumericEdit::kHeight - unit->height()) / 2);

    addResetButton(QPoint(centredLeft(75), captionTop + caption->height() + spacing));
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
    bottom = addGrid(layout.grid, bottom);
    bottom = addPrimedTick(bottom + kGap, layout.primedText);
    addComputeResultReset(layout.resultCaption, bottom);
}

} // namespace velaro
