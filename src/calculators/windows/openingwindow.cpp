#include "calculators/windows/openingwindow.h"

#include "calculators/common/fieldnames.h"
#include "calculators/windows/openingrule.h"
#include "core/fonts.h"
#include "core/numericedit.h"

#include <QLabel>

#include <algorithm>
#include <numeric>

namespace velaro {
namespace {

constexpr int kFieldLeft = 260; // the fields stand in one column, their units to the right
constexpr int kPromptGap = 18;  // from a prompt's top to its field's top
constexpr int kPictureInset = 8;

int sum(const std::vector<int>& sizes, int from, int count) {
    return std::accumulate(sizes.begin() + from, sizes.begin() + from + count, 0);
}

} // namespace

OpeningWindow::OpeningWindow(const OpeningLayout& layout, char decimalSeparator, QWidget* parent)
    : CalculatorWindow(layout.window, decimalSeparator, parent),
      resultCaption_(layout.resultCaption) {
    const QRect picture(
        QPoint(kClientWidth - kPictureInset - layout.picture.width(), kPictureInset),
        layout.picture);
    addPicture(picture);

    // The titles are centred in the room the picture leaves.
    QLabel* titles = addLabel(layout.titleLines.join('\n'), QPoint(0, kPictureInset),
                              serifFont(layout.titlePixelHeight));
    titles->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titles->setGeometry(0, kPictureInset, picture.left(), titles->sizeHint().height());

    const int fieldsBottom = placeFields(titles->geometry().bottom() + 10);
    const int instructionTop = std::max(fieldsBottom, picture.bottom()) + 10;
    addInstruction(QStringLiteral("Поставьте галочку там, где условие выполняется:"),
                   instructionTop);
    conditionsTop_ = instructionTop + 22;
}

int OpeningWindow::placeFields(int top) {
    const QFont serif = serifFont();
    struct Field {
        const char* name;
        QString prompt;
        QString unit;
    };
    const Field fields[] = {
        {opening::kArea,
         QStringLiteral("Введите площадь оконных проемов по наружному обводу коробок:"),
         QStringLiteral("м2")},
        {opening::kSashes, QStringLiteral("Введите количество переплетов (1 или 2):"),
         QStringLiteral("шт.")},
    };
    for (const Field& field : fields) {
        QLabel* prompt = addLabel(field.prompt, QPoint(kMargin, top), serif);
        nameAfter(addEdit(field.name, QPoint(kFieldLeft, top + kPromptGap)), prompt);
        addLabel(field.unit, QPoint(kFieldLeft + NumericEdit::kWidth + 6, top + kPromptGap + 3),
                 serif);
        top += kPromptGap + NumericEdit::kHeight + 8;
    }
    return top - 8;
}

void OpeningWindow::addInstruction(const QString& text, int top) {
    addLabel(text, QPoint(kMargin, top), serifFont(13, false, true));
}

int OpeningWindow::placeGrid(const ConditionGrid& grid, int top) {
    const int width = sum(grid.columnWidths, 0, static_cast<int>(grid.columnWidths.size()));
    const int left = centredLeft(width);
    const auto cellRect = [&](int row, int column, int rowSpan, int columnSpan) {
        return QRect(left + sum(grid.columnWidths, 0, column), top + sum(grid.rowHeights, 0, row),
                     sum(grid.columnWidths, column, columnSpan),
                     sum(grid.rowHeights, row, rowSpan));
    };
    for (const GridCell& cell : grid.cells)
        addStaticText(cell.name, cell.text,
                      cellRect(cell.row, cell.column, cell.rowSpan, cell.columnSpan));
    for (const GridBox& box : grid.boxes) {
        // Its own cell first, then the cells that tell it apart from a box with the same text.
        QStringList names;
        for (const QString& named : box.namedBy)
            for (const GridCell& cell : grid.cells)
                if (named == QLatin1String(cell.name) && !cell.text.isEmpty())
                    names << cell.text;
        addCheckBox(box.name, cellRect(box.row, box.column, 1, 1).adjusted(2, 0, 0, 0),
                    names.join(QStringLiteral(" — ")));
    }
    return top + sum(grid.rowHeights, 0, static_cast<int>(grid.rowHeights.size()));
}

void OpeningWindow::placeFoot(int conditionsBottom, const QStringList& boxes) {
    const QFont serif = serifFont();
    constexpr int kButtonHeight = 25;
    constexpr int kBottomMargin = 10;
    constexpr int kOiledBlock = 40; // instruction and the oiled-parts line
    QLabel* caption = addLabel(resultCaption_.join('\n'), QPoint(kMargin, 0), serif);
    const int content = kOiledBlock + kButtonHeight + caption->height() + kButtonHeight;
    const int gap = (client()->height() - kBottomMargin - conditionsBottom - content) / 4;

    int top = conditionsBottom + gap;
    addInstruction(QStringLiteral("Поставьте галочку, если условие выполняется:"), top);
    QLabel* oiled =
        addLabel(QStringLiteral("Детали проолифленные:"), QPoint(kMargin, top + 22), serif);
    addCheckBox("CheckBox4",
                QRect(oiled->geometry().right() + 8, oiled->geometry().center().y() - kBoxSize / 2,
                      kBoxSize, kBoxSize),
                oiled->text());
    top += kOiledBlock + gap;

    addComputeButton(QPoint(centredLeft(75), top));
    top += kButtonHeight + gap;

    caption->move(kMargin, top);
    const int fieldTop = caption->geometry().center().y() - NumericEdit::kHeight / 2;
    nameAfter(addEdit(opening::kResult, QPoint(kFieldLeft, fieldTop)), caption);
    addLabel(QStringLiteral("м2"), QPoint(kFieldLeft + NumericEdit::kWidth + 6, fieldTop + 3),
             serif);

    addResetButton(QPoint(centredLeft(75), client()->height() - kBottomMargin - kButtonHeight));
    setResetOrder(QStringList{opening::kSashes, opening::kArea, opening::kResult} + boxes);
}

} // namespace velaro
