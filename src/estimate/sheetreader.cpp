// Reading the sheet's file (sheetFromJson); writing it is in sheetfile.cpp.

#include "estimate/sheetfile.h"

#include "estimate/rooms.h"

#include <QHash>
#include <QSet>

#include <rapidjson/error/error.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velaro {
namespace {

// ---- Reading: straight from the parser's events into the sheet, with no tree of the whole
// text in between, so that what a file costs in memory is what it gives, however much else it
// holds. Faults are kept, not thrown: which one is told depends on the whole text (a syntax
// fault anywhere comes first, then the format, then the version), and on the order the sheet's
// parts are checked in (materials, systems, lines; a record's members in a fixed order), not on
// the order they stand in the file. Members that differ by version are checked once the whole
// file has given its version.

constexpr int kDeepest = 32;
constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr int kLargestInt = std::numeric_limits<int>::max();
constexpr int kMostCoats = 99;

bool whole(double value, int lowest, int highest) {
    return value >= lowest && value <= highest && value == std::floor(value);
}

QString wholeFault(int lowest, int highest) {
    return QStringLiteral("нужно целое от %1 до %2").arg(lowest).arg(highest);
}

QString memberFault(const QString& where, const char* member, const QString& what) {
    return QStringLiteral("%1, «%2»: %3").arg(where, QString::fromUtf8(member), what);
}

QString materialAt(qsizetype index) {
    return QStringLiteral("материал %1").arg(index + 1);
}

QString systemAt(qsizetype index) {
    return QStringLiteral("система %1").arg(index + 1);
}

QString layerAt(qsizetype system, qsizetype index) {
    return systemAt(system) + QStringLiteral(", слой %1").arg(index + 1);
}

QString canAt(qsizetype material, qsizetype index) {
    return materialAt(material) + QStringLiteral(", тара %1").arg(index + 1);
}

QString lineAt(qsizetype index) {
    return QStringLiteral("строка %1").arg(index + 1);
}

// A \udc00 escape is taken by the parser as a character of its own; valid UTF-8 in the file
// cannot hold one, so every ED A0…ED BF in the parser's output came from such an escape.
bool holdsLoneSurrogate(const char* text, std::size_t size) {
    const char* end = text + size;
    for (const char* p = text;
         (p = static_cast<const char*>(std::memchr(p, 0xED, std::size_t(end - p)))); ++p)
        if (end - p > 1 && static_cast<unsigned char>(p[1]) >= 0xA0)
            return true;
    return false;
}

// A record's members in the order they are checked, and where each text goes.
template <class Record> struct Field {
    std::string_view name;
    QString Record::*text = nullptr; // null for members that are not texts
};
constexpr Field<Material> kMaterialFields[] = {
    {"id"},    // from format 2 on
    {"coats"}, // before format 3, when a line had one material
    {"name", &Material::name},
    {"unit", &Material::unit},
    {"consumption", &Material::consumption},
    {"waste", &Material::waste},
    // From here on, each version's own members.
    {"canSize"}, // before format 4: one can size, a text
    {"price"},   // before format 4: that can's price, a text
    {"cans"},    // from format 4 on
};
enum MaterialMember { kId = 0, kCoats = 1, kCanSize = 6, kCanPrice = 7, kCans = 8 };
constexpr Field<Can> kCanFields[] = {{"size", &Can::size}, {"price", &Can::price}};
constexpr Field<PaintSystem> kSystemFields[] = {{"id"},
                                                {"name", &PaintSystem::name},
                                                {"layers"},
                                                // before format 4: the work's one price and
                                                // norm, texts
                                                {"price"},
                                                {"code"}};
enum SystemMember { kSystemId = 0, kLayers = 2, kSystemPrice = 3, kSystemCode = 4 };
constexpr Field<Layer> kLayerFields[] = {{"material"},
                                         {"coats"},
                                         // from format 4 on
                                         {"work", &Layer::work},
                                         {"price", &Layer::price},
                                         {"code", &Layer::code}};
enum LayerMember { kLayerMaterial = 0, kLayerCoats = 1, kLayerWork = 2 };
// The members each format has its layers hold.
constexpr std::size_t layerMembersOf(int version) {
    return version >= 4 ? std::size(kLayerFields) : std::size_t(kLayerWork);
}
constexpr Field<Line> kLineFields[] = {
    {"room", &Line::room},
    {"element", &Line::element},
    {"calculator", &Line::calculator},
    {"inputs", &Line::inputs},
    {"measurements"},
    {"conditions"},
    {"formula", &Line::formula},
    {"result", &Line::result},
    {"count"},
    // From here on, each version's own members.
    {"material"}, // before format 3
    {"kind"},     // from format 3 on
    {"unit", &Line::unit},
    {"opening", &Line::opening},
    {"deduct"},
    {"system"},
    {"price", &Line::price},
    {"code", &Line::code},
    {"adjacentRoom", &Line::adjacentRoom}, // from format 4 on
    {"openings"}, // from format 4 on, a walls line's only, and left out where there are none
    // From format 4 on, an opening line given its size only.
    {"openingWidth", &Line::openingWidth},
    {"openingHeight", &Line::openingHeight},
};
enum LineMember {
    kMeasurements = 4,
    kConditions = 5,
    kCount = 8,
    kMaterial = 9,
    kKind = 10,
    kDeduct = 13,
    kSystem = 14,
    kAdjacentRoom = 17,
    kOpenings = 18,
    kOpeningWidth = 19
};
// The members each format has its lines hold, past those of every format.
constexpr std::size_t lineMembersOf(int version) {
    return version >= 4 ? std::size(kLineFields) : std::size_t(kAdjacentRoom);
}
// Those of them every line has: from the openings on, a line holds them only where it has any.
constexpr std::size_t requiredLineMembersOf(int version) {
    return std::min(lineMembersOf(version), std::size_t(kOpenings));
}
constexpr Field<RoomOpening> kOpeningFields[] = {
    {"kind"},  {"width", &RoomOpening::width}, {"height", &RoomOpening::height},
    {"count", &RoomOpening::count}, {"deduct"}, {"depth", &RoomOpening::depth}};
enum OpeningMember { kOpeningKind = 0, kOpeningDeduct = 4 };
constexpr Field<Measurement> kMeasurementFields[] = {
    {"name", &Measurement::name}, {"text", &Measurement::text}, {"unit", &Measurement::unit}};
constexpr std::string_view kSheetMembers[] = {
    "format",  "version", "document", "modified",   "recording", "lastRoom",  "vatRate",
    "object",  "address", "client",   "contractor", "estimator", "date",      "materials",
    "systems", "lines",
    // From format 4 on.
    "overheadRate", "profitRate", "clientSignatoryPosition", "clientSignatoryName",
    "contractorSignatoryPosition", "contractorSignatoryName",
    // Format 4, and may be left out: a sheet of no catalogue.
    "catalogue"};
// The properties, in the order of kSheetMembers from kObject, and where each goes.
constexpr QString SheetProperties::*kPropertyFields[] = {
    &SheetProperties::object,     &SheetProperties::address,   &SheetProperties::client,
    &SheetProperties::contractor, &SheetProperties::estimator, &SheetProperties::date};
enum SheetMember {
    kFormat,
    kVersion,
    kDocument,
    kModified,
    kRecording,
    kLastRoom,
    kVatRate,
    kObject,
    kDate = kObject + 5,
    kMaterials,
    kSystems,
    kLines,
    kOverheadRate,
    kProfitRate,
    kClientSignatoryPosition,
    kClientSignatoryName,
    kContractorSignatoryPosition,
    kContractorSignatoryName,
    kCatalogue
};
// The texts of format 4 on, in the order of kSheetMembers from kOverheadRate.
constexpr int kFormatFourTexts = kContractorSignatoryName - kOverheadRate + 1;
static_assert(kMaterialFields[kCoats].name == "coats" && kMaterialFields[kCans].name == "cans" &&
              kMaterialFields[kCanSize].name == "canSize" &&
              kMaterialFields[kCanPrice].name == "price" && kSystemFields[kLayers].name == "layers" &&
              kSystemFields[kSystemPrice].name == "price" &&
              kSystemFields[kSystemCode].name == "code" && kLayerFields[kLayerWork].name == "work" &&
              kLayerFields[kLayerCoats].name == "coats" && kLineFields[kCount].name == "count" &&
              kLineFields[kMaterial].name == "material" && kLineFields[kKind].name == "kind" &&
              kLineFields[kDeduct].name == "deduct" && kLineFields[kSystem].name == "system" &&
              kLineFields[kAdjacentRoom].name == "adjacentRoom" &&
              kLineFields[kOpenings].name == "openings" &&
              kLineFields[kOpeningWidth].name == "openingWidth" &&
              std::size(kLineFields) == kOpeningWidth + 2 &&
              kOpeningFields[kOpeningKind].name == "kind" &&
              kOpeningFields[kOpeningDeduct].name == "deduct" &&
              kSheetMembers[kLines] == "lines" && kSheetMembers[kObject] == "object" &&
              kSheetMembers[kDate] == "date" && kSheetMembers[kOverheadRate] == "overheadRate" &&
              kSheetMembers[kContractorSignatoryName] == "contractorSignatoryName" &&
              kSheetMembers[kCatalogue] == "catalogue" &&
              std::size(kSheetMembers) == kCatalogue + 1);

// A line's kind as the file names it.
std::optional<LineKind> kindNamed(std::string_view word) {
    constexpr std::pair<std::string_view, LineKind> kinds[] = {{"computed", LineKind::Computed},
                                                               {"typed", LineKind::Typed},
                                                               {"walls", LineKind::Walls},
                                                               {"ceiling", LineKind::Ceiling},
                                                               {"reveals", LineKind::Reveals}};
    for (const auto& [name, kind] : kinds)
        if (name == word)
            return kind;
    return std::nullopt;
}

std::optional<OpeningKind> openingKindNamed(std::string_view word) {
    constexpr std::pair<std::string_view, OpeningKind> kinds[] = {
        {"window", OpeningKind::Window}, {"door", OpeningKind::Door},
        {"doorway", OpeningKind::Doorway}};
    for (const auto& [name, kind] : kinds)
        if (name == word)
            return kind;
    return std::nullopt;
}

constexpr std::string_view nameOf(std::string_view name) {
    return name;
}
template <class Record> constexpr std::string_view nameOf(const Field<Record>& field) {
    return field.name;
}
// The member's place in the record's list, or -1 for one the sheet does not know.
template <class T, std::size_t N> int memberOf(const T (&members)[N], std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (nameOf(members[i]) == name)
            return int(i);
    return -1;
}

std::uint32_t bit(int member) {
    return std::uint32_t(1) << member;
}

// The first fault of a record read whole, among its members from `first` up to `last`: a
// missing text, or what `other` finds in a member that is not one, in the order of the record's
// members. `where` words the record's place, called only for a fault.
template <class Record, std::size_t N, class Where, class Other>
QString firstFault(Where&& where, const Field<Record> (&fields)[N], std::uint32_t texts,
                   Other&& other, std::size_t first = 0, std::size_t last = N) {
    for (std::size_t i = first; i < last; ++i) {
        if (!fields[i].text) {
            if (QString fault = other(int(i)); !fault.isEmpty())
                return fault;
        } else if (!(texts & bit(int(i)))) {
            return memberFault(where(), fields[i].name.data(), QStringLiteral("нет текста"));
        }
    }
    return {};
}

// What a line names as its material before format 3.
struct MaterialRef {
    double number = kNotANumber;
    QString name;
    bool isText = false;
};

// An older file's line has none of the members of format 3: what it holds under their names is
// not read.
void dropLaterMembers(Line& line) {
    const Line blank;
    for (std::size_t i = kKind; i < std::size(kLineFields); ++i)
        if (const auto text = kLineFields[i].text)
            line.*text = blank.*text;
    line.kind = blank.kind;
    line.deduct = blank.deduct;
}

// The short texts a sheet repeats line after line (rooms, elements, calculators, units, the
// measurements' names, conditions, prices), shared by the lines that hold them rather than
// copied into each: a long sheet opened takes a quarter less memory. A text is looked for in one
// slot of a fixed table, as a cache is: no list of every text to search or to grow.
class SharedTexts {
  public:
    SharedTexts() : slots_(kSlots) {}
    QString of(const char* text, std::size_t size) {
        if (size == 0 || size > kLongest) // an empty text read as it always was
            return QString::fromUtf8(text, qsizetype(size));
        const std::string_view bytes(text, size);
        Slot& slot = slots_[std::hash<std::string_view>()(bytes) % kSlots];
        if (slot.bytes != bytes) {
            slot.bytes.assign(bytes);
            slot.text = QString::fromUtf8(text, qsizetype(size));
        }
        return slot.text;
    }

  private:
    static constexpr std::size_t kLongest = 64; // bytes; longer texts are rarely repeated
    static constexpr std::size_t kSlots = 4096;
    struct Slot {
        std::string bytes;
        QString text;
    };
    std::vector<Slot> slots_;
};

// One value as the parser hands it over; `number` is NaN unless it is a number.
struct Scalar {
    enum Kind : std::uint8_t { Other, Bool, Number, Text } kind = Other;
    bool flag = false;
    double number = kNotANumber;
    const char* text = nullptr;
    std::size_t size = 0;
    SharedTexts* shared = nullptr;
    QString string() const {
        return shared ? shared->of(text, size) : QString::fromUtf8(text, qsizetype(size));
    }
};

// A list as far as it was read, and its first fault, after which nothing more of it is kept.
// A repeated member starts it anew: the last one counts.
template <class Item> struct List {
    bool present = false;
    QList<Item> items;
    QString fault;
};

// What of a line waits for the version: which of its members were there (texts, lists, and a
// kind or deduct that reads), what it refers to, and the openings measured with a room's size.
struct LineRest {
    std::uint32_t present = 0;
    double system = kNotANumber;
    MaterialRef material;
    List<RoomOpening> openings;
};

// A record being read: what it holds so far, and which of its texts were there.
template <class Record> struct Open {
    Record record;
    std::uint32_t texts = 0;

    // Takes the value where the member is a text; false where it is not one.
    template <std::size_t N>
    bool text(const Field<Record> (&fields)[N], int member, const struct Scalar& value) {
        if (member < 0 || !fields[member].text)
            return false;
        if (value.kind == Scalar::Text) {
            record.*fields[member].text = value.string();
            texts |= bit(member);
        } else {
            texts &= ~bit(member);
        }
        return true;
    }
};

class SheetReader {
  public:
    // ---- the parser's events
    bool Null() { return leaf({}); }
    bool Bool(bool flag) { return leaf({Scalar::Bool, flag}); }
    bool Int(int value) { return number(value); }
    bool Uint(unsigned value) { return number(value); }
    bool Int64(std::int64_t value) { return number(double(value)); }
    bool Uint64(std::uint64_t value) { return number(double(value)); }
    bool Double(double value) {
        // The parser refuses exponents past the range but lets 2e308 round to infinity.
        if (!std::isfinite(value))
            return syntaxFault("число вне диапазона");
        return number(value);
    }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return leaf({}); }
    bool String(const char* text, rapidjson::SizeType size, bool) {
        if (holdsLoneSurrogate(text, size))
            return syntaxFault("одиночный суррогат");
        return leaf({Scalar::Text, false, kNotANumber, text, size, &shared_});
    }
    bool Key(const char* text, rapidjson::SizeType size, bool) {
        if (holdsLoneSurrogate(text, size))
            return syntaxFault("одиночный суррогат");
        if (skip_)
            return true;
        const std::string_view name(text, size);
        switch (frames_.back()) {
        case In::Sheet:
            member_ = memberOf(kSheetMembers, name);
            break;
        case In::Material:
            member_ = memberOf(kMaterialFields, name);
            break;
        case In::System:
            member_ = memberOf(kSystemFields, name);
            break;
        case In::Layer:
            member_ = memberOf(kLayerFields, name);
            break;
        case In::Can:
            member_ = memberOf(kCanFields, name);
            break;
        case In::Line:
            member_ = memberOf(kLineFields, name);
            break;
        case In::Opening:
            member_ = memberOf(kOpeningFields, name);
            break;
        default: // In::Measurement, the only other record
            member_ = memberOf(kMeasurementFields, name);
        }
        return true;
    }
    bool StartObject() { return open(true); }
    bool StartArray() { return open(false); }
    bool EndObject(rapidjson::SizeType) { return close(); }
    bool EndArray(rapidjson::SizeType) { return close(); }

    // What stopped the parser, where the reader and not the parser found the fault.
    const char* syntaxFault() const { return syntaxFault_; }

    // The sheet, or what is wrong with it; called once the text has parsed whole.
    std::variant<LoadedSheet, LoadError> result();

  private:
    SharedTexts shared_;
    enum class In : std::uint8_t {
        Sheet,
        Materials,
        Material,
        Cans,
        Can,
        Systems,
        System,
        Layers,
        Layer,
        Lines,
        Line,
        Measurements,
        Measurement,
        Conditions,
        Openings,
        Opening
    };

    bool syntaxFault(const char* what) {
        syntaxFault_ = what;
        return false;
    }
    bool number(double value) { return leaf({Scalar::Number, false, value}); }

    // Any value, a record or list as much as a number, more than kDeepest levels below the
    // sheet's own record is refused.
    bool leaf(const Scalar& value) {
        if (depth_ > kDeepest)
            return syntaxFault("слишком глубокая вложенность");
        value_(value);
        return true;
    }
    bool open(bool object) {
        if (depth_++ > kDeepest)
            return syntaxFault("слишком глубокая вложенность");
        if (skip_) {
            ++skip_;
        } else if (const std::optional<In> inside = entered(object)) {
            frames_.push_back(*inside);
        } else {
            // Not what the member should hold: the member counts as missing, and nothing
            // inside is kept.
            value_({});
            skip_ = 1;
        }
        return true;
    }
    bool close() {
        --depth_;
        if (skip_) {
            --skip_;
            return true;
        }
        const In closed = frames_.back();
        frames_.pop_back();
        if (closed == In::Material)
            endMaterial();
        else if (closed == In::Can)
            endCan();
        else if (closed == In::System)
            endSystem();
        else if (closed == In::Layer)
            endLayer();
        else if (closed == In::Line)
            endLine();
        else if (closed == In::Measurement)
            endMeasurement();
        else if (closed == In::Opening)
            endOpening();
        return true;
    }

    // The record or list that opens here, or nullopt where none is wanted.
    std::optional<In> entered(bool object) {
        if (frames_.empty())
            return object ? std::optional(In::Sheet) : std::nullopt;
        switch (frames_.back()) {
        case In::Sheet:
            if (object)
                return std::nullopt;
            switch (member_) {
            case kMaterials:
                materials_ = {};
                materials_.present = true;
                materialRests_.clear();
                return In::Materials;
            case kSystems:
                systems_ = {};
                systemRests_.clear();
                systems_.present = true;
                return In::Systems;
            case kLines:
                lines_ = {};
                lines_.present = true;
                lineRests_.clear();
                return In::Lines;
            default:
                return std::nullopt;
            }
        case In::Materials:
            if (!object || !materials_.fault.isEmpty())
                return std::nullopt;
            material_ = {};
            materialRests_.push_back({});
            return In::Material;
        case In::Material:
            if (object || member_ != kCans)
                return std::nullopt;
            // A list is there; its items are read below, a repeated one anew.
            materialRests_.back().cans = {};
            materialRests_.back().cans.present = true;
            return In::Cans;
        case In::Cans:
            if (!object || !materialRests_.back().cans.fault.isEmpty())
                return std::nullopt;
            can_ = {};
            return In::Can;
        case In::Systems:
            if (!object || !systems_.fault.isEmpty())
                return std::nullopt;
            system_ = {};
            systemRest_ = {};
            layersFault_.clear();
            return In::System;
        case In::System:
            if (object || member_ != kLayers)
                return std::nullopt;
            system_.texts |= bit(kLayers); // a list is there; its items are read below
            system_.record.layers.clear();
            systemRest_.layerTexts.clear();
            layersFault_.clear();
            return In::Layers;
        case In::Layers:
            if (!object || !layersFault_.isEmpty())
                return std::nullopt;
            layer_ = {};
            layerMaterial_ = layerCoats_ = kNotANumber;
            return In::Layer;
        case In::Lines:
            if (!object || !takesAnotherLine())
                return std::nullopt;
            line_ = {};
            count_ = kNotANumber;
            lineRest_ = {};
            measurementsFault_.clear();
            conditionsFault_.clear();
            return In::Line;
        case In::Line:
            if (!object && member_ == kOpenings) {
                lineRest_.openings = {};
                lineRest_.openings.present = true;
                return In::Openings;
            }
            if (object || (member_ != kMeasurements && member_ != kConditions))
                return std::nullopt;
            line_.texts |= bit(member_); // a list is there; its items are read below
            if (member_ == kMeasurements) {
                line_.record.measurements.clear();
                measurementsFault_.clear();
                return In::Measurements;
            }
            line_.record.conditions.clear();
            conditionsFault_.clear();
            return In::Conditions;
        case In::Measurements:
            if (!object || !measurementsFault_.isEmpty())
                return std::nullopt;
            measurement_ = {};
            return In::Measurement;
        case In::Openings:
            if (!object || !lineRest_.openings.fault.isEmpty())
                return std::nullopt;
            opening_ = {};
            return In::Opening;
        default:
            return std::nullopt;
        }
    }

    // A value for the member named last, or an item of the list open here.
    void value_(const Scalar& value) {
        if (skip_ || frames_.empty())
            return;
        switch (frames_.back()) {
        case In::Sheet:
            sheetMember(value);
            break;
        case In::Materials:
            if (materials_.fault.isEmpty())
                materials_.fault =
                    materialAt(materials_.items.size()) + QStringLiteral(" не запись");
            break;
        case In::Material:
            materialMember(value);
            break;
        case In::Cans: {
            List<Can>& cans = materialRests_.back().cans;
            if (cans.fault.isEmpty())
                cans.fault = canAt(materials_.items.size(), cans.items.size()) +
                             QStringLiteral(" не запись");
            break;
        }
        case In::Can:
            can_.text(kCanFields, member_, value);
            break;
        case In::Systems:
            if (systems_.fault.isEmpty())
                systems_.fault = systemAt(systems_.items.size()) + QStringLiteral(" не запись");
            break;
        case In::System:
            systemMember(value);
            break;
        case In::Layers:
            if (layersFault_.isEmpty())
                layersFault_ = layerAt(systems_.items.size(), system_.record.layers.size()) +
                               QStringLiteral(" не запись");
            break;
        case In::Layer:
            if (member_ == kLayerMaterial)
                layerMaterial_ = value.number;
            else if (member_ == kLayerCoats)
                layerCoats_ = value.number;
            else
                layer_.text(kLayerFields, member_, value);
            break;
        case In::Lines:
            if (takesAnotherLine())
                lines_.fault = lineAt(lines_.items.size()) + QStringLiteral(" не запись");
            break;
        case In::Line:
            lineMember(value);
            break;
        case In::Measurements:
            if (measurementsFault_.isEmpty())
                measurementsFault_ =
                    measurementAt(line_.record.measurements.size()) + QStringLiteral(" не запись");
            break;
        case In::Measurement:
            measurement_.text(kMeasurementFields, member_, value);
            break;
        case In::Openings:
            if (lineRest_.openings.fault.isEmpty())
                lineRest_.openings.fault =
                    openingAt(lineRest_.openings.items.size()) + QStringLiteral(" не запись");
            break;
        case In::Opening:
            openingMember(value);
            break;
        case In::Conditions:
            if (!conditionsFault_.isEmpty())
                break;
            if (value.kind == Scalar::Text)
                line_.record.conditions.append(value.string());
            else
                conditionsFault_ = memberFault(lineAt(lines_.items.size()), "conditions",
                                               QStringLiteral("условие не текст"));
            break;
        }
    }

    void sheetMember(const Scalar& value) {
        switch (member_) {
        case kFormat:
            format_ = value.kind == Scalar::Text && value.string() == kSheetFormat;
            break;
        case kVersion:
            version_ = value.number;
            break;
        case kDocument:
            document_.path = value.kind == Scalar::Text ? value.string() : QString();
            break;
        case kModified:
            document_.modified = value.kind == Scalar::Bool && value.flag;
            break;
        case kRecording:
            recording_ = value.kind == Scalar::Bool ? std::optional(value.flag) : std::nullopt;
            break;
        case kLastRoom:
            lastRoom_ = value.kind == Scalar::Text ? std::optional(value.string()) : std::nullopt;
            break;
        case kVatRate:
            vatRate_ = value.kind == Scalar::Text ? std::optional(value.string()) : std::nullopt;
            break;
        case kObject:
        case kObject + 1:
        case kObject + 2:
        case kObject + 3:
        case kObject + 4:
        case kDate:
            // Each may be left out; one that is there is a text.
            if (value.kind == Scalar::Text)
                properties_.*kPropertyFields[member_ - kObject] = value.string();
            else if (propertyFault_ < 0)
                propertyFault_ = member_;
            break;
        case kMaterials:
            materials_ = {};
            materialRests_.clear();
            break;
        case kSystems:
            systems_ = {};
            systemRests_.clear();
            break;
        case kLines:
            lines_ = {};
            lineRests_.clear();
            break;
        case kCatalogue:
            catalogue_ = value.kind == Scalar::Text ? std::optional(value.string()) : std::nullopt;
            catalogueNotText_ = value.kind != Scalar::Text;
            break;
        default:
            // A text each; whether one must be there waits for the version.
            if (member_ >= kOverheadRate && member_ <= kContractorSignatoryName)
                formatFour_[member_ - kOverheadRate] =
                    value.kind == Scalar::Text ? std::optional(value.string()) : std::nullopt;
        }
    }

    // A text that waits for the version, kept in `text` with its bit in `present`.
    static void laterText(std::uint32_t& present, int member, QString& text, const Scalar& value) {
        if (value.kind == Scalar::Text) {
            text = value.string();
            present |= bit(member);
        } else {
            present &= ~bit(member);
        }
    }

    void materialMember(const Scalar& value) {
        MaterialRest& rest = materialRests_.back();
        switch (member_) {
        case kId:
            rest.id = value.number;
            break;
        case kCoats:
            rest.coats = value.number;
            break;
        case kCanSize:
            laterText(rest.present, member_, rest.canSize, value);
            break;
        case kCanPrice:
            laterText(rest.present, member_, rest.canPrice, value);
            break;
        case kCans: // not a list
            rest.cans = {};
            break;
        default:
            material_.text(kMaterialFields, member_, value);
        }
    }

    void systemMember(const Scalar& value) {
        if (system_.text(kSystemFields, member_, value))
            return;
        if (member_ == kSystemId) {
            systemRest_.id = value.number;
        } else if (member_ == kLayers) { // not a list
            system_.record.layers.clear();
            systemRest_.layerTexts.clear();
            layersFault_.clear();
            system_.texts &= ~bit(kLayers);
        } else if (member_ == kSystemPrice) {
            laterText(systemRest_.present, member_, systemRest_.price, value);
        } else if (member_ == kSystemCode) {
            laterText(systemRest_.present, member_, systemRest_.code, value);
        }
    }

    void lineMember(const Scalar& value) {
        if (line_.text(kLineFields, member_, value))
            return;
        switch (member_) {
        case kMeasurements: // not a list
            line_.record.measurements.clear();
            measurementsFault_.clear();
            line_.texts &= ~bit(member_);
            break;
        case kConditions:
            line_.record.conditions.clear();
            conditionsFault_.clear();
            line_.texts &= ~bit(member_);
            break;
        case kCount:
            count_ = value.number;
            break;
        case kMaterial: {
            MaterialRef& ref = lineRest_.material;
            ref.number = value.number;
            ref.isText = value.kind == Scalar::Text;
            ref.name = ref.isText ? value.string() : QString();
            break;
        }
        case kKind: {
            const auto kind =
                value.kind == Scalar::Text ? kindNamed({value.text, value.size}) : std::nullopt;
            line_.record.kind = kind.value_or(LineKind::Computed);
            line_.texts = kind ? line_.texts | bit(kKind) : line_.texts & ~bit(kKind);
            break;
        }
        case kDeduct:
            line_.record.deduct = value.flag;
            line_.texts = value.kind == Scalar::Bool ? line_.texts | bit(kDeduct)
                                                     : line_.texts & ~bit(kDeduct);
            break;
        case kSystem:
            lineRest_.system = value.number;
            break;
        case kOpenings: // not a list
            lineRest_.openings = {};
            lineRest_.openings.present = true;
            lineRest_.openings.fault = memberFault(lineAt(lines_.items.size()), "openings",
                                                   QStringLiteral("нет списка"));
            break;
        }
    }

    void openingMember(const Scalar& value) {
        if (member_ == kOpeningKind) {
            const auto kind = value.kind == Scalar::Text
                                  ? openingKindNamed({value.text, value.size})
                                  : std::nullopt;
            opening_.record.kind = kind.value_or(OpeningKind::Window);
            opening_.texts = kind ? opening_.texts | bit(kOpeningKind)
                                  : opening_.texts & ~bit(kOpeningKind);
        } else if (member_ == kOpeningDeduct) {
            opening_.record.deduct = value.flag;
            opening_.texts = value.kind == Scalar::Bool ? opening_.texts | bit(kOpeningDeduct)
                                                        : opening_.texts & ~bit(kOpeningDeduct);
        } else {
            opening_.text(kOpeningFields, member_, value);
        }
    }

    QString openingAt(qsizetype index) const {
        return lineAt(lines_.items.size()) + QStringLiteral(", проём %1").arg(index + 1);
    }

    QString measurementAt(qsizetype index) const {
        return lineAt(lines_.items.size()) + QStringLiteral(", замер %1").arg(index + 1);
    }

    // Lines past the first fault are not read; past the most a sheet holds, that is the fault.
    bool takesAnotherLine() {
        if (!lines_.fault.isEmpty())
            return false;
        if (lines_.items.size() < kMaxLines)
            return true;
        lines_.fault =
            QStringLiteral("в файле больше %1 строк, столько ведомость не вмещает").arg(kMaxLines);
        return false;
    }

    // The members every version has; the id and the coats wait for the version (format 1 has
    // no ids, format 3 no coats), and so do the cans and whether the material is sound.
    void endMaterial() {
        const auto where = [this] { return materialAt(materials_.items.size()); };
        QString fault = firstFault(
            where, kMaterialFields, material_.texts, [](int) { return QString(); }, 0, kCanSize);
        if (fault.isEmpty())
            materials_.items.append(std::move(material_.record));
        else
            materials_.fault = std::move(fault);
    }

    // Past the most sizes a material has, the list is not read further: that is its fault.
    void endCan() {
        List<Can>& cans = materialRests_.back().cans;
        const auto where = [&] { return canAt(materials_.items.size(), cans.items.size()); };
        QString fault =
            firstFault(where, kCanFields, can_.texts, [](int) { return QString(); });
        if (fault.isEmpty() && cans.items.size() >= kMostCanSizes)
            fault = materialAt(materials_.items.size()) +
                    QStringLiteral(": тара больше чем %1 размеров").arg(kMostCanSizes);
        if (fault.isEmpty())
            cans.items.append(std::move(can_.record));
        else
            cans.fault = std::move(fault);
    }

    // Whether a layer's material is known waits for the materials, whether it may be none and
    // its texts for the version.
    void endLayer() {
        const auto where = [this] {
            return layerAt(systems_.items.size(), system_.record.layers.size());
        };
        if (!whole(layerMaterial_, 0, kLargestInt)) {
            layersFault_ = memberFault(where(), "material", wholeFault(0, kLargestInt));
        } else if (!whole(layerCoats_, 1, kMostCoats)) {
            layersFault_ = memberFault(where(), "coats", wholeFault(1, kMostCoats));
        } else {
            layer_.record.material = int(layerMaterial_);
            layer_.record.coats = int(layerCoats_);
            system_.record.layers.append(std::move(layer_.record));
            systemRest_.layerTexts.push_back(layer_.texts);
        }
    }

    void endSystem() {
        const auto where = [this] { return systemAt(systems_.items.size()); };
        QString fault = firstFault(
            where, kSystemFields, system_.texts,
            [&](int member) {
                if (member == kSystemId && !whole(systemRest_.id, 1, kLargestInt))
                    return memberFault(where(), "id", wholeFault(1, kLargestInt));
                if (member == kLayers && !(system_.texts & bit(kLayers)))
                    return memberFault(where(), "layers", QStringLiteral("нет списка"));
                return member == kLayers ? layersFault_ : QString();
            },
            0, kSystemPrice);
        if (!fault.isEmpty()) {
            systems_.fault = std::move(fault);
            return;
        }
        system_.record.id = int(systemRest_.id);
        systems_.items.append(std::move(system_.record));
        systemRests_.push_back(std::move(systemRest_));
    }

    void endLine() {
        const auto where = [this] { return lineAt(lines_.items.size()); };
        // The members every version has; the rest wait for the version and the systems.
        QString fault = firstFault(
            where, kLineFields, line_.texts,
            [&](int member) {
                if ((member == kMeasurements || member == kConditions) &&
                    !(line_.texts & bit(member)))
                    return memberFault(where(), kLineFields[member].name.data(),
                                       QStringLiteral("нет списка"));
                if (member == kMeasurements)
                    return measurementsFault_;
                if (member == kConditions)
                    return conditionsFault_;
                if (member == kCount && !whole(count_, 1, kMaxCount))
                    return memberFault(where(), "count", wholeFault(1, kMaxCount));
                return QString();
            },
            0, kMaterial);
        if (!fault.isEmpty()) {
            lines_.fault = std::move(fault);
            return;
        }
        line_.record.count = int(count_);
        lines_.items.append(std::move(line_.record));
        lineRest_.present = line_.texts;
        lineRests_.push_back(std::move(lineRest_));
    }

    // Whether a line may hold openings waits for the version and its kind.
    void endOpening() {
        List<RoomOpening>& openings = lineRest_.openings;
        const auto where = [&] { return openingAt(openings.items.size()); };
        QString fault = firstFault(where, kOpeningFields, opening_.texts, [&](int member) {
            if (member == kOpeningKind && !(opening_.texts & bit(member)))
                return memberFault(where(), "kind", QStringLiteral("нужно window, door или doorway"));
            if (member == kOpeningDeduct && !(opening_.texts & bit(member)))
                return memberFault(where(), "deduct", QStringLiteral("нужно true или false"));
            return QString();
        });
        if (fault.isEmpty())
            if (const QString problem = problemOf(opening_.record); !problem.isEmpty())
                fault = where() + QStringLiteral(": ") + problem;
        if (fault.isEmpty())
            openings.items.append(std::move(opening_.record));
        else
            openings.fault = std::move(fault);
    }

    void endMeasurement() {
        const auto where = [this] { return measurementAt(line_.record.measurements.size()); };
        QString fault = firstFault(where, kMeasurementFields, measurement_.texts,
                                   [](int) { return QString(); });
        if (fault.isEmpty())
            line_.record.measurements.append(std::move(measurement_.record));
        else
            measurementsFault_ = std::move(fault);
    }

    // ---- once the whole text is read: each part's first fault, or empty
    QString settleMaterials(int version);
    QString settleSystems(int version);
    void systemsOfMaterials();
    QString settleLine(qsizetype index, Line& line, const LineRest& rest, int version) const;
    QString settleOldLine(qsizetype index, Line& line, const MaterialRef& ref, int version) const;

    std::vector<In> frames_;
    int depth_ = 0;
    int skip_ = 0;    // records and lists open inside a value that is not read
    int member_ = -1; // the member named last, by its place in its record's list
    const char* syntaxFault_ = nullptr;

    bool format_ = false;
    double version_ = kNotANumber;
    DocumentState document_;
    std::optional<bool> recording_;
    std::optional<QString> lastRoom_;
    std::optional<QString> vatRate_;
    SheetProperties properties_;
    int propertyFault_ = -1; // the first property that is not a text
    std::optional<QString> formatFour_[kFormatFourTexts];
    std::optional<QString> catalogue_;
    bool catalogueNotText_ = false; // there, and not a text
    List<Material> materials_;
    // What of a material waits for the version, the faulty material's too.
    struct MaterialRest {
        double id = kNotANumber;
        double coats = kNotANumber;
        std::uint32_t present = 0; // canSize and price, where they are texts
        QString canSize, canPrice;
        List<Can> cans;
    };
    std::vector<MaterialRest> materialRests_;
    List<PaintSystem> systems_;
    // What of a system waits for the version: its id, an older format's price and norm, and
    // which texts each layer has.
    struct SystemRest {
        double id = kNotANumber;
        std::uint32_t present = 0;
        QString price, code;
        std::vector<std::uint32_t> layerTexts;
    };
    std::vector<SystemRest> systemRests_;
    List<Line> lines_;
    std::vector<LineRest> lineRests_;
    QHash<QString, int> materialsByName_; // the ids, once settled
    QSet<int> materialIds_;
    QSet<int> systemIds_;

    Open<Material> material_;
    Open<Can> can_;
    Open<PaintSystem> system_; // its layers count among its texts: there or not
    SystemRest systemRest_;
    QString layersFault_;
    Open<Layer> layer_;
    double layerMaterial_ = kNotANumber;
    double layerCoats_ = kNotANumber;
    Open<Line> line_; // its lists, kind and deduct count among its texts: there or not
    double count_ = kNotANumber;
    LineRest lineRest_;
    QString measurementsFault_;
    QString conditionsFault_;
    Open<Measurement> measurement_;
    Open<RoomOpening> opening_;
};

std::variant<LoadedSheet, LoadError> SheetReader::result() {
    if (!format_)
        return LoadError{QStringLiteral("это не файл ведомости окраски")};
    if (!(version_ >= 1) || version_ != std::floor(version_))
        return LoadError{QStringLiteral("файл повреждён: нет версии формата")};
    if (version_ > kSheetVersion)
        return LoadError{QStringLiteral("файл записан более новой версией программы (формат %1); "
                                        "эта версия читает формат %2")
                             .arg(QString::number(version_, 'g', 12))
                             .arg(kSheetVersion),
                         int(std::min(version_, 1e9))};
    const int version = int(version_);
    const auto damaged = [](const QString& what) {
        return LoadError{QStringLiteral("файл повреждён: ") + what};
    };
    const QString sheetAt = QStringLiteral("ведомость");
    if (!recording_)
        return damaged(memberFault(sheetAt, "recording", QStringLiteral("нужно true или false")));
    if (!lastRoom_)
        return damaged(memberFault(sheetAt, "lastRoom", QStringLiteral("нет текста")));
    if (version >= 3 && !vatRate_)
        return damaged(memberFault(sheetAt, "vatRate", QStringLiteral("нет текста")));
    if (version >= 3 && propertyFault_ >= 0)
        return damaged(memberFault(sheetAt, kSheetMembers[propertyFault_].data(),
                                   QStringLiteral("нет текста")));
    for (int member = kOverheadRate; version >= 4 && member <= kContractorSignatoryName; ++member) {
        const std::optional<QString>& value = formatFour_[member - kOverheadRate];
        const QString fault = !value                  ? QStringLiteral("нет текста")
                              : member <= kProfitRate ? percentProblem(*value)
                                                      : QString();
        if (!fault.isEmpty())
            return damaged(memberFault(sheetAt, kSheetMembers[member].data(), fault));
    }
    if (version >= 4 && catalogueNotText_)
        return damaged(memberFault(sheetAt, "catalogue", QStringLiteral("нет текста")));
    if (!materials_.present)
        return damaged(memberFault(sheetAt, "materials", QStringLiteral("нет списка")));
    if (const QString fault = settleMaterials(version); !fault.isEmpty())
        return damaged(fault);
    if (version >= 3) {
        if (!systems_.present)
            return damaged(memberFault(sheetAt, "systems", QStringLiteral("нет списка")));
        if (const QString fault = settleSystems(version); !fault.isEmpty())
            return damaged(fault);
    } else {
        systemsOfMaterials();
    }
    if (!lines_.present)
        return damaged(memberFault(sheetAt, "lines", QStringLiteral("нет списка")));
    for (qsizetype i = 0; i < lines_.items.size(); ++i) {
        Line& line = lines_.items[i];
        const LineRest& rest = lineRests_[std::size_t(i)];
        const QString fault = version >= 3 ? settleLine(i, line, rest, version)
                                           : settleOldLine(i, line, rest.material, version);
        if (!fault.isEmpty())
            return damaged(fault);
    }
    if (!lines_.fault.isEmpty())
        return damaged(lines_.fault);

    LoadedSheet loaded;
    loaded.sheet.recording = *recording_;
    loaded.sheet.lastRoom = *lastRoom_;
    if (version >= 3) {
        loaded.sheet.vatRate = *vatRate_;
        loaded.sheet.properties = properties_;
    }
    if (version >= 4) {
        const auto text = [this](int member) { return *formatFour_[member - kOverheadRate]; };
        loaded.sheet.overheadRate = text(kOverheadRate);
        loaded.sheet.profitRate = text(kProfitRate);
        SheetProperties& p = loaded.sheet.properties;
        p.clientSignatory = {text(kClientSignatoryPosition), text(kClientSignatoryName)};
        p.contractorSignatory = {text(kContractorSignatoryPosition), text(kContractorSignatoryName)};
        loaded.sheet.catalogue = catalogue_.value_or(QString());
    }
    loaded.sheet.materials = std::move(materials_.items);
    loaded.sheet.systems = std::move(systems_.items);
    loaded.sheet.lines = std::move(lines_.items);
    loaded.document = document_;
    return loaded;
}

QString SheetReader::settleMaterials(int version) {
    const auto numbersFault = [&](std::size_t index) {
        if (index >= materialRests_.size())
            return QString();
        const MaterialRest& numbers = materialRests_[index];
        if (version >= 2 && !whole(numbers.id, 1, kLargestInt))
            return memberFault(materialAt(qsizetype(index)), "id", wholeFault(1, kLargestInt));
        if (version < 3 && !whole(numbers.coats, 1, kMostCoats))
            return memberFault(materialAt(qsizetype(index)), "coats", wholeFault(1, kMostCoats));
        return QString();
    };
    for (qsizetype i = 0; i < materials_.items.size(); ++i) {
        if (QString fault = numbersFault(std::size_t(i)); !fault.isEmpty())
            return fault;
        Material& m = materials_.items[i];
        MaterialRest& rest = materialRests_[std::size_t(i)];
        // Before format 4 a material came in one size.
        if (version < 4) {
            for (const int member : {kCanSize, kCanPrice})
                if (!(rest.present & bit(member)))
                    return memberFault(materialAt(i), kMaterialFields[member].name.data(),
                                       QStringLiteral("нет текста"));
            m.cans = {{rest.canSize, rest.canPrice}};
        } else {
            if (!rest.cans.present)
                return memberFault(materialAt(i), "cans", QStringLiteral("нет списка"));
            if (!rest.cans.fault.isEmpty())
                return rest.cans.fault;
            m.cans = std::move(rest.cans.items);
        }
        if (const QString problem = m.problem(); !problem.isEmpty())
            return materialAt(i) + QStringLiteral(": ") + problem;
        // Before identities, a material was known by its place in the list.
        m.id = version >= 2 ? int(rest.id) : int(i + 1);
        if (materialsByName_.contains(m.name))
            return materialAt(i) + QStringLiteral(": название повторяется");
        if (materialIds_.contains(m.id))
            return materialAt(i) + QStringLiteral(": номер повторяется");
        materialsByName_.insert(m.name, m.id);
        materialIds_.insert(m.id);
    }
    if (QString fault = numbersFault(std::size_t(materials_.items.size())); !fault.isEmpty())
        return fault;
    return materials_.fault;
}

QString SheetReader::settleSystems(int version) {
    QSet<QString> names;
    for (qsizetype i = 0; i < systems_.items.size(); ++i) {
        PaintSystem& s = systems_.items[i];
        const SystemRest& rest = systemRests_[std::size_t(i)];
        const Layer blank;
        for (qsizetype j = 0; j < s.layers.size(); ++j) {
            Layer& layer = s.layers[j];
            const auto where = [&] { return layerAt(i, j); };
            if (version < 4) {
                // What an older format's layer holds under a later member's name is not read.
                for (std::size_t k = layerMembersOf(version); k < std::size(kLayerFields); ++k)
                    layer.*kLayerFields[k].text = blank.*kLayerFields[k].text;
                if (layer.material == 0)
                    return memberFault(where(), "material", wholeFault(1, kLargestInt));
            } else if (QString fault = firstFault(
                           where, kLayerFields, rest.layerTexts[std::size_t(j)],
                           [](int) { return QString(); }, kLayerWork);
                       !fault.isEmpty()) {
                return fault;
            }
        }
        if (version < 4) {
            for (const int member : {kSystemPrice, kSystemCode})
                if (!(rest.present & bit(member)))
                    return memberFault(systemAt(i), kSystemFields[member].name.data(),
                                       QStringLiteral("нет текста"));
            // The system's one price and norm were of all its work: its first layer takes them,
            // and the others none, so that every line's work comes to what it did. A system of
            // no layers gets one of work alone, named as the system.
            if (!rest.price.isEmpty() || !rest.code.isEmpty()) {
                if (s.layers.isEmpty())
                    s.layers.append({0, 1, {}, {}, s.name});
                s.layers.front().price = rest.price;
                s.layers.front().code = rest.code;
            }
        }
        for (qsizetype j = 0; j < s.layers.size(); ++j)
            if (s.layers[j].material != 0 && !materialIds_.contains(s.layers[j].material))
                return layerAt(i, j) +
                       QStringLiteral(": нет материала %1").arg(s.layers[j].material);
        if (const QString problem = s.problem(); !problem.isEmpty())
            return systemAt(i) + QStringLiteral(": ") + problem;
        if (names.contains(s.name))
            return systemAt(i) + QStringLiteral(": название повторяется");
        if (systemIds_.contains(s.id))
            return systemAt(i) + QStringLiteral(": номер повторяется");
        names.insert(s.name);
        systemIds_.insert(s.id);
    }
    return systems_.fault;
}

// Before systems, a line had a material: each material becomes a system of one layer, of its id
// and name, with the coats the material had.
void SheetReader::systemsOfMaterials() {
    systems_ = {};
    for (qsizetype i = 0; i < materials_.items.size(); ++i) {
        const Material& m = materials_.items[i];
        const int coats = int(materialRests_[std::size_t(i)].coats);
        systems_.items.append({m.id, m.name, {{m.id, coats}}});
    }
    systemIds_ = materialIds_;
}

QString SheetReader::settleLine(qsizetype index, Line& line, const LineRest& rest,
                                int version) const {
    const auto where = [index] { return lineAt(index); };
    // What an older format's line holds under a later member's name is not read.
    const Line blank;
    for (std::size_t i = lineMembersOf(version); i < std::size(kLineFields); ++i)
        if (const auto text = kLineFields[i].text)
            line.*text = blank.*text;
    if (version < 4 && line.kind == LineKind::Reveals)
        return memberFault(where(), "kind",
                           QStringLiteral("нужно computed, typed, walls или ceiling"));
    if (QString fault = firstFault(
        where, kLineFields, rest.present,
        [&](int member) {
            if (member == kKind && !(rest.present & bit(kKind)))
                return memberFault(where(), "kind",
                                   version >= 4
                                       ? QStringLiteral("нужно computed, typed, walls, ceiling "
                                                        "или reveals")
                                       : QStringLiteral("нужно computed, typed, walls или ceiling"));
            if (member == kDeduct && !(rest.present & bit(kDeduct)))
                return memberFault(where(), "deduct", QStringLiteral("нужно true или false"));
            if (member != kSystem)
                return QString();
            if (!whole(rest.system, 0, kLargestInt))
                return memberFault(where(), "system", wholeFault(0, kLargestInt));
            line.system = int(rest.system);
            if (line.system && !systemIds_.contains(line.system))
                return where() + QStringLiteral(": нет системы %1").arg(line.system);
            return QString();
        },
        kKind, requiredLineMembersOf(version));
        !fault.isEmpty())
        return fault;
    // Openings measured with a room's size are its walls'.
    if (version >= 4 && rest.openings.present) {
        if (!rest.openings.fault.isEmpty())
            return rest.openings.fault;
        if (!rest.openings.items.isEmpty() && line.kind != LineKind::Walls)
            return memberFault(where(), "openings", QStringLiteral("проёмы бывают только у стен"));
        line.roomOpenings = rest.openings.items;
    }
    // An opening given its size has both, each a positive figure.
    if (!line.openingWidth.isEmpty() || !line.openingHeight.isEmpty())
        for (const int member : {int(kOpeningWidth), kOpeningWidth + 1}) {
            const auto value = Decimal::parse(line.*kLineFields[member].text);
            if (!value || value->isNegative() || value->isZero())
                return memberFault(where(), kLineFields[member].name.data(),
                                   QStringLiteral("нужно положительное число"));
        }
    return {};
}

QString SheetReader::settleOldLine(qsizetype index, Line& line, const MaterialRef& ref,
                                   int version) const {
    dropLaterMembers(line);
    // The line's material is the system made of it, of the same id.
    if (version >= 2) {
        if (!whole(ref.number, 0, kLargestInt))
            return memberFault(lineAt(index), "material", wholeFault(0, kLargestInt));
        line.system = int(ref.number);
        if (line.system && !systemIds_.contains(line.system))
            return lineAt(index) + QStringLiteral(": нет материала %1").arg(line.system);
    } else if (!ref.isText) {
        return memberFault(lineAt(index), "material", QStringLiteral("нет текста"));
    } else if (!ref.name.isEmpty()) {
        const auto found = materialsByName_.constFind(ref.name);
        if (found == materialsByName_.constEnd())
            return lineAt(index) + QStringLiteral(": нет материала «%1»").arg(ref.name.left(40));
        line.system = *found;
    }
    return {};
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The parser's fault in words. `text` is the text parsed, `at` where the parser stopped.
const char* syntaxWords(rapidjson::ParseErrorCode code, QByteArrayView text, qsizetype at) {
    switch (code) {
    case rapidjson::kParseErrorValueInvalid: {
        // A misspelt true, false or null stops inside the word, anything else at its start.
        qsizetype word = at;
        while (word > 0 && text[word - 1] >= 'a' && text[word - 1] <= 'z')
            --word;
        const char first = word < at ? text[word] : text[at];
        return first == 't' || first == 'f' || first == 'n' ? "неизвестное слово" : "не число";
    }
    case rapidjson::kParseErrorDocumentRootNotSingular:
        return "лишний текст после документа";
    case rapidjson::kParseErrorObjectMissName:
        return "нет имени поля";
    case rapidjson::kParseErrorObjectMissColon:
        return "нет двоеточия";
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket:
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket:
        return "нет запятой или скобки";
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid:
        return "одиночный суррогат";
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
        return "неверная escape-последовательность";
    case rapidjson::kParseErrorStringEscapeInvalid:
    case rapidjson::kParseErrorStringMissQuotationMark: // a zero byte, before the text's end
        return static_cast<unsigned char>(text[at]) < 0x20 ? "управляющий символ в тексте"
                                                           : "неверная escape-последовательность";
    case rapidjson::kParseErrorStringInvalidEncoding:
        return "текст не в UTF-8";
    case rapidjson::kParseErrorNumberTooBig:
        return "число вне диапазона";
    case rapidjson::kParseErrorNumberMissFraction:
    case rapidjson::kParseErrorNumberMissExponent:
        return "не число";
    default:
        return "не JSON";
    }
}

// A fault in the last character or escape that the text ends inside: the file is cut short.
bool cutInText(rapidjson::ParseErrorCode code, QByteArrayView rest) {
    return (code == rapidjson::kParseErrorStringInvalidEncoding ||
            code == rapidjson::kParseErrorStringUnicodeEscapeInvalidHex ||
            code == rapidjson::kParseErrorStringUnicodeSurrogateInvalid) &&
           rest.size() < 12 && !rest.contains('"');
}

} // namespace

std::variant<LoadedSheet, LoadError> sheetFromJson(const QByteArray& bytes) {
    // Refused before reading: what a larger file holds could not be a sheet this program wrote.
    if (bytes.size() > kLargestSheetFile)
        return LoadError{QStringLiteral("файл слишком велик для ведомости")};
    // A byte-order mark is allowed before the text, as some editors put one there.
    const qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qsizetype first = start;
    while (first < bytes.size() && isBlank(bytes[first]))
        ++first;
    if (first == bytes.size())
        return LoadError{QStringLiteral("файл пуст")};
    if (bytes[first] != '{')
        return LoadError{QStringLiteral("это не файл ведомости окраски")};

    const std::size_t size = std::size_t(bytes.size() - start);
    rapidjson::MemoryStream stream(bytes.constData() + start, size);
    SheetReader reader;
    rapidjson::Reader parser;
    constexpr unsigned kFlags =
        rapidjson::kParseValidateEncodingFlag | rapidjson::kParseIterativeFlag;
    const rapidjson::ParseResult parsed = parser.Parse<kFlags>(stream, reader);
    // The parser takes a zero byte for the end of the text: one before the real end is a fault.
    const std::size_t stop = parsed.IsError() ? parsed.Offset() : stream.Tell();
    if (!parsed.IsError() && stop == size)
        return reader.result();
    if (stop >= size ||
        cutInText(parsed.Code(), QByteArrayView(bytes).sliced(start + qsizetype(stop))))
        return LoadError{QStringLiteral("файл обрывается: он записан не до конца")};
    const QByteArrayView text = QByteArrayView(bytes).sliced(start);
    const char* what = !parsed.IsError() ? "лишний текст после документа"
                       : reader.syntaxFault() ? reader.syntaxFault()
                                              : syntaxWords(parsed.Code(), text, qsizetype(stop));
    return LoadError{QStringLiteral("файл повреждён: %1 (байт %2)")
                         .arg(QString::fromUtf8(what))
                         .arg(start + qsizetype(stop))};
}

} // namespace velaro
