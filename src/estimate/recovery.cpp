#include "estimate/recovery.h"

#include "estimate/columns.h"
#include "estimate/safefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <new>

namespace velaro {
namespace {

const QString kOwnFilePattern = QStringLiteral("recovery-*.") + kSheetSuffix;

// The lock of the file at `path`, taken; nullptr where it is not, with `error` saying why.
std::unique_ptr<QLockFile> lockOf(const QString& path, QLockFile::LockError* error = nullptr) {
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // only a lock whose program has ended is stale, however old
    const bool taken = lock->tryLock(0);
    if (error)
        *error = lock->error();
    return taken ? std::move(lock) : nullptr;
}

} // namespace

RecoveryStore::RecoveryStore(QString folder) : folder_(std::move(folder)) {
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::sharedFileName() {
    return QStringLiteral("recovery.") + kSheetSuffix;
}

void RecoveryStore::claim() {
    QDir().mkpath(folder_);
    const QString shared = folder_ + u'/' + sharedFileName();
    QLockFile::LockError error = QLockFile::NoError;
    lock_ = lockOf(shared, &error);
    // Taken, or a folder where nothing can be written: then nobody writes it either, and the
    // failure is said at the first save.
    if (lock_ || error != QLockFile::LockFailedError) {
        shared_ = true;
        path_ = shared;
        return;
    }
    claimOwnFile();
    notices_ << QStringLiteral("Программа уже запущена, и её ведомость открыта в ней. Расчёты "
                               "этого окна сохраняются в отдельный файл «%1» и вернутся в "
                               "ведомость при следующем запуске.")
                    .arg(QDir::toNativeSeparators(path_));
}

void RecoveryStore::claimOwnFile() {
    lock_.reset();
    shared_ = false;
    // Bounded: in a folder where no lock can be made, the last name is used unlocked.
    for (int n = 1; n <= 100 && !lock_; ++n) {
        path_ = folder_ + QStringLiteral("/recovery-%1-%2.")
                              .arg(QCoreApplication::applicationPid())
                              .arg(n) +
                kSheetSuffix;
        if (!QFile::exists(path_))
            lock_ = lockOf(path_);
    }
}

std::optional<LoadedSheet> RecoveryStore::restore() {
    if (!shared_)
        return std::nullopt; // a program of its own starts with an empty sheet
    const auto noteWritten = [this](const QString& path) {
        const QDateTime written = QFileInfo(path).lastModified();
        if (!restoredWritten_.isValid() || written > restoredWritten_)
            restoredWritten_ = written;
    };
    std::optional<LoadedSheet> restored = read(path_);
    if (restored)
        noteWritten(path_);
    int takenLines = 0;
    const QStringList others = QDir(folder_).entryList({kOwnFilePattern}, QDir::Files, QDir::Name);
    for (const QString& name : others) {
        const QString path = folder_ + u'/' + name;
        auto lock = lockOf(path);
        if (!lock)
            continue; // its program is running
        if (auto other = read(path)) {
            const qsizetype had = restored ? restored->sheet.lines.size() : 0;
            if (had + other->sheet.lines.size() > kMaxLines) {
                // Nothing is lost: the file stays for a sheet that has room for it.
                notices_ << QStringLiteral("Строки, записанные другим запуском программы (%1), не "
                                           "возвращены: ведомость вмещает не больше %2 строк, а в "
                                           "ней %3. Они остаются в файле «%4».")
                                .arg(other->sheet.lines.size())
                                .arg(kMaxLines)
                                .arg(had)
                                .arg(QDir::toNativeSeparators(path));
                continue;
            }
            if (!restored)
                restored = LoadedSheet{};
            appendSheet(restored->sheet, other->sheet);
            restored->document.modified = true;
            noteWritten(path);
            takenLines += int(other->sheet.lines.size());
        }
        taken_.emplace_back(path, std::move(lock));
    }
    if (takenLines > 0)
        notices_ << QStringLiteral("В ведомость возвращены строки, записанные другим запуском "
                                   "программы: %1.")
                        .arg(takenLines);
    return restored;
}

void RecoveryStore::dropTakenFiles() {
    for (auto& [path, lock] : taken_) {
        QFile::remove(path);
        lock->unlock();
    }
    taken_.clear();
}

QStringList RecoveryStore::takeNotices() {
    return std::exchange(notices_, {});
}

std::optional<LoadedSheet> RecoveryStore::read(const QString& path) {
    if (!QFileInfo::exists(path))
        return std::nullopt; // a fresh user starts with an empty sheet
    QString reason;
    int newerFormat = 0;
    try {
        auto bytes = readFileAtMost(path, kLargestSheetFile);
        if (auto* text = std::get_if<QString>(&bytes)) {
            reason = *text;
        } else {
            auto loaded = sheetFromJson(std::get<QByteArray>(bytes));
            if (auto* sheet = std::get_if<LoadedSheet>(&loaded))
                return std::move(*sheet);
            reason = std::get<LoadError>(loaded).reason;
            newerFormat = std::get<LoadError>(loaded).newerFormat;
        }
    } catch (const std::bad_alloc&) {
        reason = QStringLiteral("не хватило памяти");
    }
    const QString shown = QDir::toNativeSeparators(path);
    const QString aside =
        setAside(path, newerFormat ? QStringLiteral("format-%1").arg(newerFormat)
                                   : QStringLiteral("damaged"));
    if (aside.isEmpty()) {
        notices_ << QStringLiteral("Резервная копия ведомости «%1» не прочитана (%2), и её не "
                                   "удалось отложить; она оставлена как есть.")
                        .arg(shown, reason);
        if (path == path_) // never written over: this run keeps a file of its own
            claimOwnFile();
    } else if (newerFormat) {
        notices_ << QStringLiteral("Резервная копия ведомости записана более новой версией "
                                   "программы (формат %1). Она сохранена как «%2»: откройте её в "
                                   "той версии.")
                        .arg(newerFormat)
                        .arg(QDir::toNativeSeparators(aside));
    } else {
        notices_ << QStringLiteral("Резервная копия ведомости не прочитана (%1). Она сохранена "
                                   "как «%2».")
                        .arg(reason, QDir::toNativeSeparators(aside));
    }
    return std::nullopt;
}

QString RecoveryStore::setAside(const QString& path, const QString& kind) {
    const QString base = path + u'.' + kind + u'-' +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = base;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = base + QStringLiteral("-%1").arg(n);
    return QFile::rename(path, aside) ? aside : QString();
}

namespace {

// Takes the other sheet's entries into `own`, one of the same name standing for its namesake,
// the others under new ids; returns the other's ids as they are in `own`.
template <class Entry>
QHash<int, int> mergeByName(QList<Entry>& own, const QList<Entry>& other,
                            const std::function<void(Entry&)>& adapt = {}) {
    int next = 1;
    for (const Entry& e : own)
        next = std::max(next, e.id + 1);
    QHash<int, int> ids;
    for (const Entry& e : other) {
        const auto same = std::find_if(own.begin(), own.end(),
                                       [&](const Entry& mine) { return mine.name == e.name; });
        if (same != own.end()) {
            ids.insert(e.id, same->id);
        } else {
            Entry added = e;
            added.id = next++;
            if (adapt)
                adapt(added);
            ids.insert(e.id, added.id);
            own.append(added);
        }
    }
    return ids;
}

} // namespace

void appendSheet(Sheet& sheet, const Sheet& other) {
    const QHash<int, int> materials = mergeByName(sheet.materials, other.materials);
    const QHash<int, int> systems =
        mergeByName<PaintSystem>(sheet.systems, other.systems, [&](PaintSystem& system) {
            for (Layer& layer : system.layers)
                layer.material = materials.value(layer.material, 0);
        });
    for (Line line : other.lines) {
        line.system = systems.value(line.system, 0);
        sheet.lines.append(std::move(line));
    }
}

} // namespace velaro
