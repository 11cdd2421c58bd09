#include "core/calculatorwindow.h"
#include "core/numericedit.h"

#include <QCheckBox>
#include <QLabel>

#include <algorithm>
#include <numeric>

namespace velaro {
namespace {

constexpr int kTitleTop = 10;
constexpr int kCellTextPadding = 4; // above and below the tallest wrapped text of a grid row
constexpr int kCellMargin = 3;      // keeps wrapped text clear of a sunken cell's bevel

// The sunken text cell StaticText<number>: text centred and wrapped in the default font.
QLabel* addSunkenCell(QWidget* client, int number, const QString& text, const QRect& cell) {
    auto* label = new QLabel(text, client);
    label->setObjectName(QStringLiteral("StaticText%1").arg(number));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setGeometry(cell);
    return label;
}

// A captionless box `gap` after a text: as tall as the text, or square and centred on it. The
// accessible name says what ticking it means.
void addBoxBeside(QWidget* client, const char* name, const QString& accessibleName,
                  const QRect& text, int gap, bool square) {
    auto* check = new QCheckBox(client);
    check->setObjectName(name);
    check->setAccessibleName(accessibleName.simplified());
    const int left = text.right() + 1 + gap;
    if (square)
        check->setGeometry(left, text.center().y() - kBoxWidth / 2, kBoxWidth, kBoxWidth);
    else
        check->setGeometry(left, text.top(), kBoxWidth, text.height());
}

// The label becomes the field's buddy, so that a screen reader reports the pair as label and
// labelled, and names the field by the label's text as one line; a qualifier tells apart the
// fields one heading names, such as the rows under a column heading.
void nameAfter(QWidget* field, QLabel* label, const QString& qualifier) {
    if (!label->buddy())
        label->setBuddy(field); // a heading over several fields is the buddy of the first
    QString name = label->text().simplified();
    if (!qualifier.isEmpty()) {
        if (name.endsWith(QLatin1Char(':')))
            name.chop(1);
        name += QStringLiteral(", ") + qualifier;
    }
    field->setAccessibleName(name);
}

} // namespace

QList<QWidget*> FieldRow::widgets() const {
    QList<QWidget*> all{prompt, field};
    if (unit)
        all << unit;
    return all;
}

QRect FieldRow::bounds() const {
    QRect united;
    for (const QWidget* widget : widgets())
        united |= widget->geometry();
    return united;
}

void FieldRow::moveBy(QPoint offset) const {
    for (QWidget* widget : widgets())
        widget->move(widget->pos() + offset);
}

PictureArea* CalculatorWindow::addCentredPicture(QSize size, int top) {
    return addPicture(QRect(QPoint(centredLeft(size.width()), top), size));
}

QLabel* CalculatorWindow::addTitle(const QString& text) {
    return addCentredLabel(text, kTitleTop);
}

QLabel* CalculatorWindow::addInstruction(const QString& text, QPoint topLeft) {
    return addLabel(text, topLeft, serifFont(13, false, true));
}

FieldRow CalculatorWindow::addField(const QString& name, QLabel* prompt, const QString& unit,
                                    QPoint at, UnitLine line, const QString& qualifier) {
    FieldRow row{prompt, new NumericEdit(name, QChar(decimalSeparator()), client())};
    row.field->move(at);
    row.field->setUnit(unit);
    nameAfter(row.field, prompt, qualifier);
    if (!unit.isEmpty()) {
        row.unit = addLabel(unit, QPoint(at.x() + NumericEdit::kWidth + kUnitGap, 0));
        const int drop =
            line == UnitLine::Text ? kTextDrop : (NumericEdit::kHeight - row.unit->height()) / 2;
        row.unit->move(row.unit->x(), at.y() + drop);
    }
    return row;
}

FieldRow CalculatorWindow::addFieldRow(const QString& name, const QString& prompt,
                                       const QString& unit, QPoint at, int promptGap) {
    QLabel* label = addLabel(prompt, QPoint(0, 0));
    label->move(at.x() - promptGap - label->width(), at.y() + kTextDrop);
    return addField(name, label, unit, at, UnitLine::Text);
}

FieldRow CalculatorWindow::addFieldUnder(const QString& name, const QString& prompt,
                                         const QString& unit, QPoint promptAt, int gap,
                                         int fieldLeft) {
    QLabel* label = addLabel(prompt, promptAt);
    const int left = fieldLeft < 0 ? promptAt.x() : fieldLeft;
    return addField(name, label, unit, QPoint(left, label->geometry().bottom() + 1 + gap));
}

FieldRow CalculatorWindow::addLevelFieldRow(const QString& name, const QString& prompt,
                                            const QString& unit, int promptLeft, int fieldLeft) {
    QLabel* label = addLabel(prompt, QPoint(promptLeft, 0));
    const int height = std::max(label->height(), NumericEdit::kHeight);
    label->move(promptLeft, (height - label->height()) / 2);
    return addField(name, label, unit, QPoint(fieldLeft, (height - NumericEdit::kHeight) / 2));
}

FieldRow CalculatorWindow::addCentredFieldRow(const QString& name, const QString& prompt,
                                              const QString& unit, int promptGap) {
    const FieldRow row = addLevelFieldRow(name, prompt, unit, 0, 0);
    const int width = row.prompt->width() + promptGap + NumericEdit::kWidth +
                      (row.unit ? kUnitGap + row.unit->width() : 0);
    const int left = centredLeft(width);
    row.moveBy(QPoint(left + row.prompt->width() + promptGap, 0));
    row.prompt->move(left, row.prompt->y());
    return row;
}

QLabel* CalculatorWindow::addGridCell(const ConditionGrid& grid, const GridCell& cell,
                                      const QRect& rect) {
    if (grid.style != ConditionGrid::Cells::Sunken) {
        QLabel* label = addLabel(cell.text, rect.topLeft());
        if (grid.style == ConditionGrid::Cells::Prompts) {
            const int end = rect.right() + 1 - (cell.box ? grid.boxGap + kBoxWidth : 0);
            label->move(end - label->width(), rect.top());
        }
        return label;
    }
    QRect text = rect;
    if (cell.box)
        text.setWidth(rect.width() - kBoxWidth - grid.boxGap);
    QLabel* label = addSunkenCell(client(), ++staticTexts_, cell.text, text);
    if (grid.fitText)
        label->setMargin(kCellMargin);
    return label;
}

int CalculatorWindow::addConditionGrid(const ConditionGrid& grid, int top) {
    const auto offset = [&grid](const std::vector<int>& sizes, int index) {
        return std::accumulate(sizes.begin(), sizes.begin() + index, 0) + index * grid.spacing;
    };
    const auto extent = [&](const std::vector<int>& sizes, int from, int count) {
        return offset(sizes, from + count) - offset(sizes, from) - grid.spacing;
    };
    const int columnCount = static_cast<int>(grid.columns.size());
    const int left = grid.left < 0 ? centredLeft(extent(grid.columns, 0, columnCount)) : grid.left;
    const auto cellRect = [&](const GridCell& cell, const std::vector<int>& rows) {
        return QRect(left + offset(grid.columns, cell.column), top + offset(rows, cell.row),
                     extent(grid.columns, cell.column, cell.columnSpan),
                     extent(rows, cell.row, cell.rowSpan));
    };

    // Cells first, at their widths; a row of sunken cells grows to its tallest wrapped text.
    std::vector<int> rows = grid.rows;
    std::vector<QLabel*> labels;
    for (const GridCell& cell : grid.cells) {
        QLabel* label = addGridCell(grid, cell, cellRect(cell, grid.rows));
        if (grid.fitText && cell.rowSpan == 1)
            rows[cell.row] =
                std::max(rows[cell.row], label->heightForWidth(label->width()) + kCellTextPadding);
        labels.push_back(label);
    }
    for (std::size_t i = 0; i < grid.cells.size(); ++i) {
        const GridCell& cell = grid.cells[i];
        const QRect rect = cellRect(cell, rows);
        QLabel* label = labels[i];
        if (grid.style == ConditionGrid::Cells::Sunken)
            label->setGeometry(label->x(), rect.top(), label->width(), rect.height());
        if (!cell.box)
            continue;
        QStringList names;
        for (const auto& [row, column] : cell.namedBy)
            for (const GridCell& naming : grid.cells)
                if (naming.row == row && naming.column == column && !naming.text.isEmpty())
                    names << naming.text;
        if (cell.namedBy.empty())
            names << cell.text;
        addBoxBeside(client(), cell.box, names.join(grid.nameSeparator), label->geometry(),
                     grid.boxGap, grid.style == ConditionGrid::Cells::Lines);
    }
    return top + offset(rows, static_cast<int>(rows.size())) - grid.spacing;
}

int CalculatorWindow::addPrimedTick(QPoint instructionAt, int textGap, bool squareBox,
                                    QSize cellSize) {
    const QLabel* instruction = addInstruction(
        QStringLiteral("Поставьте галочку, если условие выполняется:"), instructionAt);
    const QPoint textAt(instructionAt.x(), instruction->geometry().bottom() + 1 + textGap);
    const QString text = QStringLiteral("Детали проолифленные:");
    QLabel* label = nullptr;
    if (cellSize.isEmpty()) {
        label = addLabel(text, textAt);
    } else {
        label = addSunkenCell(client(), ++staticTexts_, text, QRect(textAt, cellSize));
        label->setMargin(1);
    }
    // A box beside a sunken cell keeps a grid's gap; beside a bare label, the shared one.
    const int boxGap = cellSize.isEmpty() ? kPrimedBoxGap : kCellBoxGap;
    addBoxBeside(client(), kPrimedTick, text, label->geometry(), boxGap, squareBox);
    return label->geometry().bottom() + 1;
}

WindowFoot CalculatorWindow::addFoot(int computeTop, const FieldRow& result, int resetTop) {
    return {
        addButton(kCompute, QStringLiteral("Расчитать"), computeTop, &CalculatorWindow::compute),
        result, addButton(kReset, QStringLiteral("Сброс"), resetTop, &CalculatorWindow::reset)};
}

} // namespace velaro
