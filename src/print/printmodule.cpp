// The printing module: the print preview, the print dialog and the printer, loaded by the
// estimate sheet only when the user prints, so that the program's start-up does not load the
// print-support library.

#include "print/printjob.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

// The preview of the job's pages, printed from there; 1 where the user printed.
extern "C" Q_DECL_EXPORT int velaro_print_preview(const velaro::PrintJob* job, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job->title);
    job->setUp(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать: %1").arg(job->title));
    // Painted again whenever the preview's paper or orientation changes.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [job](QPrinter* device) { job->paint(*device); });
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}
