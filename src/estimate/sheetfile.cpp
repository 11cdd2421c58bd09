#include "estimate/sheetfile.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

namespace velaro {
namespace {

// ---- Writing

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

template <std::size_t N> void key(Writer& w, const char (&name)[N]) {
    w.Key(name, rapidjson::SizeType(N - 1));
}

void text(Writer& w, const QString& value) {
    const QByteArray bytes = value.toUtf8();
    w.String(bytes.constData(), rapidjson::SizeType(bytes.size()));
}

template <std::size_t N> void text(Writer& w, const char (&name)[N], const QString& value) {
    key(w, name);
    text(w, value);
}

void writeMaterial(Writer& w, const Material& m) {
    w.StartObject();
    key(w, "id");
    w.Int(m.id);
    text(w, "name", m.name);
    text(w, "unit", m.unit);
    text(w, "consumption", m.consumption);
    key(w, "coats");
    w.Int(m.coats);
    text(w, "waste", m.waste);
    text(w, "canSize", m.canSize);
    text(w, "price", m.price);
    w.EndObject();
}

void writeLine(Writer& w, const Line& line) {
    w.StartObject();
    text(w, "room", line.room);
    text(w, "element", line.element);
    text(w, "calculator", line.calculator);
    text(w, "inputs", line.inputs);
    key(w, "measurements");
    w.StartArray();
    for (const Measurement& m : line.measurements) {
        w.StartObject();
        text(w, "name", m.name);
        text(w, "text", m.text);
        text(w, "unit", m.unit);
        w.EndObject();
    }
    w.EndArray();
    key(w, "conditions");
    w.StartArray();
    for (const QString& condition : line.conditions)
        text(w, condition);
    w.EndArray();
    text(w, "formula", line.formula);
    text(w, "result", line.result);
    key(w, "count");
    w.Int(line.count);
    key(w, "material");
    w.Int(line.material);
    w.EndObject();
}

} // namespace

QByteArray sheetToJson(const Sheet& sheet, const std::optional<DocumentState>& document) {
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.SetIndent(' ', 2);
    w.StartObject();
    text(w, "format", kSheetFormat);
    key(w, "version");
    w.Int(kSheetVersion);
    if (document) {
        text(w, "document", document->path);
        key(w, "modified");
        w.Bool(document->modified);
    }
    key(w, "recording");
    w.Bool(sheet.recording);
    text(w, "lastRoom", sheet.lastRoom);
    key(w, "materials");
    w.StartArray();
    for (const Material& m : sheet.materials)
        writeMaterial(w, m);
    w.EndArray();
    key(w, "lines");
    w.StartArray();
    for (const Line& line : sheet.lines)
        writeLine(w, line);
    w.EndArray();
    w.EndObject();
    buffer.Put('\n');
    return QByteArray(buffer.GetString(), qsizetype(buffer.GetSize()));
}

} // namespace velaro
