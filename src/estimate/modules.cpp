#include "estimate/modules.h"

#include <QCoreApplication>
#include <QLibrary>

namespace velaro {

bool loadModule(QLibrary& library, const QString& name) {
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {here, here + QStringLiteral("/.."), here + QStringLiteral("/../" VELARO_MODULE_DIR)}) {
        library.setFileName(folder + u'/' + name);
        if (library.load())
            return true;
    }
    return false;
}

} // namespace velaro
