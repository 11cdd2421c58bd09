#include "estimate/xlsxexport.h"

#include "estimate/modules.h"

#include <QLibrary>

namespace velaro {
namespace {

using WriteWorkbook = void (*)(const SheetView*, const QString*, const ExportProgress*, QString*);
using ReadWorkbook = void (*)(const QString*, Records*, QString*);

// The workbook module, loaded once, by whichever thread exports first.
struct WorkbookModule {
    QLibrary library;
    WriteWorkbook write = nullptr;
    ReadWorkbook read = nullptr;
    WorkbookModule() {
        if (!loadModule(library, QStringLiteral("velaro-xlsx")))
            return;
        write = reinterpret_cast<WriteWorkbook>(library.resolve("velaro_write_xlsx"));
        read = reinterpret_cast<ReadWorkbook>(library.resolve("velaro_read_xlsx"));
    }
};

WorkbookModule& module() {
    static WorkbookModule loaded;
    return loaded;
}

} // namespace

QString writeXlsx(const SheetView& view, const QString& path, const ExportProgress& progress) {
    if (!module().write)
        return QStringLiteral("не загружен модуль записи Excel (%1)")
            .arg(module().library.errorString());
    QString error;
    module().write(&view, &path, &progress, &error);
    return error;
}

std::variant<Records, QString> readXlsxRows(const QString& path) {
    if (!module().read)
        return QStringLiteral("не загружен модуль Excel (%1)").arg(module().library.errorString());
    Records records;
    QString error;
    module().read(&path, &records, &error);
    if (!error.isEmpty())
        return error;
    return records;
}

} // namespace velaro
