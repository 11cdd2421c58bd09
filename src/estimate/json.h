#pragma once
// A small JSON reader and writer for the sheet's file. Qt's QJsonDocument builds and reads a
// 10 000-line sheet several times slower than opening and saving may take; this one reads into
// plain values and writes straight into bytes. Strict: RFC 8259 grammar, UTF-8 text, no lone
// surrogates, a nesting limit.

#include <QByteArray>
#include <QString>

#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace velaro::json {

struct Member;

struct Value {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    QString string;
    std::vector<Value> items;
    // Names are views of the parsed text, as written (escapes undone nowhere: the sheet's names
    // are plain words), so the text must outlive the value.
    std::vector<Member> members;

    // The member of that name (the last, where a name repeats), or nullptr.
    const Value* member(std::string_view name) const;
};

struct Member {
    std::string_view name;
    Value value;
};

struct ParseError {
    qsizetype offset;
    bool atEnd; // the text ran out inside the document: a file cut short
    QString what;
};

// `text` must outlive the value: member names point into it.
std::variant<Value, ParseError> parse(const QByteArray& text);

// Writes JSON text: the caller lays out objects and arrays; keys and strings are escaped here.
class Writer {
  public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(QLatin1StringView name);
    void string(const QString& text);
    void number(long long value);
    void boolean(bool value);
    QByteArray take() { return std::move(out_); }

  private:
    void open(char bracket);
    void close(char bracket);
    void beforeValue();
    void newline();

    QByteArray out_;
    std::vector<bool> hasItems_; // per open bracket
    bool afterKey_ = false;
};

} // namespace velaro::json
