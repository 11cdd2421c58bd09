#include "estimate/gui/recentsheets.h"

#include "core/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

// GLib's bookmark file is the reader and writer of the desktop's recent files list that GTK and
// the file managers use; it writes the list whole to a new file and renames it over the old.
#include <glib.h>

namespace velaro {
namespace {

const QString kKey = QStringLiteral("recentSheets");

QString shownName(int number, const QString& path) {
    const QFileInfo file(path);
    // The number is the key that opens it; an ampersand of the name is no key.
    const QString name = file.fileName().replace(u'&', QStringLiteral("&&"));
    const QString folder = QDir::toNativeSeparators(file.path()).replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2 — %3").arg(number % 10).arg(name, folder);
}

} // namespace

RecentSheets::RecentSheets(QMenu& menu, std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent), menu_(menu), open_(std::move(open)) {
    connect(&menu_, &QMenu::aboutToShow, this, &RecentSheets::fill);
    fill();
}

QStringList RecentSheets::paths() const {
    return programSettings()->value(kKey).toStringList().mid(0, kKept);
}

void RecentSheets::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = this->paths();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    programSettings()->setValue(kKey, paths.mid(0, kKept));
    addToDesktopRecent(absolute, QStringLiteral("application/x-velaro-estimate"));
    fill();
}

void RecentSheets::remove(const QString& path) {
    QStringList paths = this->paths();
    paths.removeAll(QFileInfo(path).absoluteFilePath());
    programSettings()->setValue(kKey, paths);
    fill();
}

void RecentSheets::clear() {
    programSettings()->remove(kKey);
    fill();
}

void RecentSheets::fill() {
    menu_.clear();
    const QStringList paths = this->paths();
    for (int i = 0; i < paths.size(); ++i) {
        QAction* action = menu_.addAction(shownName(i + 1, paths[i]));
        action->setToolTip(paths[i]);
        action->setStatusTip(paths[i]);
        const QString path = paths[i];
        connect(action, &QAction::triggered, this, [this, path] { open_(path); });
    }
    if (!paths.isEmpty())
        menu_.addSeparator();
    QAction* clear = menu_.addAction(QStringLiteral("&Очистить список"));
    clear->setObjectName("clearRecent");
    clear->setEnabled(!paths.isEmpty());
    connect(clear, &QAction::triggered, this, &RecentSheets::clear);
    menu_.setEnabled(true);
}

bool addToDesktopRecent(const QString& path, const QString& mimeType) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    const QByteArray list = QFile::encodeName(folder + QStringLiteral("/recently-used.xbel"));
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    GBookmarkFile* bookmarks = g_bookmark_file_new();
    GError* error = nullptr;
    bool readable = g_bookmark_file_load_from_file(bookmarks, list.constData(), &error);
    // A list that is not there yet is started; one that is there but cannot be read is the
    // user's, and stays as it is.
    if (!readable && g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT))
        readable = true;
    g_clear_error(&error);
    bool written = false;
    if (readable) {
        g_bookmark_file_set_mime_type(bookmarks, uri.constData(), mimeType.toUtf8().constData());
        g_bookmark_file_add_application(bookmarks, uri.constData(), "velaro-paint",
                                        "velaro-paint %u");
        written = g_bookmark_file_to_file(bookmarks, list.constData(), &error);
        g_clear_error(&error);
    }
    g_bookmark_file_free(bookmarks);
    return written;
}

} // namespace velaro
