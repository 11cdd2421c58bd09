#include "estimate/sheetfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace velaro {
namespace {

constexpr qsizetype kLargestFile = 256 * 1024 * 1024;

QJsonObject materialObject(const Material& m) {
    return {{"name", m.name},   {"unit", m.unit},   {"consumption", m.consumption},
            {"coats", m.coats}, {"waste", m.waste}, {"canSize", m.canSize},
            {"price", m.price}};
}

QJsonObject lineObject(const Line& line) {
    QJsonArray measurements;
    for (const Measurement& m : line.measurements)
        measurements.append(QJsonObject{{"name", m.name}, {"text", m.text}, {"unit", m.unit}});
    return {{"room", line.room},
            {"element", line.element},
            {"calculator", line.calculator},
            {"inputs", line.inputs},
            {"measurements", measurements},
            {"conditions", QJsonArray::fromStringList(line.conditions)},
            {"formula", line.formula},
            {"result", line.result},
            {"count", line.count},
            {"material", line.material}};
}

// Reading one object: each member must be there with its type; the first fault ends it.
class Reader {
  public:
    Reader(const QJsonObject& object, QString where) : object_(object), where_(std::move(where)) {}

    QString text(const char* name) {
        const QJsonValue value = object_.value(QLatin1String(name));
        if (!value.isString())
            fail(name, QStringLiteral("нет текста"));
        return value.toString();
    }
    int whole(const char* name, int lowest, int highest) {
        const QJsonValue value = object_.value(QLatin1String(name));
        const double number = value.toDouble(-1.0);
        if (!value.isDouble() || !(number >= lowest && number <= highest) ||
            number != std::floor(number))
            fail(name, QStringLiteral("нужно целое от %1 до %2").arg(lowest).arg(highest));
        return int(number);
    }
    QJsonArray array(const char* name) {
        const QJsonValue value = object_.value(QLatin1String(name));
        if (!value.isArray())
            fail(name, QStringLiteral("нет списка"));
        return value.toArray();
    }
    bool flag(const char* name) {
        const QJsonValue value = object_.value(QLatin1String(name));
        if (!value.isBool())
            fail(name, QStringLiteral("нужно true или false"));
        return value.toBool();
    }
    [[noreturn]] void fail(const char* name, const QString& what) const {
        throw LoadError{
            QStringLiteral("файл повреждён: %1, «%2»: %3").arg(where_, QLatin1String(name), what)};
    }

  private:
    const QJsonObject& object_;
    QString where_;
};

QJsonObject objectAt(const QJsonArray& array, qsizetype i, const QString& where) {
    if (!array.at(i).isObject())
        throw LoadError{QStringLiteral("файл повреждён: %1 не запись").arg(where)};
    return array.at(i).toObject();
}

Material readMaterial(const QJsonObject& object, const QString& where) {
    Reader r(object, where);
    Material m;
    m.name = r.text("name");
    m.unit = r.text("unit");
    m.consumption = r.text("consumption");
    m.coats = r.whole("coats", 1, 99);
    m.waste = r.text("waste");
    m.canSize = r.text("canSize");
    m.price = r.text("price");
    if (const QString problem = m.problem(); !problem.isEmpty())
        throw LoadError{QStringLiteral("файл повреждён: %1: %2").arg(where, problem)};
    return m;
}

Line readLine(const QJsonObject& object, const QString& where) {
    Reader r(object, where);
    Line line;
    line.room = r.text("room");
    line.element = r.text("element");
    line.calculator = r.text("calculator");
    line.inputs = r.text("inputs");
    const QJsonArray measurements = r.array("measurements");
    for (qsizetype i = 0; i < measurements.size(); ++i) {
        const QString at = QStringLiteral("%1, замер %2").arg(where).arg(i + 1);
        Reader m(objectAt(measurements, i, at), at);
        line.measurements.append({m.text("name"), m.text("text"), m.text("unit")});
    }
    const QJsonArray conditions = r.array("conditions");
    for (const QJsonValue& condition : conditions) {
        if (!condition.isString())
            r.fail("conditions", QStringLiteral("условие не текст"));
        line.conditions.append(condition.toString());
    }
    line.formula = r.text("formula");
    line.result = r.text("result");
    if (!Decimal::parse(line.result))
        r.fail("result", QStringLiteral("«%1» не число").arg(line.result.left(40)));
    line.count = r.whole("count", 1, kMaxCount);
    line.material = r.text("material");
    return line;
}

LoadedSheet readSheet(const QJsonObject& root) {
    Reader r(root, QStringLiteral("ведомость"));
    LoadedSheet loaded;
    loaded.object = root;
    Sheet& sheet = loaded.sheet;
    sheet.recording = r.flag("recording");
    sheet.lastRoom = r.text("lastRoom");
    const QJsonArray materials = r.array("materials");
    QStringList names;
    for (qsizetype i = 0; i < materials.size(); ++i) {
        const QString where = QStringLiteral("материал %1").arg(i + 1);
        sheet.materials.append(readMaterial(objectAt(materials, i, where), where));
        if (names.contains(sheet.materials.back().name))
            throw LoadError{QStringLiteral("файл повреждён: %1: название повторяется").arg(where)};
        names.append(sheet.materials.back().name);
    }
    const QJsonArray lines = r.array("lines");
    sheet.lines.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString where = QStringLiteral("строка %1").arg(i + 1);
        sheet.lines.append(readLine(objectAt(lines, i, where), where));
        if (!sheet.lines.back().material.isEmpty() && !names.contains(sheet.lines.back().material))
            throw LoadError{QStringLiteral("файл повреждён: %1: нет материала «%2»")
                                .arg(where, sheet.lines.back().material.left(40))};
    }
    return loaded;
}

} // namespace

QByteArray sheetToJson(const Sheet& sheet, const QJsonObject& extra) {
    QJsonObject root = extra;
    root.insert("format", kSheetFormat);
    root.insert("version", kSheetVersion);
    root.insert("recording", sheet.recording);
    root.insert("lastRoom", sheet.lastRoom);
    QJsonArray materials;
    for (const Material& m : sheet.materials)
        materials.append(materialObject(m));
    root.insert("materials", materials);
    QJsonArray lines;
    for (const Line& line : sheet.lines)
        lines.append(lineObject(line));
    root.insert("lines", lines);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::variant<LoadedSheet, LoadError> sheetFromJson(const QByteArray& bytes) {
    if (bytes.trimmed().isEmpty())
        return LoadError{QStringLiteral("файл пуст")};
    if (bytes.size() > kLargestFile)
        return LoadError{QStringLiteral("файл слишком велик для ведомости")};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        // Running out of text inside the document is a file cut short, not a foreign one.
        if (error.offset >= bytes.trimmed().size() && bytes.trimmed().startsWith('{'))
            return LoadError{QStringLiteral("файл обрывается: он записан не до конца")};
        if (!bytes.trimmed().startsWith('{'))
            return LoadError{QStringLiteral("это не файл ведомости окраски")};
        return LoadError{QStringLiteral("файл повреждён: %1 (байт %2)")
                             .arg(error.errorString())
                             .arg(error.offset)};
    }
    if (!document.isObject())
        return LoadError{QStringLiteral("это не файл ведомости окраски")};
    const QJsonObject root = document.object();
    if (root.value("format").toString() != kSheetFormat)
        return LoadError{QStringLiteral("это не файл ведомости окраски")};
    const QJsonValue version = root.value("version");
    const double number = version.toDouble();
    if (!version.isDouble() || !(number >= 1) || number != std::floor(number))
        return LoadError{QStringLiteral("файл повреждён: нет версии формата")};
    if (number > kSheetVersion)
        return LoadError{QStringLiteral("файл записан более новой версией программы (формат %1); "
                                        "эта версия читает формат %2")
                             .arg(QString::number(number, 'g', 12))
                             .arg(kSheetVersion)};
    try {
        return readSheet(root);
    } catch (const LoadError& error) {
        return error;
    }
}

} // namespace velaro
