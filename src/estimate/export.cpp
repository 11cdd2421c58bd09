#include "estimate/export.h"

#include "estimate/decimal.h"

#include <QDate>

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
    const QChar separator = csvFieldSeparator(view.separator);
    QString text;
    const auto row = [&](const QStringList& cells) {
        QStringList quoted;
        for (const QString& cell : cells)
            quoted << csvCell(cell, separator);
        text += quoted.join(separator) + QStringLiteral("\r\n");
    };
    // Figures are bare numbers a spreadsheet adds up, their units in the headings: the paint
    // gets a column of each material.
    QStringList header{kNumberTitle};
    for (Column column : kColumnOrder)
        if (column != Column::Paint)
            header << columnTitle(column);
    for (const Material& material : view.sheet.materials)
        header << QStringLiteral("%1, %2").arg(material.name, material.unit);
    row(header);
    for (qsizetype i = 0; i < view.sheet.lines.size(); ++i) {
        const Line& line = view.sheet.lines[i];
        const LineFigures& figures = view.figures[std::size_t(i)];
        QStringList cells{QString::number(i + 1)};
        for (Column column : kColumnOrder) {
            if (column == Column::Work)
                cells << (figures.work ? figures.work->text(view.separator, 2) : QString());
            else if (column != Column::Paint)
                cells << cellText(line, figures, column, view.separator, view.sheet);
        }
        for (const Material& material : view.sheet.materials) {
            std::optional<Decimal> paint;
            for (const LineFigures::Paint& layer : figures.paint)
                if (layer.material == material.id)
                    paint = paint.value_or(Decimal()) + layer.amount;
            cells << (paint ? paint->text(view.separator, 2) : QString());
        }
        row(cells);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

std::vector<MaterialRow> materialRows(const SheetView& view) {
    std::vector<MaterialRow> rows;
    for (const Material& material : view.sheet.materials) {
        const auto sum = view.totals.paint().value(material.id);
        const auto rates = view.rates.find(material.id);
        const MaterialTotal total =
            MaterialTotal::of(sum.value, rates == view.rates.end() ? nullptr : &*rates);
        rows.push_back(
            {material.name, total.quantity.text(view.separator, 2, true) + u' ' + material.unit,
             total.cans ? QString::number(*total.cans) : QStringLiteral("—"),
             total.cost ? total.cost->text(view.separator, 2, true) : QStringLiteral("—")});
    }
    return rows;
}

Money moneyOf(const SheetView& view) {
    Money money;
    for (const Material& material : view.sheet.materials) {
        const auto rates = view.rates.find(material.id);
        if (rates == view.rates.end())
            continue;
        const MaterialTotal total =
            MaterialTotal::of(view.totals.paint().value(material.id).value, &*rates);
        if (total.cost)
            money.materials += *total.cost;
    }
    money.work = view.totals.work();
    money.subtotal = money.materials + money.work;
    money.total = money.subtotal;
    if (const auto rate = Decimal::parse(view.sheet.vatRate); rate && !rate->isZero()) {
        money.vatRate = rate;
        // rate % of the sum: the division by 100 is exact, the kopecks rounded half up.
        const auto vat = money.subtotal.times(*rate);
        const auto hundredth = vat ? vat->times(*Decimal::parse(QStringLiteral("0.01")))
                                   : std::nullopt;
        if (hundredth) {
            money.vat = hundredth->rounded(2);
            money.total += *money.vat;
        }
    }
    return money;
}

namespace {

// The columns paper shows: those with something in them, and the quantity in the norms' unit
// only where a line is priced by a norm.
std::vector<Column> printedColumns(const SheetView& view) {
    std::vector<Column> columns;
    for (Column column : kColumnOrder) {
        const bool wanted = column != Column::NormQuantity ||
                            std::any_of(view.sheet.lines.begin(), view.sheet.lines.end(),
                                        [&](const Line& line) {
                                            return !cellText(line, {}, Column::Code,
                                                             view.separator, view.sheet)
                                                        .isEmpty();
                                        });
        bool filled = false;
        for (qsizetype i = 0; wanted && !filled && i < view.sheet.lines.size(); ++i)
            filled = !cellText(view.sheet.lines[i], view.figures[std::size_t(i)], column,
                               view.separator, view.sheet)
                          .isEmpty();
        if (filled || column == Column::Room || column == Column::Element)
            columns.push_back(column);
    }
    return columns;
}

} // namespace

QString sheetHtml(const SheetView& view, const QString& title, const QDate& date) {
    const std::vector<Column> columns = printedColumns(view);
    const auto e = [](const QString& text) { return text.toHtmlEscaped(); };
    QString html = QStringLiteral(
        "<html><head><meta charset=\"utf-8\"><style>"
        "body{font-family:'Liberation Sans',sans-serif;font-size:8pt;}"
        "h1{font-size:13pt;margin:0;} h2{font-size:10pt;margin:8pt 0 2pt 0;}"
        "table{border-collapse:collapse;} td,th{border:1px solid #555;padding:2px 3px;"
        "vertical-align:top;} th{background:#ddd;} .n{text-align:right;white-space:nowrap;}"
        "</style></head><body>");
    html += QStringLiteral("<h1>Ведомость окраски: %1</h1><p>%2</p>")
                .arg(e(title), date.toString(QStringLiteral("dd.MM.yyyy")));
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\"><tr><th>%1</th>")
                .arg(kNumberTitle);
    // The texts get the width the figures leave them, shared by how much they hold.
    const auto weight = [](Column column) {
        switch (column) {
        case Column::Measurements:
        case Column::Formula:
            return 6;
        case Column::Conditions:
        case Column::Element:
            return 4;
        case Column::Room:
        case Column::System:
            return 3;
        default:
            return 0;
        }
    };
    int weights = 0;
    for (Column column : columns)
        weights += weight(column);
    const int textShare = 100 - 5 * int(std::count_if(columns.begin(), columns.end(), [&](Column c) {
                                        return weight(c) == 0;
                                    }));
    for (Column column : columns)
        html += QStringLiteral("<th width=\"%1%\">%2</th>")
                    .arg(weight(column) ? std::max(4, textShare * weight(column) / std::max(1, weights))
                                        : 5)
                    .arg(e(columnTitle(column)));
    html += QStringLiteral("</tr>");
    for (qsizetype i = 0; i < view.sheet.lines.size(); ++i) {
        html += QStringLiteral("<tr><td class=\"n\">%1</td>").arg(i + 1);
        for (Column column : columns) {
            html += QStringLiteral("<td%1>%2</td>")
                        // A system's paint lists its layers: it may wrap, other figures not.
                        .arg(column == Column::Paint   ? QStringLiteral(" class=\"r\"")
                             : isFigureColumn(column) ? QStringLiteral(" class=\"n\"")
                                                      : QString(),
                             e(cellText(view.sheet.lines[i], view.figures[std::size_t(i)], column,
                                        view.separator, view.sheet)));
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    html +=
        QStringLiteral("<h2>Итого: %1</h2>").arg(e(areaText(view.totals.area(), view.separator)));

    html += QStringLiteral("<h2>По помещениям</h2><table cellspacing=\"0\">"
                           "<tr><th>Помещение</th><th>Строк</th><th>Площадь</th></tr>");
    for (const QString& room : view.rooms) {
        const Totals::Sum sum = view.totals.rooms().value(room);
        html += QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td><td class=\"n\">%3</td></tr>")
                    .arg(e(roomTitle(room)))
                    .arg(sum.lines)
                    .arg(e(areaText(sum.value, view.separator)));
    }
    html += QStringLiteral("</table>");

    const auto materials = materialRows(view);
    if (!materials.empty()) {
        html +=
            QStringLiteral("<h2>По материалам</h2><table cellspacing=\"0\"><tr><th>Материал</th>"
                           "<th>Количество</th><th>Банок</th><th>Стоимость</th></tr>");
        for (const MaterialRow& row : materials)
            html += QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td><td class=\"n\">%3</td>"
                                   "<td class=\"n\">%4</td></tr>")
                        .arg(e(row.name), e(row.quantity), e(row.cans), e(row.cost));
        html += QStringLiteral("</table>");
    }
    const Money money = moneyOf(view);
    const auto sum = [&](const QString& name, const Decimal& value) {
        html += QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td></tr>")
                    .arg(e(name), e(moneyText(value, view.separator)));
    };
    html += QStringLiteral("<h2>Стоимость</h2><table cellspacing=\"0\">");
    sum(QStringLiteral("Материалы"), money.materials);
    sum(QStringLiteral("Работы"), money.work);
    if (money.vat) {
        sum(QStringLiteral("Итого без НДС"), money.subtotal);
        sum(QStringLiteral("НДС %1%").arg(money.vatRate->text(view.separator)), *money.vat);
    }
    sum(QStringLiteral("Всего"), money.total);
    html += QStringLiteral("</table>");
    return html + QStringLiteral("</body></html>");
}

} // namespace velaro
