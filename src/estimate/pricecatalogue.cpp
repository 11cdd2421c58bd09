#include "estimate/pricecatalogue.h"

#include "estimate/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSet>
#include <QStandardPaths>

#include <cmath>

#include <sys/stat.h>

namespace velaro {
namespace {

// A catalogue is small and read whole: Qt's JSON tree is enough, unlike the sheet's file, which
// is read straight into the sheet by a streaming parser because of its size.

QJsonObject toJson(const Material& m) {
    QJsonArray cans;
    for (const Can& can : m.cans)
        cans.append(QJsonObject{{"size", can.size}, {"price", can.price}});
    return {{"id", m.id},       {"name", m.name}, {"unit", m.unit}, {"consumption", m.consumption},
            {"waste", m.waste}, {"cans", cans}};
}

QJsonObject toJson(const PaintSystem& s) {
    QJsonArray layers;
    for (const Layer& l : s.layers)
        layers.append(QJsonObject{{"material", l.material},
                                  {"coats", l.coats},
                                  {"work", l.work},
                                  {"price", l.price},
                                  {"code", l.code}});
    return {{"id", s.id}, {"name", s.name}, {"layers", layers}};
}

// Reading: the first fault, named by its place, as the sheet's file names its own.
struct Reader {
    QString fault;

    QString text(const QJsonObject& o, const char* member, const QString& where) {
        const QJsonValue v = o.value(QLatin1String(member));
        if (!v.isString() && fault.isEmpty())
            fault = QStringLiteral("%1, «%2»: нет текста").arg(where, QLatin1String(member));
        return v.toString();
    }
    int whole(const QJsonObject& o, const char* member, const QString& where, int lowest,
              int highest) {
        const double v = o.value(QLatin1String(member)).toDouble(std::nan(""));
        if (!(v >= lowest && v <= highest && v == std::floor(v))) {
            if (fault.isEmpty())
                fault = QStringLiteral("%1, «%2»: нужно целое от %3 до %4")
                            .arg(where, QLatin1String(member))
                            .arg(lowest)
                            .arg(highest);
            return lowest;
        }
        return int(v);
    }
    QJsonArray list(const QJsonObject& o, const char* member, const QString& where) {
        const QJsonValue v = o.value(QLatin1String(member));
        if (!v.isArray() && fault.isEmpty())
            fault = QStringLiteral("%1, «%2»: нет списка").arg(where, QLatin1String(member));
        return v.toArray();
    }
};

constexpr int kLargestId = 2147483647;

} // namespace

QString nameKey(const QString& name) {
    return name.simplified().toCaseFolded();
}

const Material* PriceCatalogue::material(const QString& name) const {
    const QString key = nameKey(name);
    for (const Material& m : materials)
        if (nameKey(m.name) == key)
            return &m;
    return nullptr;
}

const PaintSystem* PriceCatalogue::system(const QString& name) const {
    const QString key = nameKey(name);
    for (const PaintSystem& s : systems)
        if (nameKey(s.name) == key)
            return &s;
    return nullptr;
}

QByteArray catalogueToJson(const PriceCatalogue& catalogue) {
    QJsonArray materials, systems;
    for (const Material& m : catalogue.materials)
        materials.append(toJson(m));
    for (const PaintSystem& s : catalogue.systems)
        systems.append(toJson(s));
    const QJsonObject root{{"format", kCatalogueFormat},
                           {"version", kCatalogueVersion},
                           {"materials", materials},
                           {"systems", systems}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::variant<PriceCatalogue, QString> catalogueFromJson(const QByteArray& bytes) {
    if (bytes.size() > kLargestCatalogueFile)
        return QStringLiteral("файл слишком велик для каталога");
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("файл повреждён: %1 (байт %2)")
            .arg(error.errorString())
            .arg(error.offset);
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value("format").toString() != kCatalogueFormat)
        return QStringLiteral("это не файл каталога");
    const double version = root.value("version").toDouble(0);
    if (version > kCatalogueVersion)
        return QStringLiteral("каталог записан более новой версией программы (формат %1)")
            .arg(version);
    if (version != kCatalogueVersion)
        return QStringLiteral("файл повреждён: нет версии формата");

    Reader r;
    PriceCatalogue catalogue;
    QSet<QString> names;
    QSet<int> ids;
    const QJsonArray materials = r.list(root, "materials", QStringLiteral("каталог"));
    for (qsizetype i = 0; i < materials.size() && r.fault.isEmpty(); ++i) {
        const QString where = QStringLiteral("материал %1").arg(i + 1);
        const QJsonObject o = materials[i].toObject();
        Material m;
        m.id = r.whole(o, "id", where, 1, kLargestId);
        m.name = r.text(o, "name", where);
        m.unit = r.text(o, "unit", where);
        m.consumption = r.text(o, "consumption", where);
        m.waste = r.text(o, "waste", where);
        const QJsonArray cans = r.list(o, "cans", where);
        for (qsizetype j = 0; j < cans.size() && j <= kMostCanSizes; ++j) {
            const QString at = where + QStringLiteral(", тара %1").arg(j + 1);
            m.cans.append(
                {r.text(cans[j].toObject(), "size", at), r.text(cans[j].toObject(), "price", at)});
        }
        if (!r.fault.isEmpty())
            break;
        if (const QString problem = m.problem(); !problem.isEmpty())
            r.fault = where + QStringLiteral(": ") + problem;
        else if (names.contains(nameKey(m.name)))
            r.fault = where + QStringLiteral(": название повторяется");
        else if (ids.contains(m.id))
            r.fault = where + QStringLiteral(": номер повторяется");
        names.insert(nameKey(m.name));
        ids.insert(m.id);
        catalogue.materials.append(m);
    }
    const QJsonArray systems = r.list(root, "systems", QStringLiteral("каталог"));
    names.clear();
    for (qsizetype i = 0; i < systems.size() && r.fault.isEmpty(); ++i) {
        const QString where = QStringLiteral("система %1").arg(i + 1);
        const QJsonObject o = systems[i].toObject();
        PaintSystem s;
        s.id = r.whole(o, "id", where, 1, kLargestId);
        s.name = r.text(o, "name", where);
        const QJsonArray layers = r.list(o, "layers", where);
        for (qsizetype j = 0; j < layers.size() && r.fault.isEmpty(); ++j) {
            const QString at = where + QStringLiteral(", слой %1").arg(j + 1);
            const QJsonObject l = layers[j].toObject();
            Layer layer;
            layer.material = r.whole(l, "material", at, 0, kLargestId);
            layer.coats = r.whole(l, "coats", at, 1, 99);
            layer.work = r.text(l, "work", at);
            layer.price = r.text(l, "price", at);
            layer.code = r.text(l, "code", at);
            if (r.fault.isEmpty() && layer.material != 0 && !ids.contains(layer.material))
                r.fault = at + QStringLiteral(": нет материала %1").arg(layer.material);
            s.layers.append(layer);
        }
        if (!r.fault.isEmpty())
            break;
        if (const QString problem = s.problem(); !problem.isEmpty())
            r.fault = where + QStringLiteral(": ") + problem;
        else if (names.contains(nameKey(s.name)))
            r.fault = where + QStringLiteral(": название повторяется");
        names.insert(nameKey(s.name));
        catalogue.systems.append(s);
    }
    if (!r.fault.isEmpty())
        return QStringLiteral("файл повреждён: ") + r.fault;
    return catalogue;
}

CatalogueStore::CatalogueStore(QString path) : path_(std::move(path)) {}

QString CatalogueStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/catalogue.") + kCatalogueSuffix;
}

CatalogueStore::Stamp CatalogueStore::stampOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {quint64(status.st_ino), quint64(status.st_dev),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            qint64(status.st_size)};
}

QString CatalogueStore::refresh() {
    const Stamp now = stampOf(path_);
    if (now.size < 0 && !QFileInfo::exists(path_)) {
        catalogue_ = {};
        read_ = {};
        return {};
    }
    if (now == read_)
        return {};
    return read();
}

QString CatalogueStore::read() {
    const Stamp stamp = stampOf(path_);
    auto bytes = readFileAtMost(path_, kLargestCatalogueFile);
    if (const QString* problem = std::get_if<QString>(&bytes))
        return *problem;
    auto read = catalogueFromJson(std::get<QByteArray>(bytes));
    if (const QString* problem = std::get_if<QString>(&read))
        return *problem;
    catalogue_ = std::move(std::get<PriceCatalogue>(read));
    read_ = stamp;
    return {};
}

QString CatalogueStore::change(const std::function<bool(PriceCatalogue&)>& edit) {
    // The user's own data folder is made where it is missing; a shared folder that is not there
    // is a share not reachable now, and a folder made in its place would hide the firm's file.
    const QFileInfo file(path_);
    const bool own = file.absolutePath() == QFileInfo(defaultPath()).absolutePath();
    if (!file.absoluteDir().exists() && !(own && file.absoluteDir().mkpath(QStringLiteral("."))))
        return QStringLiteral("нет папки «%1»").arg(QDir::toNativeSeparators(file.absolutePath()));
    QLockFile lock(path_ + QStringLiteral(".lock"));
    // Another program writes a catalogue within a moment; waiting longer would only hang this one.
    if (!lock.tryLock(2000)) {
        if (lock.error() != QLockFile::LockFailedError)
            return QStringLiteral("не удалось создать файл блокировки рядом с каталогом");
        qint64 pid = 0;
        QString host, program;
        lock.getLockInfo(&pid, &host, &program);
        return QStringLiteral("каталог сейчас изменяет другой сметчик (компьютер «%1»); "
                              "попробуйте ещё раз через минуту")
            .arg(host.isEmpty() ? QStringLiteral("неизвестен") : host);
    }
    // What another program wrote since this one last read is the base of the change.
    read_ = {};
    if (const QString problem = refresh(); !problem.isEmpty())
        return problem;
    PriceCatalogue changed = catalogue_;
    if (!edit(changed))
        return {};
    if (const QString problem = writeFileWhole(path_, catalogueToJson(changed), Links::Follow);
        !problem.isEmpty())
        return problem;
    catalogue_ = std::move(changed);
    read_ = stampOf(path_);
    return {};
}

} // namespace velaro
