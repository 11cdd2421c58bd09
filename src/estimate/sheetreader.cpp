// Reading the sheet's file (sheetFromJson); writing it is in sheetfile.cpp.

#include "estimate/sheetfile.h"

#include <QHash>
#include <QSet>

#include <rapidjson/error/error.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

namespace velaro {
namespace {

// ---- Reading: straight from the parser's events into the sheet, with no tree of the whole
// text in between, so that what a file costs in memory is what it gives, however much else it
// holds. Faults are kept, not thrown: which one is told depends on the whole text (a syntax
// fault anywhere comes first, then the format, then the version), and on the order the sheet's
// parts are checked in (materials before lines, a record's members in a fixed order), not on
// the order they stand in the file.

constexpr int kDeepest = 32;
constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr int kLargestInt = std::numeric_limits<int>::max();

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
    {"id"},
    {"name", &Material::name},
    {"unit", &Material::unit},
    {"consumption", &Material::consumption},
    {"coats"},
    {"waste", &Material::waste},
    {"canSize", &Material::canSize},
    {"price", &Material::price},
};
enum MaterialMember { kId = 0, kCoats = 4 };
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
    {"material"},
};
enum LineMember { kMeasurements = 4, kConditions = 5, kCount = 8, kMaterial = 9 };
constexpr Field<Measurement> kMeasurementFields[] = {
    {"name", &Measurement::name}, {"text", &Measurement::text}, {"unit", &Measurement::unit}};
constexpr std::string_view kSheetMembers[] = {"format",    "version",  "document",  "modified",
                                              "recording", "lastRoom", "materials", "lines"};
enum SheetMember {
    kFormat,
    kVersion,
    kDocument,
    kModified,
    kRecording,
    kLastRoom,
    kMaterials,
    kLines
};
static_assert(kMaterialFields[kCoats].name == "coats" && kLineFields[kCount].name == "count" &&
              kLineFields[kMaterial].name == "material" && kSheetMembers[kLines] == "lines");

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

// The first fault of a record read whole: a missing text, or what `other` finds in a member
// that is not one, in the order of the record's members. `where` words the record's place,
// called only for a fault.
template <class Record, std::size_t N, class Where, class Other>
QString firstFault(Where&& where, const Field<Record> (&fields)[N], std::uint32_t texts,
                   Other&& other) {
    for (std::size_t i = 0; i < N; ++i) {
        if (!fields[i].text) {
            if (QString fault = other(int(i)); !fault.isEmpty())
                return fault;
        } else if (!(texts & bit(int(i)))) {
            return memberFault(where(), fields[i].name.data(), QStringLiteral("нет текста"));
        }
    }
    return {};
}

// What a line names as its material; read by the version once the whole file is known.
struct MaterialRef {
    double number = kNotANumber;
    QString name;
    bool isText = false;
};

// One value as the parser hands it over; `number` is NaN unless it is a number.
struct Scalar {
    enum Kind : std::uint8_t { Other, Bool, Number, Text } kind = Other;
    bool flag = false;
    double number = kNotANumber;
    const char* text = nullptr;
    std::size_t size = 0;
    QString string() const { return QString::fromUtf8(text, qsizetype(size)); }
};

// A list as far as it was read, and its first fault, after which nothing more of it is kept.
// A repeated member starts it anew: the last one counts.
template <class Item> struct List {
    bool present = false;
    QList<Item> items;
    QString fault;
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
        return leaf({Scalar::Text, false, kNotANumber, text, size});
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
        case In::Line:
            member_ = memberOf(kLineFields, name);
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
    enum class In : std::uint8_t {
        Sheet,
        Materials,
        Material,
        Lines,
        Line,
        Measurements,
        Measurement,
        Conditions
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
        else if (closed == In::Line)
            endLine();
        else if (closed == In::Measurement)
            endMeasurement();
        return true;
    }

    // The record or list that opens here, or nullopt where none is wanted.
    std::optional<In> entered(bool object) {
        if (frames_.empty())
            return object ? std::optional(In::Sheet) : std::nullopt;
        switch (frames_.back()) {
        case In::Sheet:
            if (object || (member_ != kMaterials && member_ != kLines))
                return std::nullopt;
            if (member_ == kMaterials) {
                materials_ = {};
                materials_.present = true;
                materialIds_.clear();
                materialCoats_.clear();
                return In::Materials;
            }
            lines_ = {};
            lines_.present = true;
            refs_.clear();
            return In::Lines;
        case In::Materials:
            if (!object || !materials_.fault.isEmpty())
                return std::nullopt;
            material_ = {};
            materialId_ = coats_ = kNotANumber;
            return In::Material;
        case In::Lines:
            if (!object || !takesAnotherLine())
                return std::nullopt;
            line_ = {};
            count_ = kNotANumber;
            ref_ = {};
            measurementsFault_.clear();
            conditionsFault_.clear();
            return In::Line;
        case In::Line:
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
            if (member_ == kId)
                materialId_ = value.number;
            else if (member_ == kCoats)
                coats_ = value.number;
            else
                material_.text(kMaterialFields, member_, value);
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
        case kMaterials:
            materials_ = {};
            materialIds_.clear();
            break;
        case kLines:
            lines_ = {};
            refs_.clear();
            break;
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
        case kMaterial:
            ref_.number = value.number;
            ref_.isText = value.kind == Scalar::Text;
            ref_.name = ref_.isText ? value.string() : QString();
            break;
        }
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

    void endMaterial() {
        materialIds_.push_back(materialId_);
        const auto where = [this] { return materialAt(materials_.items.size()); };
        QString fault = firstFault(where, kMaterialFields, material_.texts, [&](int member) {
            // The id waits for the version: format 1 has none.
            return member == kCoats && !whole(coats_, 1, 99)
                       ? memberFault(where(), "coats", wholeFault(1, 99))
                       : QString();
        });
        if (fault.isEmpty()) {
            materialCoats_.push_back(int(coats_));
            if (const QString problem = material_.record.problem(); !problem.isEmpty())
                fault = where() + QStringLiteral(": ") + problem;
        }
        if (fault.isEmpty())
            materials_.items.append(std::move(material_.record));
        else
            materials_.fault = std::move(fault);
    }

    void endLine() {
        const auto where = [this] { return lineAt(lines_.items.size()); };
        // All but the material, which waits for the version and the materials.
        QString fault = firstFault(where, kLineFields, line_.texts, [&](int member) {
            if ((member == kMeasurements || member == kConditions) && !(line_.texts & bit(member)))
                return memberFault(where(), kLineFields[member].name.data(),
                                   QStringLiteral("нет списка"));
            if (member == kMeasurements)
                return measurementsFault_;
            if (member == kConditions)
                return conditionsFault_;
            if (member == kCount && !whole(count_, 1, kMaxCount))
                return memberFault(where(), "count", wholeFault(1, kMaxCount));
            return QString();
        });
        if (!fault.isEmpty()) {
            lines_.fault = std::move(fault);
            return;
        }
        line_.record.count = int(count_);
        lines_.items.append(std::move(line_.record));
        refs_.push_back(std::move(ref_));
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
    List<Material> materials_;
    std::vector<double> materialIds_; // as written, the faulty material's too
    std::vector<int> materialCoats_;  // before systems, a material had its coats
    List<Line> lines_;
    std::vector<MaterialRef> refs_;

    Open<Material> material_;
    double materialId_ = kNotANumber;
    double coats_ = kNotANumber;
    Open<Line> line_; // its lists count among its texts: there or not
    double count_ = kNotANumber;
    MaterialRef ref_;
    QString measurementsFault_;
    QString conditionsFault_;
    Open<Measurement> measurement_;
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
    if (!materials_.present)
        return damaged(memberFault(sheetAt, "materials", QStringLiteral("нет списка")));

    // Before identities, a material was known by its place in the list.
    const auto idFault = [&](std::size_t index) -> std::optional<LoadError> {
        if (version >= 2 && index < materialIds_.size() &&
            !whole(materialIds_[index], 1, kLargestInt))
            return damaged(
                memberFault(materialAt(qsizetype(index)), "id", wholeFault(1, kLargestInt)));
        return std::nullopt;
    };
    QHash<QString, int> idsByName;
    QSet<int> ids;
    for (qsizetype i = 0; i < materials_.items.size(); ++i) {
        if (auto fault = idFault(std::size_t(i)))
            return *fault;
        Material& m = materials_.items[i];
        m.id = version >= 2 ? int(materialIds_[std::size_t(i)]) : int(i + 1);
        if (idsByName.contains(m.name))
            return damaged(materialAt(i) + QStringLiteral(": название повторяется"));
        if (ids.contains(m.id))
            return damaged(materialAt(i) + QStringLiteral(": номер повторяется"));
        idsByName.insert(m.name, m.id);
        ids.insert(m.id);
    }
    if (!materials_.fault.isEmpty()) {
        if (auto fault = idFault(std::size_t(materials_.items.size())))
            return *fault;
        return damaged(materials_.fault);
    }

    if (!lines_.present)
        return damaged(memberFault(sheetAt, "lines", QStringLiteral("нет списка")));
    for (qsizetype i = 0; i < lines_.items.size(); ++i) {
        const MaterialRef& ref = refs_[std::size_t(i)];
        // Before systems, a line had a material: each material became a system of one layer.
        int& material = lines_.items[i].system;
        if (version >= 2) {
            if (!whole(ref.number, 0, kLargestInt))
                return damaged(memberFault(lineAt(i), "material", wholeFault(0, kLargestInt)));
            material = int(ref.number);
            if (material && !ids.contains(material))
                return damaged(lineAt(i) + QStringLiteral(": нет материала %1").arg(material));
        } else if (!ref.isText) {
            return damaged(memberFault(lineAt(i), "material", QStringLiteral("нет текста")));
        } else if (!ref.name.isEmpty()) {
            const auto found = idsByName.constFind(ref.name);
            if (found == idsByName.constEnd())
                return damaged(lineAt(i) +
                               QStringLiteral(": нет материала «%1»").arg(ref.name.left(40)));
            material = *found;
        }
    }
    if (!lines_.fault.isEmpty())
        return damaged(lines_.fault);

    LoadedSheet loaded;
    loaded.sheet.recording = *recording_;
    loaded.sheet.lastRoom = *lastRoom_;
    loaded.sheet.materials = std::move(materials_.items);
    for (qsizetype i = 0; i < loaded.sheet.materials.size(); ++i) {
        const Material& m = loaded.sheet.materials[i];
        loaded.sheet.systems.append({m.id, m.name, {{m.id, materialCoats_[std::size_t(i)]}}, {}, {}});
    }
    loaded.sheet.lines = std::move(lines_.items);
    loaded.document = document_;
    return loaded;
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
