#pragma once
// The sheet on paper, for the client and the foreman: one paginated layout, painted with QPainter
// on any paged device, so the PDF file (QPdfWriter) and the printer (QPrinter) get the same pages.
// Page 1 opens with the title block; the lines follow room by room as the report gives them, each
// room with its subtotal, the column headings at the top of every page of the table; then the
// total area, the materials with their cans, the money, the sum in words and the signatures.
// Every page is numbered «Страница N из M».

#include "estimate/export.h"

#include <functional>

class QDate;
class QPagedPaintDevice;

namespace velaro {

// A4 with 15 mm margins, landscape where the columns printed need more width than portrait gives
// them to read well.
void setUpPages(QPagedPaintDevice& device, const SheetView& view);

// Lays the sheet out on pages of `device` and paints them. progress(done, total) may return false
// to cancel: returns false then, and where the device cannot be painted on.
bool paintSheet(const SheetView& view, QPagedPaintDevice& device, const QDate& today,
                const std::function<bool(int done, int total)>& progress = {});

// The pages as a PDF file, written to a temporary file beside it as they are painted and put in
// its place when whole: a failed or cancelled export leaves the old file as it was. Empty when
// written, otherwise why not.
QString writePdf(const SheetView& view, const QString& path, const ExportProgress& progress = {});

} // namespace velaro
