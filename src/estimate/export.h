#pragma once
// The sheet for other programs and for paper: a CSV file a spreadsheet opens as it is, and the
// figures the printed pages (sheetpages) sum up.

#include "estimate/columns.h"

#include <QByteArray>

#include <functional>
#include <vector>

namespace velaro {

// What the exports read: the sheet with its figures and totals.
struct SheetView {
    const Sheet& sheet;
    const std::vector<LineFigures>& figures;
    const Totals& totals;
    const RatesById& rates;
    QChar separator;
    QStringList rooms; // in the order the estimator gives them, «» last where lines have none
};

// A copy of what the exports read, so that an export can be written on a worker thread while
// the sheet goes on changing. The lines are shared with the sheet until either changes.
struct SheetSnapshot {
    Sheet sheet;
    std::vector<LineFigures> figures;
    Totals totals;
    RatesById rates;
    QChar separator;
    QStringList rooms;
    static SheetSnapshot of(const SheetView& view) {
        return {view.sheet, view.figures, view.totals, view.rates, view.separator, view.rooms};
    }
    SheetView view() const { return {sheet, figures, totals, rates, separator, rooms}; }
};

// The name a document of the object is proposed under: «<object>.<suffix>», without what no file
// system takes, the controls that would show it reversed, or leading dots that would hide it, and
// within 200 bytes of UTF-8 whatever the script. Empty where the object leaves no name.
QString fileNameOf(const QString& object, const QString& suffix);

// How far a long export has come; returning false cancels it.
using ExportProgress = std::function<bool(int done, int total)>;

// ';' between fields where the decimal separator is the comma (as spreadsheets expect there),
// ',' elsewhere.
QChar csvFieldSeparator(QChar decimalSeparator);
// One cell, quoted by RFC 4180 where it holds the separator, a quote or a line break; a cell a
// spreadsheet would run as a formula (= + - @ first, blanks before them or not; tab or CR first)
// starts with «'», unless it is a plain figure such as -2,5.
QString csvCell(const QString& text, QChar fieldSeparator);
// UTF-8 with a byte-order mark, CRLF line ends, a header row, one row per line; then, after an
// empty row, the materials taken with their cans and cost.
QByteArray sheetCsv(const SheetView& view);

// Per material: its name, quantity with unit, cans and cost, as the totals show them.
struct MaterialRow {
    QString name, quantity, cans, cost;
};
std::vector<MaterialRow> materialRows(const SheetView& view);

// What the job costs, in roubles with kopecks: the materials' cans, the work, overhead and
// profit on the work (none where no rate is set), their sum, VAT at the sheet's rate (likewise)
// and the grand total.
struct Money {
    Decimal materials, work;
    std::optional<Decimal> overheadRate, overhead, profitRate, profit;
    Decimal subtotal;
    std::optional<Decimal> vatRate, vat;
    Decimal total;
};
Money moneyOf(const SheetView& view);
// The same from the materials' cost and the work already summed.
Money moneyOf(const Decimal& materials, const Decimal& work, const QString& vatRate,
              const QString& overheadRate = {}, const QString& profitRate = {});

// How documents name the overhead and profit rows: «НР 12% от работ».
QString overheadLabel(const Decimal& rate, QChar separator);
QString profitLabel(const Decimal& rate, QChar separator);

} // namespace velaro
