#include "estimate/json.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace velaro::json {
namespace {

constexpr int kDeepest = 32;

class Parser {
  public:
    explicit Parser(const QByteArray& text)
        : p_(text.constData()), end_(p_ + text.size()), begin_(p_) {}

    Value document() {
        Value value = this->value(0);
        blanks();
        if (p_ != end_)
            fail("лишний текст после документа");
        return value;
    }

    [[noreturn]] void fail(const char* what) const {
        throw ParseError{p_ - begin_, p_ >= end_, QString::fromUtf8(what)};
    }

  private:
    void blanks() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r'))
            ++p_;
    }
    char peek() {
        blanks();
        if (p_ >= end_)
            fail("текст обрывается");
        return *p_;
    }
    void expect(char c) {
        if (peek() != c)
            fail(c == ':' ? "нет двоеточия" : "нет запятой или скобки");
        ++p_;
    }
    void word(const char* text) {
        for (; *text; ++text, ++p_) {
            if (p_ >= end_)
                fail("текст обрывается");
            if (*p_ != *text)
                fail("неизвестное слово");
        }
    }

    Value value(int depth) {
        if (depth > kDeepest)
            fail("слишком глубокая вложенность");
        Value v;
        switch (peek()) {
        case '{': {
            // Members gather on a shared stack and move into a vector of their exact size: one
            // allocation per object instead of one per growth step.
            v.type = Value::Type::Object;
            ++p_;
            if (peek() == '}') {
                ++p_;
                return v;
            }
            const std::size_t first = members_.size();
            for (;;) {
                if (peek() != '"')
                    fail("нет имени поля");
                const std::string_view name = rawString();
                expect(':');
                Value member = value(depth + 1);
                members_.push_back(Member{name, std::move(member)});
                if (peek() == '}') {
                    ++p_;
                    break;
                }
                expect(',');
            }
            v.members.assign(std::make_move_iterator(members_.begin() + std::ptrdiff_t(first)),
                             std::make_move_iterator(members_.end()));
            members_.resize(first);
            return v;
        }
        case '[': {
            v.type = Value::Type::Array;
            ++p_;
            if (peek() == ']') {
                ++p_;
                return v;
            }
            const std::size_t first = items_.size();
            for (;;) {
                Value item = value(depth + 1);
                items_.push_back(std::move(item));
                if (peek() == ']') {
                    ++p_;
                    break;
                }
                expect(',');
            }
            v.items.assign(std::make_move_iterator(items_.begin() + std::ptrdiff_t(first)),
                           std::make_move_iterator(items_.end()));
            items_.resize(first);
            return v;
        }
        case '"':
            v.type = Value::Type::String;
            v.string = string();
            return v;
        case 't':
            word("true");
            v.type = Value::Type::Bool;
            v.boolean = true;
            return v;
        case 'f':
            word("false");
            v.type = Value::Type::Bool;
            return v;
        case 'n':
            word("null");
            return v;
        default:
            v.type = Value::Type::Number;
            v.number = number();
            return v;
        }
    }

    double number() {
        const char* start = p_;
        if (p_ < end_ && *p_ == '-')
            ++p_;
        const auto digits = [this] {
            const char* first = p_;
            while (p_ < end_ && *p_ >= '0' && *p_ <= '9')
                ++p_;
            if (p_ == first)
                fail(p_ >= end_ ? "текст обрывается" : "не число");
        };
        if (p_ < end_ && *p_ == '0')
            ++p_;
        else
            digits();
        if (p_ < end_ && *p_ == '.') {
            ++p_;
            digits();
        }
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (p_ < end_ && (*p_ == '+' || *p_ == '-'))
                ++p_;
            digits();
        }
        double value = 0;
        const auto [rest, error] = std::from_chars(start, p_, value);
        if (rest != p_ || (error != std::errc() && error != std::errc::result_out_of_range) ||
            !std::isfinite(value))
            fail("число вне диапазона");
        return value;
    }

    unsigned hex4() {
        unsigned code = 0;
        for (int i = 0; i < 4; ++i, ++p_) {
            if (p_ >= end_)
                fail("текст обрывается");
            const char c = *p_;
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= unsigned(c - 'A' + 10);
            else
                fail("неверная escape-последовательность");
        }
        return code;
    }

    // A member name: the bytes between the quotes, checked as a string is but not decoded.
    std::string_view rawString() {
        const char* start = p_ + 1;
        string();
        return std::string_view(start, std::size_t(p_ - 1 - start));
    }

    QString string() {
        ++p_; // the opening quote
        QString text;
        const char* run = p_;
        const auto flush = [&] {
            if (p_ > run) {
                const QByteArrayView bytes(run, p_ - run);
                if (!QUtf8StringView(bytes).isValidUtf8())
                    fail("текст не в UTF-8");
                text += QString::fromUtf8(bytes);
            }
        };
        for (;;) {
            if (p_ >= end_)
                fail("текст обрывается");
            const unsigned char c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                flush();
                ++p_;
                return text;
            }
            if (c < 0x20)
                fail("управляющий символ в тексте");
            if (c != '\\') {
                ++p_;
                continue;
            }
            flush();
            ++p_;
            if (p_ >= end_)
                fail("текст обрывается");
            const char escape = *p_++;
            switch (escape) {
            case '"':
                text += u'"';
                break;
            case '\\':
                text += u'\\';
                break;
            case '/':
                text += u'/';
                break;
            case 'b':
                text += u'\b';
                break;
            case 'f':
                text += u'\f';
                break;
            case 'n':
                text += u'\n';
                break;
            case 'r':
                text += u'\r';
                break;
            case 't':
                text += u'\t';
                break;
            case 'u': {
                const unsigned code = hex4();
                if (code >= 0xDC00 && code <= 0xDFFF)
                    fail("одиночный суррогат");
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u')
                        fail(end_ - p_ < 2 ? "текст обрывается" : "одиночный суррогат");
                    p_ += 2;
                    const unsigned low = hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        fail("одиночный суррогат");
                    text += QChar(char16_t(code));
                    text += QChar(char16_t(low));
                } else {
                    text += QChar(char16_t(code));
                }
                break;
            }
            default:
                --p_;
                fail("неверная escape-последовательность");
            }
            run = p_;
        }
    }

    const char* p_;
    const char* end_;
    const char* begin_;
    std::vector<Member> members_;
    std::vector<Value> items_;
};

} // namespace

const Value* Value::member(std::string_view name) const {
    for (auto m = members.rbegin(); m != members.rend(); ++m)
        if (m->name == name)
            return &m->value;
    return nullptr;
}

std::variant<Value, ParseError> parse(const QByteArray& text) {
    Parser parser(text);
    try {
        return parser.document();
    } catch (const ParseError& error) {
        return error;
    }
}

void Writer::newline() {
    out_ += '\n';
    out_.append(qsizetype(hasItems_.size()) * 2, ' ');
}

void Writer::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasItems_.empty()) {
        if (hasItems_.back())
            out_ += ',';
        hasItems_.back() = true;
        newline();
    }
}

void Writer::open(char bracket) {
    beforeValue();
    out_ += bracket;
    hasItems_.push_back(false);
}

void Writer::close(char bracket) {
    const bool items = hasItems_.back();
    hasItems_.pop_back();
    if (items)
        newline();
    out_ += bracket;
    if (hasItems_.empty())
        out_ += '\n';
}

void Writer::key(QLatin1StringView name) {
    beforeValue();
    out_ += '"';
    out_ += QByteArrayView(name.data(), name.size());
    out_ += "\": ";
    afterKey_ = true;
}

void Writer::string(const QString& text) {
    beforeValue();
    out_ += '"';
    const QByteArray bytes = text.toUtf8();
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (c == '\n') {
            out_ += "\\n";
        } else if (c == '\r') {
            out_ += "\\r";
        } else if (c == '\t') {
            out_ += "\\t";
        } else if (u < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            out_ += "\\u00";
            out_ += kHex[u >> 4];
            out_ += kHex[u & 15];
        } else {
            out_ += c;
        }
    }
    out_ += '"';
}

void Writer::number(long long value) {
    beforeValue();
    out_ += QByteArray::number(value);
}

void Writer::boolean(bool value) {
    beforeValue();
    out_ += value ? "true" : "false";
}

} // namespace velaro::json
