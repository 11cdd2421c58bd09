#pragma once
// The columns the sheet shows on paper, chosen for the client who reads it: the element with its
// measurements and conditions under its name, the formula, the quantity with its unit, the paint
// system with each material it takes under its name, and the work's price, cost and norm where
// the sheet has them. The room heads its group of lines rather than filling a column, and what
// only the estimator needs (whether an opening comes off the walls) stays off the page.

#include "estimate/export.h"

#include <vector>

namespace velaro {

enum class PaperCell { Element, Formula, Count, Quantity, NormQuantity, System, Price, Work, Code };

struct PaperColumn {
    PaperCell cell;
    QString title;
    // 0 for figures, which get the width of their widest; the texts share what is left by weight.
    int weight;
};

// The columns of `view` on paper, in reading order; one shows only where a line fills it.
std::vector<PaperColumn> paperColumns(const SheetView& view);

// A cell on paper: its text, and the lines in a smaller type under it.
struct PaperText {
    QString main;
    QStringList details;
};
PaperText paperCell(const SheetView& view, int row, PaperCell cell);

// A subtotal or total area on paper, always to hundredths: «194,50 м2».
QString paperArea(const Decimal& area, QChar separator);

// A text as paper shows it: cut at 500 characters with «…», a length no estimate reaches, so that
// a crafted file cannot keep the layout running for minutes; its line breaks kept.
QString printable(const QString& text);

} // namespace velaro
