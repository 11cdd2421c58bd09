#pragma once
// Finding lines by what the estimator reads in them: the element, the room, the measurements and
// the formula, letters of either case.

#include "estimate/columns.h"

namespace velaro {

class Estimate;

inline constexpr Column kSearchedColumns[] = {Column::Element, Column::Room, Column::Measurements,
                                              Column::Formula};

bool isSearched(Column column);
bool cellMatches(const QString& cell, const QString& needle);
bool lineMatches(const Estimate& estimate, int row, const QString& needle);
// The next line that matches after `from` (or before it, going back), round past the end; -1
// where none does. `from` may be -1: from the start (or the end, going back).
int findLine(const Estimate& estimate, int from, const QString& needle, bool forward);
int matchCount(const Estimate& estimate, const QString& needle);

} // namespace velaro
