#include "estimate/pricelist.h"

#include "estimate/decimal.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace velaro {
namespace {

QString decoded(const QByteArray& bytes) {
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: what Excel saves as CSV on a Russian Windows.
    QStringDecoder cp1251("windows-1251");
    if (cp1251.isValid())
        return cp1251(body);
    return QString::fromLatin1(body);
}

// The field separator: tab where any of the first lines has one, else ';' (a decimal comma's
// CSV), else ','.
QChar fieldSeparator(const QString& text) {
    const QString head = text.left(4096);
    if (head.contains(u'\t'))
        return u'\t';
    if (head.contains(u';'))
        return u';';
    return u',';
}

enum class Role { None, Name, Size, Price, Unit };

Role roleOfHeading(const QString& cell) {
    const QString h = cell.simplified().toCaseFolded();
    if (h.isEmpty())
        return Role::None;
    const auto any = [&](std::initializer_list<const char16_t*> words) {
        for (const char16_t* w : words)
            if (h.contains(QStringView(w)))
                return true;
        return false;
    };
    if (any({u"цена", u"стоимост", u"price"}))
        return Role::Price;
    if (any({u"наимен", u"назван", u"материал", u"товар", u"продукц", u"номенклат", u"name"}))
        return Role::Name;
    if (any({u"тара", u"фасовк", u"объ", u"вес", u"масса", u"упаков", u"размер", u"size"}))
        return Role::Size;
    if (h == u"ед" || h == u"ед." || any({u"единиц", u"ед. изм", u"ед.изм", u"unit"}))
        return Role::Unit;
    return Role::None;
}

// The figure at the start of a cell and the word after it: «2,7 л» → «2,7», «л».
std::pair<QString, QString> figureAndWord(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    while (end < t.size() && (t[end].isDigit() || t[end] == u',' || t[end] == u'.' ||
                              t[end].isSpace() || t[end] == u'\'' || t[end] == u'-'))
        ++end;
    return {t.left(end), t.mid(end).trimmed().toCaseFolded()};
}

// A unit word as price lists write it: the unit, and how many of it one of the word is.
std::optional<std::pair<QString, int>> unitOf(const QString& word) {
    QString w = word;
    while (w.endsWith(u'.'))
        w.chop(1);
    if (w == u"кг" || w == u"kg")
        return std::pair(QStringLiteral("кг"), 1);
    if (w == u"л" || w == u"l" || w == u"литр" || w == u"литра" || w == u"литров")
        return std::pair(QStringLiteral("л"), 1);
    if (w == u"г" || w == u"гр" || w == u"g")
        return std::pair(QStringLiteral("кг"), 1000);
    if (w == u"мл" || w == u"ml")
        return std::pair(QStringLiteral("л"), 1000);
    return std::nullopt;
}

// The unit a heading names: «Фасовка, кг».
QString unitOfHeading(const QString& heading) {
    QString h = heading.toCaseFolded();
    for (QChar& c : h)
        if (!c.isLetter())
            c = u' ';
    for (const QString& word : h.split(u' ', Qt::SkipEmptyParts))
        if (const auto unit = unitOf(word); unit && unit->second == 1)
            return unit->first;
    return {};
}

bool isCurrency(const QString& word) {
    QString w = word;
    while (w.endsWith(u'.'))
        w.chop(1);
    return w.isEmpty() || w == u"р" || w == u"руб" || w == u"₽" || w == u"rub" ||
           w == u"рублей" || w == u"р/шт" || w == u"руб/шт";
}

struct Columns {
    int name = 0, size = 1, price = 2, unit = -1;
    QString sizeUnit; // named by the size's heading
};

} // namespace

Records csvRecords(const QByteArray& bytes) {
    const QString text = decoded(bytes);
    return delimitedRows(text, fieldSeparator(text));
}

QString priceListFigure(const QString& text) {
    QString t;
    for (const QChar c : text.trimmed())
        if (!c.isSpace() && c != u'\'')
            t += c;
    const qsizetype lastComma = t.lastIndexOf(u','), lastDot = t.lastIndexOf(u'.');
    // Where both are written the last one is the decimal separator; one written several
    // times groups thousands.
    if (lastComma >= 0 && lastDot >= 0) {
        const QChar grouping = lastComma > lastDot ? u'.' : u',';
        t.remove(grouping);
    } else if (t.count(u',') > 1) {
        t.remove(u',');
    } else if (t.count(u'.') > 1) {
        t.remove(u'.');
    }
    if (t.isEmpty() || t.startsWith(u'-') || t.contains(u'e', Qt::CaseInsensitive))
        return {};
    const std::optional<Decimal> value = Decimal::parse(t);
    return value ? value->text(u'.') : QString();
}

PriceList priceListOf(const Records& records) {
    PriceList list;
    Columns columns;
    qsizetype first = 0;
    // A title may stand above the headings; a heading row names at least a price and a name.
    for (qsizetype r = 0; r < std::min<qsizetype>(records.rows.size(), 10); ++r) {
        Columns found{-1, -1, -1, -1, {}};
        const QStringList& row = records.rows[r];
        for (int c = 0; c < row.size(); ++c) {
            int* slot = nullptr;
            switch (roleOfHeading(row[c])) {
            case Role::Name:
                slot = &found.name;
                break;
            case Role::Size:
                slot = &found.size;
                found.sizeUnit = unitOfHeading(row[c]);
                break;
            case Role::Price:
                slot = &found.price;
                break;
            case Role::Unit:
                slot = &found.unit;
                break;
            case Role::None:
                break;
            }
            if (slot && *slot < 0)
                *slot = c;
        }
        if (found.name >= 0 && found.price >= 0) {
            columns = found;
            first = r + 1;
            break;
        }
    }
    for (qsizetype r = first; r < records.rows.size(); ++r) {
        const QStringList& row = records.rows[r];
        if (std::all_of(row.begin(), row.end(),
                        [](const QString& c) { return c.trimmed().isEmpty(); }))
            continue;
        const int line = records.lines.value(r, int(r + 1));
        const auto problem = [&](const QString& what) {
            list.problems << QStringLiteral("Строка %1: %2").arg(line).arg(what);
        };
        PriceListRow read;
        read.line = line;
        read.name = row.value(columns.name).simplified();
        if (read.name.isEmpty()) {
            problem(QStringLiteral("нет названия"));
            continue;
        }
        const QString sizeText = columns.size >= 0 ? row.value(columns.size).trimmed() : QString();
        if (sizeText.isEmpty()) {
            problem(QStringLiteral("нет тары"));
            continue;
        }
        const auto [sizeFigure, sizeWord] = figureAndWord(sizeText);
        const QString unitCell = columns.unit >= 0 ? row.value(columns.unit).trimmed() : QString();
        std::optional<std::pair<QString, int>> unit =
            !sizeWord.isEmpty() ? unitOf(sizeWord)
            : !unitCell.isEmpty()
                ? unitOf(unitCell.toCaseFolded())
                : std::pair(columns.sizeUnit.isEmpty() ? QStringLiteral("кг") : columns.sizeUnit,
                            1);
        QString size = priceListFigure(sizeFigure);
        if (size.isEmpty() || !unit) {
            problem(QStringLiteral("тара «%1» не число кг или л").arg(sizeText.left(40)));
            continue;
        }
        if (unit->second != 1)
            size = Decimal::parse(size)
                       ->dividedRounded(Decimal::whole(unit->second), 6)
                       .value_or(Decimal())
                       .text(u'.');
        if (Decimal::parse(size)->isZero()) {
            problem(QStringLiteral("тара «%1» не положительное число").arg(sizeText.left(40)));
            continue;
        }
        read.size = size;
        read.unit = unit->first;
        const QString priceText = row.value(columns.price).trimmed();
        if (priceText.isEmpty()) {
            problem(QStringLiteral("нет цены"));
            continue;
        }
        const auto [priceFigure, priceWord] = figureAndWord(priceText);
        read.price = isCurrency(priceWord) ? priceListFigure(priceFigure) : QString();
        if (read.price.isEmpty()) {
            problem(QStringLiteral("цена «%1» не число").arg(priceText.left(40)));
            continue;
        }
        list.rows << read;
    }
    return list;
}

} // namespace velaro
