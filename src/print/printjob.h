#pragma once
// What the estimate sheet hands the printing module: the module owns the printer and its
// dialogs, the sheet lays its pages out and paints them, so the module needs none of the sheet.

#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace velaro {

struct PrintJob {
    QString title;                                 // the print queue's name for it
    std::function<void(QPagedPaintDevice&)> setUp; // the paper and margins it wants
    std::function<bool(QPagedPaintDevice&)> paint; // all its pages; false where it stopped
};

} // namespace velaro
