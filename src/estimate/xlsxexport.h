#pragma once
// The sheet as an Excel workbook an estimator goes on working in: quantities, work and paint are
// formulas over the lines' results and counts, so a change in the spreadsheet carries through to
// the totals. Each formula holds the program's own figure as its last result, for readers that do
// not calculate. The workbook is written by a module loaded at the first export.

#include "estimate/export.h"
#include "estimate/pricelist.h"

#include <QString>

#include <functional>
#include <variant>

namespace velaro {

// Empty when written; otherwise why not. Whole or not at all: on a failure or a cancel the file
// at `path` stays as it was. `progress` is told how many lines are written; it returns false to
// cancel, and the answer is then «прервано».
QString writeXlsx(const SheetView& view, const QString& path, const ExportProgress& progress = {});

// The first sheet of a workbook as rows of cell texts, each with its row number (a supplier's
// price list), read by the same module; or why it could not be read.
std::variant<Records, QString> readXlsxRows(const QString& path);

} // namespace velaro
