#include "estimate/delimitedtext.h"

namespace velaro {

Records delimitedRows(const QString& text, QChar separator) {
    Records records;
    QStringList row;
    QString cell;
    bool quoted = false, rowStarted = false, cellStart = true;
    int line = 1;
    const auto endCell = [&] {
        row << cell;
        cell.clear();
        cellStart = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!rowStarted) {
            rowStarted = true;
            records.lines << line;
        }
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += text[++i];
            } else if (c == u'"') {
                quoted = false;
            } else {
                line += c == u'\n';
                cell += c;
            }
        } else if (c == u'"' && cellStart) {
            quoted = true;
            cellStart = false;
        } else if (c == separator) {
            endCell();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++line;
            endCell();
            records.rows << row;
            row.clear();
            rowStarted = false;
        } else {
            cell += c;
            cellStart = false;
        }
    }
    if (rowStarted) {
        endCell();
        records.rows << row;
    }
    return records;
}

} // namespace velaro
