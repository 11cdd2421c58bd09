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
    QString target = path;
    if (const QFileInfo info(path); links == Links::Follow && info.isSymLink())
        target = info.symLinkTarget();
    const QFileInfo where(target);
    const QByteArray finalName = QFile::encodeName(where.absoluteFilePath());
    QByteArray temporary =
        QFile::encodeName(where.absolutePath() + QStringLiteral("/.") + where.fileName()) +
        ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return causeOf(errno);
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return causeOf(error);
    };
    // The file keeps the permissions it had; a new one gets what the user's umask gives.
    struct stat existing {};
    const bool exists = ::lstat(finalName.constData(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (::fchmod(fd, exists ? existing.st_mode & 07777 : newFileMode()) != 0)
        return fail(errno);
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        written += n;
    }
    // A full disk may show only here, when the written pages get their blocks.
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return causeOf(error);
    }
    if (::rename(temporary.constData(), finalName.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return causeOf(error);
    }
    // The new name itself reaches the disk with the folder.
    if (const int folder = ::open(QFile::encodeName(where.absolutePath()).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

std::variant<QByteArray, QString> readFileAtMost(const QString& path, qint64 largest) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return causeOf(errno ? errno : ENOENT);
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
