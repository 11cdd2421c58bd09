#include "estimate/export.h"

#include "estimate/decimal.h"
#include "estimate/report.h"

#include <algorithm>

namespace velaro {
namespace {

// A spreadsheet that trims blanks on import runs « =1+1» as a formula too, so the sign is looked
// for past blanks of any kind. A figure with a minus (-2,5) must stay a number to be added up; a
// plus never starts a figure this program writes, so that stays guarded.
bool runsAsFormula(const QString& cell) {
    if (cell.isEmpty())
        return false;
    const auto first =
        std::find_if_not(cell.cbegin(), cell.cend(), [](QChar c) { return c.isSpace(); });
    const QChar lead = first == cell.cend() ? QChar() : *first;
    const bool opens =
        cell.front() == u'\t' || cell.front() == u'\r' || QStringLiteral("=+-@").contains(lead);
    return opens && (lead == u'+' || !Decimal::parse(cell));
}

} // namespace

QString fileNameOf(const QString& object, const QString& suffix) {
    constexpr qsizetype kLongestName = 200; // bytes: file systems take 255, some less
    QString name;
    for (const char32_t c : object.toUcs4()) {
        const bool unfit = c < 0x20 || c == 0x7f ||
                           (c < 0x80 && QStringView(u"/\\:*?\"<>|").contains(QChar(char16_t(c))));
        const bool reversing = (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
        if (!reversing)
            name += unfit ? QString(u'_') : QString::fromUcs4(&c, 1);
    }
    name = name.simplified();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    const QString ending = u'.' + suffix;
    qsizetype bytes = ending.toUtf8().size();
    QString kept;
    for (const char32_t c : name.toUcs4()) { // whole characters only
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes > kLongestName)
            break;
        kept += QString::fromUcs4(&c, 1);
    }
    kept = kept.trimmed();
    return kept.isEmpty() ? QString() : kept + ending;
}

QChar csvFieldSeparator(QChar decimalSeparator) {
    return decimalSeparator == u',' ? u';' : u',';
}

QString csvCell(const QString& text, QChar fieldSeparator) {
    QString cell = text;
    if (runsAsFormula(cell))
        cell.prepend(u'\'');
    if (cell.contains(fieldSeparator) || cell.contains(u'"') || cell.contains(u'\n') ||
        cell.contains(u'\r')) {
        cell.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        cell = u'"' + cell + u'"';
    }
    return cell;
}

QByteArray sheetCsv(const SheetView& view) {
    const Report report = Report::of(view);
    const QChar separator = csvFieldSeparator(view.separator);
    QString text;
    const auto row = [&](const QStringList& cells) {
        QStringList quoted;
        for (const QString& cell : cells)
            quoted << csvCell(cell, separator);
        text += quoted.join(separator) + QStringLiteral("\r\n");
    };
    // Figures are bare numbers a spreadsheet adds up, their units in the headings: the paint
    // gets a column of each material taken.
    QStringList header{kNumberTitle};
    for (Column column : kColumnOrder)
        if (column != Column::Paint)
            header << columnTitle(column);
    for (const ReportMaterial& material : report.materials())
        header << QStringLiteral("%1, %2").arg(material.material->name, material.material->unit);
    row(header);
    // Room by room, as printed and under the same numbers.
    for (const ReportRoom& room : report.rooms())
        for (const int i : room.lines) {
            const Line& line = view.sheet.lines[i];
            const LineFigures& figures = view.figures[std::size_t(i)];
            QStringList cells{QString::number(report.numberOf(i))};
            for (Column column : kColumnOrder) {
                if (column == Column::Work)
                    cells << (figures.work ? figures.work->text(view.separator, 2) : QString());
                else if (column != Column::Paint)
                    cells << cellText(line, figures, column, view.separator, view.sheet);
            }
            for (std::size_t k = 0; k < report.materials().size(); ++k) {
                const auto paint = report.paintOf(i, k);
                cells << (paint ? paint->text(view.separator, 2) : QString());
            }
            row(cells);
        }
    // Overhead and profit cannot be added up from the lines: after a blank row, each under the
    // work it is taken on, labelled in the price column as the workbook has them.
    const Money& money = report.money();
    if (money.overhead || money.profit) {
        const auto placeOf = [](Column wanted) { // as the header has them: no paint column
            qsizetype place = 1;                 // after the number
            for (const Column column : kColumnOrder) {
                if (column == wanted)
                    break;
                place += column != Column::Paint;
            }
            return place;
        };
        const auto sum = [&](const QString& label, const Decimal& value) {
            QStringList cells(header.size());
            cells[placeOf(Column::Price)] = label + QStringLiteral(", руб.");
            cells[placeOf(Column::Work)] = value.text(view.separator, 2);
            row(cells);
        };
        row(QStringList(header.size()));
        sum(QStringLiteral("Работы"), money.work);
        if (money.overhead)
            sum(overheadLabel(*money.overheadRate, view.separator), *money.overhead);
        if (money.profit)
            sum(profitLabel(*money.profitRate, view.separator), *money.profit);
    }
    // The materials taken, under an empty row: the cans bought, each checkable by hand.
    if (!report.materials().empty()) {
        row({});
        row({QStringLiteral("Материал"), columnTitle(Column::Unit), QStringLiteral("Количество"),
             QStringLiteral("Тара"), QStringLiteral("Цена тары, руб."), QStringLiteral("Банок"),
             QStringLiteral("Стоимость, руб.")});
        for (const ReportMaterial& m : report.materials()) {
            const bool one = m.rates->cans.size() == 1;
            const MaterialRates::CanRate& first = m.rates->cans.front();
            // One size: its figures bare, to be added up; several: as the paper writes them.
            row({m.material->name, m.material->unit, m.quantity.text(view.separator, 2),
                 canSizesText(*m.rates, view.separator),
                 one ? (first.price ? first.price->text(view.separator, 2) : QString())
                     : canPricesText(*m.rates, view.separator),
                 m.cans.empty() ? QString()
                                : cansText(*m.material, *m.rates, m.cans, view.separator),
                 m.cost ? m.cost->text(view.separator, 2) : QString()});
        }
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

std::vector<MaterialRow> materialRows(const SheetView& view) {
    std::vector<MaterialRow> rows;
    for (const Material& material : view.sheet.materials) {
        const auto sum = view.totals.paint().value(material.id);
        const auto rates = view.rates.find(material.id);
        const bool known = rates != view.rates.end();
        const MaterialTotal total = MaterialTotal::of(sum.value, known ? &*rates : nullptr);
        rows.push_back(
            {material.name, total.quantity.text(view.separator, 2, true) + u' ' + material.unit,
             known ? cansText(material, *rates, total.cans, view.separator) : QStringLiteral("—"),
             total.cost ? total.cost->text(view.separator, 2, true) : QStringLiteral("—")});
    }
    return rows;
}

Money moneyOf(const SheetView& view) {
    Decimal materials;
    for (const Material& material : view.sheet.materials) {
        const auto rates = view.rates.find(material.id);
        if (rates == view.rates.end())
            continue;
        const MaterialTotal total =
            MaterialTotal::of(view.totals.paint().value(material.id).value, &*rates);
        if (total.cost)
            materials += *total.cost;
    }
    return moneyOf(materials, view.totals.work(), view.sheet.vatRate, view.sheet.overheadRate,
                   view.sheet.profitRate);
}

namespace {

// `rate` % of `sum` to the kopeck, half up: the division by 100 is exact.
std::optional<Decimal> percentOf(const Decimal& sum, const Decimal& rate) {
    const auto product = sum.times(rate);
    const auto hundredth =
        product ? product->times(*Decimal::parse(QStringLiteral("0.01"))) : std::nullopt;
    return hundredth ? std::optional(hundredth->rounded(2)) : std::nullopt;
}

// A rate that counts: a sound percentage above zero.
std::optional<Decimal> rateOf(const QString& text) {
    if (!percentProblem(text).isEmpty())
        return std::nullopt;
    const auto rate = Decimal::parse(text);
    return rate && !rate->isZero() ? rate : std::nullopt;
}

} // namespace

Money moneyOf(const Decimal& materials, const Decimal& work, const QString& vatRate,
              const QString& overheadRate, const QString& profitRate) {
    Money money;
    money.materials = materials;
    money.work = work;
    money.subtotal = money.materials + money.work;
    // Both on the work alone, not profit on work and overhead: the norms (МДС 81-33, МДС 81-25)
    // take each as a share of the same base, the pay for the work, which the work stands for here.
    const auto onWork = [&](const QString& text, std::optional<Decimal>& rate,
                            std::optional<Decimal>& sum) {
        rate = rateOf(text);
        sum = rate ? percentOf(work, *rate) : std::nullopt;
        if (sum)
            money.subtotal += *sum;
        else
            rate.reset();
    };
    onWork(overheadRate, money.overheadRate, money.overhead);
    onWork(profitRate, money.profitRate, money.profit);
    money.total = money.subtotal;
    if (const auto rate = Decimal::parse(vatRate); rate && !rate->isZero()) {
        money.vatRate = rate;
        money.vat = percentOf(money.subtotal, *rate);
        if (money.vat)
            money.total += *money.vat;
    }
    return money;
}

QString overheadLabel(const Decimal& rate, QChar separator) {
    return QStringLiteral("НР %1% от работ").arg(rate.text(separator));
}

QString profitLabel(const Decimal& rate, QChar separator) {
    return QStringLiteral("СП %1% от работ").arg(rate.text(separator));
}

} // namespace velaro
