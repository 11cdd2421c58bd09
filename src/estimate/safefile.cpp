#include "estimate/safefile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velaro {
namespace {

// Read once: umask() can only be read by setting it, which must not race another thread.
mode_t newFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

} // namespace

QString causeOf(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("на диске нет места");
    case EDQUOT:
        return QStringLiteral("исчерпана дисковая квота");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на запись в эту папку");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("такой папки нет");
    case EISDIR:
        return QStringLiteral("на этом месте папка");
    case EFBIG:
        return QStringLiteral("файл больше, чем позволяет система");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя файла");
    case EIO:
        return QStringLiteral("ошибка записи на диск");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString writeFileWhole(const QString& path, const QByteArray& bytes, Links links) {
    ReplacementFile file(path, links);
    if (file.problem().isEmpty())
        file.write(bytes);
    return file.commit();
}

ReplacementFile::ReplacementFile(const QString& path, Links links) {
    QString target = path;
    if (const QFileInfo info(path); links == Links::Follow && info.isSymLink())
        target = info.symLinkTarget();
    const QFileInfo where(target);
    target_ = QFile::encodeName(where.absoluteFilePath());
    folder_ = QFile::encodeName(where.absolutePath());
    temporary_ = QFile::encodeName(where.absolutePath() + QStringLiteral("/.") + where.fileName()) +
                 ".XXXXXX";
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0) {
        temporary_.clear();
        problem_ = causeOf(errno);
        return;
    }
    // The file keeps the permissions it had; a new one gets what the user's umask gives.
    struct stat existing {};
    const bool exists = ::lstat(target_.constData(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (::fchmod(fd_, exists ? existing.st_mode & 07777 : newFileMode()) != 0) {
        fail(errno);
        return;
    }
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
}

void ReplacementFile::fail(int error) {
    if (problem_.isEmpty())
        problem_ = causeOf(error);
    setErrorString(problem_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
}

bool ReplacementFile::writeOut(const char* data, qint64 size) {
    for (qint64 written = 0; written < size;) {
        const ssize_t n = ::write(fd_, data + written, std::size_t(size - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(n < 0 ? errno : EIO);
            return false;
        }
        written += n;
    }
    return true;
}

qint64 ReplacementFile::writeData(const char* data, qint64 size) {
    constexpr qint64 kGathered = 256 * 1024;
    if (fd_ < 0)
        return -1;
    if (pending_.size() + size <= kGathered) {
        pending_.append(data, size);
        return size;
    }
    if (!writeOut(pending_.constData(), pending_.size()))
        return -1;
    pending_.clear();
    if (size >= kGathered)
        return writeOut(data, size) ? size : -1;
    pending_.append(data, size);
    return size;
}

QString ReplacementFile::commit() {
    if (fd_ < 0)
        return problem_;
    if (!writeOut(pending_.constData(), pending_.size()))
        return problem_;
    pending_.clear();
    // A full disk may show only here, when the written pages get their blocks.
    if (::fsync(fd_) != 0) {
        fail(errno);
        return problem_;
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 || ::rename(temporary_.constData(), target_.constData()) != 0) {
        fail(errno);
        return problem_;
    }
    temporary_.clear();
    QIODevice::close();
    // The new name itself reaches the disk with the folder.
    if (const int folder = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

QString readingCauseOf(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на чтение файла");
    case ENOENT:
        return QStringLiteral("такого файла нет");
    case ENOTDIR:
        return QStringLiteral("такой папки нет");
    case EISDIR:
        return QStringLiteral("это папка, а не файл");
    case EIO:
        return QStringLiteral("ошибка чтения с диска");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

std::variant<QByteArray, QString> readFileAtMost(const QString& path, qint64 largest) {
    // Qt opens a folder as if it were a file and fails only on reading it, with EINVAL.
    if (QFileInfo(path).isDir())
        return readingCauseOf(EISDIR);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return readingCauseOf(errno ? errno : ENOENT);
    if (file.size() > largest)
        return QStringLiteral("файл слишком велик для ведомости (%1 МБ; ведомость читает файлы "
                              "до %2 МБ)")
            .arg((file.size() + (1 << 20) - 1) >> 20)
            .arg(largest >> 20);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return bytes;
}

} // namespace velaro
