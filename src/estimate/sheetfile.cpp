#include "estimate/sheetfile.h"

#include "estimate/columns.h"
#include "estimate/json.h"

#include <algorithm>
#include <limits>

#include <cmath>

namespace velaro {
namespace {

using json::Value;


void writeMaterial(json::Writer& w, const Material& m) {
    w.beginObject();
    w.key(QLatin1StringView("id"));
    w.number(m.id);
    w.key(QLatin1StringView("name"));
    w.string(m.name);
    w.key(QLatin1StringView("unit"));
    w.string(m.unit);
    w.key(QLatin1StringView("consumption"));
    w.string(m.consumption);
    w.key(QLatin1StringView("coats"));
    w.number(m.coats);
    w.key(QLatin1StringView("waste"));
    w.string(m.waste);
    w.key(QLatin1StringView("canSize"));
    w.string(m.canSize);
    w.key(QLatin1StringView("price"));
    w.string(m.price);
    w.endObject();
}

void writeLine(json::Writer& w, const Line& line) {
    const auto text = [&w](const char* name, const QString& value) {
        w.key(QLatin1StringView(name));
        w.string(value);
    };
    w.beginObject();
    text("room", line.room);
    text("element", line.element);
    text("calculator", line.calculator);
    text("inputs", line.inputs);
    w.key(QLatin1StringView("measurements"));
    w.beginArray();
    for (const Measurement& m : line.measurements) {
        w.beginObject();
        text("name", m.name);
        text("text", m.text);
        text("unit", m.unit);
        w.endObject();
    }
    w.endArray();
    w.key(QLatin1StringView("conditions"));
    w.beginArray();
    for (const QString& condition : line.conditions)
        w.string(condition);
    w.endArray();
    text("formula", line.formula);
    text("result", line.result);
    w.key(QLatin1StringView("count"));
    w.number(line.count);
    w.key(QLatin1StringView("material"));
    w.number(line.material);
    w.endObject();
}

// Where in the file a fault lies, put into words only when there is one.
struct Where {
    const char* kind; // «строка», «материал», «ведомость»
    std::size_t number = 0;
    std::size_t measurement = 0;
    QString text() const {
        QString words = QString::fromUtf8(kind);
        if (number)
            words += QStringLiteral(" %1").arg(number);
        if (measurement)
            words += QStringLiteral(", замер %1").arg(measurement);
        return words;
    }
};

// Reading one object: each member must be there with its type; the first fault ends it.
class Reader {
  public:
    Reader(const Value& object, Where where) : object_(object), where_(where) {}

    QString text(const char* name) const {
        const Value* value = object_.member(name);
        if (!value || value->type != Value::Type::String)
            fail(name, QStringLiteral("нет текста"));
        return value->string;
    }
    int whole(const char* name, int lowest, int highest) const {
        const Value* value = object_.member(name);
        if (!value || value->type != Value::Type::Number || !(value->number >= lowest) ||
            !(value->number <= highest) || value->number != std::floor(value->number))
            fail(name, QStringLiteral("нужно целое от %1 до %2").arg(lowest).arg(highest));
        return int(value->number);
    }
    const std::vector<Value>& array(const char* name) const {
        const Value* value = object_.member(name);
        if (!value || value->type != Value::Type::Array)
            fail(name, QStringLiteral("нет списка"));
        return value->items;
    }
    bool flag(const char* name) const {
        const Value* value = object_.member(name);
        if (!value || value->type != Value::Type::Bool)
            fail(name, QStringLiteral("нужно true или false"));
        return value->boolean;
    }
    [[noreturn]] void fail(const char* name, const QString& what) const {
        throw LoadError{QStringLiteral("файл повреждён: %1, «%2»: %3")
                            .arg(where_.text(), QString::fromUtf8(name), what)};
    }

  private:
    const Value& object_;
    Where where_;
};

const Value& objectIn(const Value& value, const Where& where) {
    if (value.type != Value::Type::Object)
        throw LoadError{QStringLiteral("файл повреждён: %1 не запись").arg(where.text())};
    return value;
}

Material readMaterial(const Value& object, const Where& where, int version) {
    const Reader r(objectIn(object, where), where);
    Material m;
    // Before identities, a material was known by its place in the list.
    m.id = version >= 2 ? r.whole("id", 1, std::numeric_limits<int>::max()) : int(where.number);
    m.name = r.text("name");
    m.unit = r.text("unit");
    m.consumption = r.text("consumption");
    m.coats = r.whole("coats", 1, 99);
    m.waste = r.text("waste");
    m.canSize = r.text("canSize");
    m.price = r.text("price");
    if (const QString problem = m.problem(); !problem.isEmpty())
        throw LoadError{QStringLiteral("файл повреждён: %1: %2").arg(where.text(), problem)};
    return m;
}

Line readLine(const Value& object, const Where& where, const QList<Material>& materials,
              int version) {
    const Reader r(objectIn(object, where), where);
    Line line;
    line.room = r.text("room");
    line.element = r.text("element");
    line.calculator = r.text("calculator");
    line.inputs = r.text("inputs");
    const auto& measurements = r.array("measurements");
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        const Where at{where.kind, where.number, i + 1};
        const Reader m(objectIn(measurements[i], at), at);
        line.measurements.append({m.text("name"), m.text("text"), m.text("unit")});
    }
    for (const Value& condition : r.array("conditions")) {
        if (condition.type != Value::Type::String)
            r.fail("conditions", QStringLiteral("условие не текст"));
        line.conditions.append(condition.string);
    }
    line.formula = r.text("formula");
    // A result past the figures the totals sum (fifteen digits) is kept as shown and not summed.
    line.result = r.text("result");
    line.count = r.whole("count", 1, kMaxCount);
    if (version >= 2) {
        line.material = r.whole("material", 0, std::numeric_limits<int>::max());
        if (line.material && !materialOf(materials, line.material))
            throw LoadError{QStringLiteral("файл повреждён: %1: нет материала %2")
                                .arg(where.text())
                                .arg(line.material)};
    } else if (const QString name = r.text("material"); !name.isEmpty()) {
        const auto found = std::find_if(materials.begin(), materials.end(),
                                        [&](const Material& m) { return m.name == name; });
        if (found == materials.end())
            throw LoadError{QStringLiteral("файл повреждён: %1: нет материала «%2»")
                                .arg(where.text(), name.left(40))};
        line.material = found->id;
    }
    return line;
}

LoadedSheet readSheet(const Value& root, int version) {
    const Reader r(root, Where{"ведомость"});
    LoadedSheet loaded;
    Sheet& sheet = loaded.sheet;
    sheet.recording = r.flag("recording");
    sheet.lastRoom = r.text("lastRoom");
    const auto& materials = r.array("materials");
    QStringList names;
    QList<int> ids;
    for (std::size_t i = 0; i < materials.size(); ++i) {
        const Where where{"материал", i + 1};
        sheet.materials.append(readMaterial(materials[i], where, version));
        if (names.contains(sheet.materials.back().name))
            throw LoadError{
                QStringLiteral("файл повреждён: %1: название повторяется").arg(where.text())};
        if (ids.contains(sheet.materials.back().id))
            throw LoadError{
                QStringLiteral("файл повреждён: %1: номер повторяется").arg(where.text())};
        names.append(sheet.materials.back().name);
        ids.append(sheet.materials.back().id);
    }
    const auto& lines = r.array("lines");
    sheet.lines.reserve(qsizetype(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Where where{"строка", i + 1};
        sheet.lines.append(readLine(lines[i], where, sheet.materials, version));
    }
    if (const Value* document = root.member("document");
        document && document->type == Value::Type::String)
        loaded.document.path = document->string;
    if (const Value* modified = root.member("modified");
        modified && modified->type == Value::Type::Bool)
        loaded.document.modified = modified->boolean;
    return loaded;
}

} // namespace

QByteArray sheetToJson(const Sheet& sheet, const std::optional<DocumentState>& document) {
    json::Writer w;
    w.beginObject();
    w.key(QLatin1StringView("format"));
    w.string(kSheetFormat);
    w.key(QLatin1StringView("version"));
    w.number(kSheetVersion);
    if (document) {
        w.key(QLatin1StringView("document"));
        w.string(document->path);
        w.key(QLatin1StringView("modified"));
        w.boolean(document->modified);
    }
    w.key(QLatin1StringView("recording"));
    w.boolean(sheet.recording);
    w.key(QLatin1StringView("lastRoom"));
    w.string(sheet.lastRoom);
    w.key(QLatin1StringView("materials"));
    w.beginArray();
    for (const Material& m : sheet.materials)
        writeMaterial(w, m);
    w.endArray();
    w.key(QLatin1StringView("lines"));
    w.beginArray();
    for (const Line& line : sheet.lines)
        writeLine(w, line);
    w.endArray();
    w.endObject();
    return w.take();
}

std::variant<LoadedSheet, LoadError> sheetFromJson(const QByteArray& bytes) {
    if (bytes.trimmed().isEmpty())
        return LoadError{QStringLiteral("файл пуст")};
    if (bytes.size() > kLargestSheetFile)
        return LoadError{QStringLiteral("файл слишком велик для ведомости")};
    if (!bytes.trimmed().startsWith('{'))
        return LoadError{QStringLiteral("это не файл ведомости окраски")};
    auto parsed = json::parse(bytes);
    if (const auto* error = std::get_if<json::ParseError>(&parsed)) {
        // Running out of text inside the document is a file cut short.
        if (error->atEnd)
            return LoadError{QStringLiteral("файл обрывается: он записан не до конца")};
        return LoadError{
            QStringLiteral("файл повреждён: %1 (байт %2)").arg(error->what).arg(error->offset)};
    }
    const Value& root = std::get<Value>(parsed);
    const Value* format = root.member("format");
    if (!format || format->type != Value::Type::String || format->string != kSheetFormat)
        return LoadError{QStringLiteral("это не файл ведомости окраски")};
    const Value* version = root.member("version");
    if (!version || version->type != Value::Type::Number || !(version->number >= 1) ||
        version->number != std::floor(version->number))
        return LoadError{QStringLiteral("файл повреждён: нет версии формата")};
    if (version->number > kSheetVersion)
        return LoadError{QStringLiteral("файл записан более новой версией программы (формат %1); "
                                        "эта версия читает формат %2")
                             .arg(QString::number(version->number, 'g', 12))
                             .arg(kSheetVersion),
                         int(std::min(version->number, 1e9))};
    try {
        return readSheet(root, int(version->number));
    } catch (const LoadError& error) {
        return error;
    }
}

} // namespace velaro
