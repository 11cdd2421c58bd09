#include "estimate/pdfjoin.h"

#include "estimate/modules.h"

#include <QLibrary>

namespace velaro {
namespace {

using JoinPdf = void (*)(const QStringList*, QIODevice*, QString*);

// The module, loaded once, by whichever thread needs it first.
struct JoinModule {
    QLibrary library;
    JoinPdf join = nullptr;
    JoinModule() {
        if (loadModule(library, QStringLiteral("velaro-pdf")))
            join = reinterpret_cast<JoinPdf>(library.resolve("velaro_join_pdf"));
    }
};

JoinModule& module() {
    static JoinModule loaded;
    return loaded;
}

} // namespace

bool canJoinPdf() {
    return module().join != nullptr;
}

QString joinPdf(const QStringList& parts, QIODevice& out) {
    if (!canJoinPdf())
        return QStringLiteral("не загружен модуль PDF (%1)").arg(module().library.errorString());
    QString error;
    module().join(&parts, &out, &error);
    return error;
}

} // namespace velaro
