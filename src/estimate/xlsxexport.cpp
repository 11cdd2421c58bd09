#include "estimate/xlsxexport.h"

#include "estimate/modules.h"

#include <QLibrary>

namespace velaro {
namespace {

using WriteWorkbook = void (*)(const SheetView*, const QString*, const ExportProgress*, QString*);

// The workbook module, loaded once, by whichever thread exports first.
struct WorkbookModule {
    QLibrary library;
    WriteWorkbook write = nullptr;
    WorkbookModule() {
        if (loadModule(library, QStringLiteral("velaro-xlsx")))
            write = reinterpret_cast<WriteWorkbook>(library.resolve("velaro_write_xlsx"));
    }
};

} // namespace

QString writeXlsx(const SheetView& view, const QString& path, const ExportProgress& progress) {
    static WorkbookModule module;
    if (!module.write)
        return QStringLiteral("не загружен модуль записи Excel (%1)")
            .arg(module.library.errorString());
    QString error;
    module.write(&view, &path, &progress, &error);
    return error;
}

} // namespace velaro
