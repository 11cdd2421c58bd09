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
    text(w, "waste", m.waste);
    key(w, "cans");
    w.StartArray();
    for (const Can& can : m.cans) {
        w.StartObject();
        text(w, "size", can.size);
        text(w, "price", can.price);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

void writeSystem(Writer& w, const PaintSystem& s) {
    w.StartObject();
    key(w, "id");
    w.Int(s.id);
    text(w, "name", s.name);
    key(w, "layers");
    w.StartArray();
    for (const Layer& layer : s.layers) {
        w.StartObject();
        key(w, "material");
        w.Int(layer.material);
        key(w, "coats");
        w.Int(layer.coats);
        text(w, "work", layer.work);
        text(w, "price", layer.price);
        text(w, "code", layer.code);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

QString kindName(LineKind kind) {
    switch (kind) {
    case LineKind::Computed:
        break;
    case LineKind::Typed:
        return QStringLiteral("typed");
    case LineKind::Walls:
        return QStringLiteral("walls");
    case LineKind::Ceiling:
        return QStringLiteral("ceiling");
    case LineKind::Reveals:
        return QStringLiteral("reveals");
    }
    return QStringLiteral("computed");
}

QString openingKindName(OpeningKind kind) {
    switch (kind) {
    case OpeningKind::Window:
        break;
    case OpeningKind::Door:
        return QStringLiteral("door");
    case OpeningKind::Doorway:
        return QStringLiteral("doorway");
    }
    return QStringLiteral("window");
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
    text(w, "kind", kindName(line.kind));
    text(w, "unit", line.unit);
    text(w, "opening", line.opening);
    key(w, "deduct");
    w.Bool(line.deduct);
    key(w, "system");
    w.Int(line.system);
    text(w, "price", line.price);
    text(w, "code", line.code);
    text(w, "adjacentRoom", line.adjacentRoom);
    // Only a walls line measured with its openings has them: other lines leave the member out.
    if (!line.roomOpenings.isEmpty()) {
        key(w, "openings");
        w.StartArray();
        for (const RoomOpening& opening : line.roomOpenings) {
            w.StartObject();
            text(w, "kind", openingKindName(opening.kind));
            text(w, "width", opening.width);
            text(w, "height", opening.height);
            text(w, "count", opening.count);
            key(w, "deduct");
            w.Bool(opening.deduct);
            text(w, "depth", opening.depth);
            w.EndObject();
        }
        w.EndArray();
    }
    if (!line.openingWidth.isEmpty() || !line.openingHeight.isEmpty()) {
        text(w, "openingWidth", line.openingWidth);
        text(w, "openingHeight", line.openingHeight);
    }
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
    text(w, "vatRate", sheet.vatRate);
    text(w, "overheadRate", sheet.overheadRate);
    text(w, "profitRate", sheet.profitRate);
    const SheetProperties& p = sheet.properties;
    text(w, "object", p.object);
    text(w, "address", p.address);
    text(w, "client", p.client);
    text(w, "contractor", p.contractor);
    text(w, "estimator", p.estimator);
    text(w, "date", p.date);
    text(w, "clientSignatoryPosition", p.clientSignatory.position);
    text(w, "clientSignatoryName", p.clientSignatory.name);
    text(w, "contractorSignatoryPosition", p.contractorSignatory.position);
    text(w, "contractorSignatoryName", p.contractorSignatory.name);
    text(w, "catalogue", sheet.catalogue);
    key(w, "materials");
    w.StartArray();
    for (const Material& m : sheet.materials)
        writeMaterial(w, m);
    w.EndArray();
    key(w, "systems");
    w.StartArray();
    for (const PaintSystem& s : sheet.systems)
        writeSystem(w, s);
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
