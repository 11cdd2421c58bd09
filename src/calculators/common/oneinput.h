#pragma once
// The one-input calculator: a measured quantity times one fixed coefficient, rounded to two
// decimals. Sinks, baths, cisterns, radiators, ceilings, timber walls, grilles and corrugated
// sheets are all this window; each module only describes its texts, sizes, picture and
// coefficient.
//
// Arrangement, top to bottom: the centred title; the picture, centred; the prompt over the
// input field (Edit2) with its unit; Compute; the result prompt with the result field (Edit1)
// and its unit; Reset. The rows follow the picture down and the spare height is shared evenly
// between them, so a window with a lower picture has its rows moved up under it.

#include "core/calculatorwindow.h"

#include <QSize>
#include <QStringList>

namespace velaro {

struct OneInputDescription {
    WindowDescription window;
    QStringList title;         // centred lines at the top
    QSize picture;             // the picture area, centred under the title
    QStringList prompt;        // centred lines above the input field
    QStringList promptNotes{}; // left-aligned lines under the prompt, as one centred block
    QString inputUnit = QStringLiteral("м2"); // beside the input field
    QStringList resultPrompt;                 // left of the result field
    QString resultUnit = QStringLiteral("м2");
    long double coefficient = 0; // area = input × coefficient
};

namespace oneinput {
inline constexpr const char* kResult = "Edit1";
inline constexpr const char* kInput = "Edit2";

// The input times the coefficient (an empty input is 0), rounded to two decimals.
Outcome compute(const FormState& state, long double coefficient);
} // namespace oneinput

class OneInputWindow : public CalculatorWindow {
  public:
    OneInputWindow(const OneInputDescription& description, char decimalSeparator,
                   QWidget* parent = nullptr);

  private:
    // A row is built at y = 0 and moved into place once every row's height is known.
    using Row = QList<QWidget*>;

    Row addInputRow(const OneInputDescription& description);
    void stack(const QList<Row>& rows);
};

} // namespace velaro
