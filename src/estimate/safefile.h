#pragma once
// Files written whole or not at all. The bytes go to a temporary file beside the target, are
// flushed to the disk and checked, and only then take the target's place; on any failure the old
// file stays as it was and the cause is named in the user's words («на диске нет места»).

#include <QByteArray>
#include <QString>

#include <variant>

namespace velaro {

enum class Links {
    Follow,  // a symbolic link at the path is written through: a document the user links to
    Replace, // the link itself is replaced: the program's own files, which are never linked
};

// Empty when the file was written; otherwise what kept it from being written.
QString writeFileWhole(const QString& path, const QByteArray& bytes, Links links = Links::Follow);

// The file's bytes, or the reason they were not read; a file of more than `largest` bytes is not
// read at all.
std::variant<QByteArray, QString> readFileAtMost(const QString& path, qint64 largest);

// An error number of the system in the user's words.
QString causeOf(int error);

} // namespace velaro
