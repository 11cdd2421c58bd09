#pragma once
// «Последние ведомости»: the ten sheets last opened or saved, newest first, kept in the program's
// settings; each also goes to the desktop's list of recent files, which file managers and file
// dialogs show.

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;

namespace velaro {

class RecentSheets final : public QObject {
    Q_OBJECT
  public:
    static constexpr int kKept = 10;

    // Fills `menu` each time it opens; a chosen sheet goes to `open`.
    RecentSheets(QMenu& menu, std::function<void(const QString&)> open, QObject* parent = nullptr);

    QStringList paths() const;
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

  private:
    void fill();

    QMenu& menu_;
    std::function<void(const QString&)> open_;
};

// Adds the file to $XDG_DATA_HOME/recently-used.xbel, as desktop programs share their recent
// files; a list that cannot be read is left as it is. False where nothing was written.
bool addToDesktopRecent(const QString& path, const QString& mimeType);

} // namespace velaro
