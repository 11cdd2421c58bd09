#pragma once
// An estimate with its editor and table, as a document holds them, without its files.

#include "estimate/estimate.h"
#include "estimate/sheeteditor.h"
#include "estimate/sheetmodel.h"

#include <QUndoStack>

namespace velaro::test {

struct Sheets {
    Estimate estimate;
    SheetEditor editor;
    SheetModel model{estimate, editor};
    Sheets(QUndoStack& undo, QChar separator) : estimate(separator), editor(estimate, undo) {}
};

} // namespace velaro::test
