#pragma once
// Where the sheet is kept between runs: a recovery file in the user's data folder, written within
// a second of every change. One program at a time owns the shared file (a lock beside it); a
// program that finds it taken keeps a file of its own, and the next program to own the shared
// file takes every such file whose program has ended back into its sheet. So every line
// recorded by any program is in the sheet at the next start, also after a kill.

#include "estimate/sheetfile.h"

#include <QDateTime>
#include <QLockFile>
#include <QStringList>

#include <memory>
#include <vector>

namespace velaro {

class RecoveryStore {
  public:
    // `folder` empty: the user's data folder.
    explicit RecoveryStore(QString folder = {});
    ~RecoveryStore();

    // Takes this run's file: the shared one when no running program holds it, else one of its
    // own. What happened is in `notices()`.
    void claim();
    bool ownsSharedFile() const { return shared_; }
    const QString& path() const { return path_; }

    // The sheet the shared file keeps, with the lines of every file left by an ended program
    // appended to it; nullopt where there is nothing to take back. A file that cannot be read
    // is set aside under a name of its own, never over another.
    std::optional<LoadedSheet> restore();
    // Once this run's file holds the lines taken back, the files they came from go.
    void dropTakenFiles();

    // What the user must be told of what claim() and restore() did, in sentences.
    QStringList takeNotices();
    // When the newest of the files restore() took lines from was written; invalid where none.
    const QDateTime& restoredWritten() const { return restoredWritten_; }

    static QString sharedFileName();

  private:
    void claimOwnFile();
    std::optional<LoadedSheet> read(const QString& path);
    QString setAside(const QString& path, const QString& kind);

    QString folder_;
    QString path_;
    bool shared_ = false;
    std::unique_ptr<QLockFile> lock_;
    // Files of ended programs, locked by this one while their lines are taken back.
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> taken_;
    QStringList notices_;
    QDateTime restoredWritten_;
};

// The lines (and the materials they use) of `other` appended to `sheet`; materials of the same
// name are one.
void appendSheet(Sheet& sheet, const Sheet& other);

} // namespace velaro
