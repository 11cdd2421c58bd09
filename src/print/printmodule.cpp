// The printing module: the print dialog and the printer, loaded by the estimate sheet only when
// the user prints, so that the program's start-up does not load the print-support library.

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

extern "C" Q_DECL_EXPORT int velaro_print_html(const QString* html, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    QTextDocument document;
    document.setHtml(*html);
    document.print(&printer);
    return 1;
}
