#pragma once
// Delimited text as spreadsheets write it: a CSV file, or the tab-separated rows a spreadsheet
// puts on the clipboard. A cell holding the separator, a line break or a quote comes in quotes,
// a quote in it doubled.

#include <QList>
#include <QString>
#include <QStringList>

namespace velaro {

// Rows of cells as a spreadsheet holds them, each with its line in the text.
struct Records {
    QList<QStringList> rows;
    QList<int> lines;
};

// The rows of `text` (line breaks \n, \r\n or \r); a line break at the end starts no row.
Records delimitedRows(const QString& text, QChar separator);

} // namespace velaro
