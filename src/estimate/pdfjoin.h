#pragma once
// PDF files of runs of one document's pages joined into one, by a module loaded at the first
// long PDF (it links qpdf, which start-up need not load).

#include <QString>
#include <QStringList>

class QIODevice;

namespace velaro {

// Whether the joining module is there; where it is not, a PDF is painted on one thread.
bool canJoinPdf();

// The pages of `parts`, in order, written to `out`; empty when written, otherwise why not.
QString joinPdf(const QStringList& parts, QIODevice& out);

} // namespace velaro
