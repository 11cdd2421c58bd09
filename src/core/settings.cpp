#include "core/settings.h"

#include <QFile>

namespace velaro {
namespace {

const QString kOrganization = QStringLiteral("velaro");
const QString kProgram = QStringLiteral("velaro-paint");
// Where QSettings kept them while the program named no organization.
const QString kOldOrganization = QStringLiteral("Unknown Organization");

// Every key of the old file into the new one, the old file removed only once the new one is
// written; a failure leaves both, to be tried again at the next start.
void moveOldSettings(QSettings& settings) {
    if (QFile::exists(settings.fileName()))
        return;
    QSettings old(QSettings::NativeFormat, QSettings::UserScope, kOldOrganization, kProgram);
    if (!QFile::exists(old.fileName()))
        return;
    const QStringList keys = old.allKeys();
    for (const QString& key : keys)
        settings.setValue(key, old.value(key));
    settings.sync();
    if (settings.status() == QSettings::NoError && QFile::exists(settings.fileName()))
        QFile::remove(old.fileName());
}

} // namespace

std::unique_ptr<QSettings> programSettings() {
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                kOrganization, kProgram);
    moveOldSettings(*settings);
    return settings;
}

} // namespace velaro
