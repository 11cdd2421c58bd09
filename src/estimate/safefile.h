#pragma once
// Files written whole or not at all. The bytes go to a temporary file beside the target, are
// flushed to the disk and checked, and only then take the target's place; on any failure the old
// file stays as it was and the cause is named in the user's words («на диске нет места»).

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <variant>

namespace velaro {

enum class Links {
    Follow,  // a symbolic link at the path is written through: a document the user links to
    Replace, // the link itself is replaced: the program's own files, which are never linked
};

// Empty when the file was written; otherwise what kept it from being written.
QString writeFileWhole(const QString& path, const QByteArray& bytes, Links links = Links::Follow);

// A file written as it is made, for documents too large to hold in memory first: the bytes go
// to the temporary file, and commit() puts it in the target's place. Dropped without a commit, or
// failing, it leaves the old file as it was and no temporary file behind.
class ReplacementFile final : public QIODevice {
  public:
    explicit ReplacementFile(const QString& path, Links links = Links::Follow);
    ~ReplacementFile() override;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // The first thing that went wrong, in the user's words; empty while all is well.
    QString problem() const { return problem_; }
    // Empty when the file is in place; otherwise why not.
    QString commit();
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    bool writeOut(const char* data, qint64 size);
    void fail(int error);

    QByteArray target_, temporary_, folder_;
    int fd_ = -1;
    QByteArray pending_; // small writes gathered into one
    QString problem_;
};

// The file's bytes, or the reason they were not read; a file of more than `largest` bytes is not
// read at all.
std::variant<QByteArray, QString> readFileAtMost(const QString& path, qint64 largest);

// An error number of the system in the user's words: of writing a file, of reading one.
QString causeOf(int error);
QString readingCauseOf(int error);

} // namespace velaro
