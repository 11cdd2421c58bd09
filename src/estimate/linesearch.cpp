#include "estimate/linesearch.h"

#include "estimate/estimate.h"

#include <algorithm>

namespace velaro {

bool isSearched(Column column) {
    return std::find(std::begin(kSearchedColumns), std::end(kSearchedColumns), column) !=
           std::end(kSearchedColumns);
}

bool cellMatches(const QString& cell, const QString& needle) {
    return !needle.isEmpty() && cell.contains(needle, Qt::CaseInsensitive);
}

bool lineMatches(const Estimate& estimate, int row, const QString& needle) {
    const Line& line = estimate.sheet().lines[row];
    const LineFigures& figures = estimate.figures()[row];
    return std::any_of(std::begin(kSearchedColumns), std::end(kSearchedColumns), [&](Column column) {
        return cellMatches(cellText(line, figures, column, estimate.separator(), estimate.sheet()),
                           needle);
    });
}

int findLine(const Estimate& estimate, int from, const QString& needle, bool forward) {
    const int count = estimate.lineCount();
    if (needle.isEmpty() || count == 0)
        return -1;
    if (from < 0 || from >= count)
        from = forward ? count - 1 : 0;
    for (int step = 1; step <= count; ++step) {
        const int row = ((forward ? from + step : from - step) % count + count) % count;
        if (lineMatches(estimate, row, needle))
            return row;
    }
    return -1;
}

int matchCount(const Estimate& estimate, const QString& needle) {
    int count = 0;
    for (int row = 0; row < estimate.lineCount(); ++row)
        count += needle.isEmpty() ? 0 : lineMatches(estimate, row, needle);
    return count;
}

} // namespace velaro
