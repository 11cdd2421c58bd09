#include "estimate/linesclipboard.h"

#include "estimate/delimitedtext.h"
#include "estimate/estimate.h"
#include "estimate/expression.h"
#include "estimate/sheetfile.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QSet>

#include <array>
#include <optional>

namespace velaro {
namespace {

// A cell as a spreadsheet takes it: figures without grouping blanks, so that they stay numbers;
// one line of text, since a tab or a line break would start another cell or row.
QString clipCell(const Line& line, const LineFigures& figures, Column column, QChar separator,
                 const Sheet& sheet) {
    if (column == Column::Work)
        return figures.work ? figures.work->text(separator, 2) : QString();
    QString text = cellText(line, figures, column, separator, sheet);
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

enum Field { Room, Name, Unit, Quantity, Price, kFieldCount };
using Places = std::array<int, kFieldCount>; // a field's column, -1 where none

// The field a heading names: «Количество» before «Формула» for the quantity, since a computed
// line's formula is no arithmetic to work out again.
std::optional<std::pair<Field, int>> fieldOfHeading(const QString& heading) {
    const QString h = heading.simplified().toLower();
    if (h == QStringLiteral("помещение"))
        return std::pair{Room, 0};
    if (h.startsWith(QStringLiteral("наименование")) || h == QStringLiteral("элемент"))
        return std::pair{Name, 0};
    if (h.startsWith(QStringLiteral("ед.")) || h.startsWith(QStringLiteral("единица")))
        return std::pair{Unit, 0};
    if (h.startsWith(QStringLiteral("количество")))
        return std::pair{Quantity, 0};
    if (h == QStringLiteral("формула"))
        return std::pair{Quantity, 1};
    if (h.startsWith(QStringLiteral("цена работ")) || h == QStringLiteral("цена"))
        return std::pair{Price, 0};
    return std::nullopt;
}

// The fields a heading row places; nullopt where the row is no heading (it names neither a
// name nor a quantity).
std::optional<Places> placesOfHeading(const QStringList& row) {
    Places places;
    places.fill(-1);
    std::array<int, kFieldCount> rank;
    rank.fill(2);
    for (int column = 0; column < row.size(); ++column)
        if (const auto field = fieldOfHeading(row[column]);
            field && field->second < rank[field->first]) {
            places[field->first] = column;
            rank[field->first] = field->second;
        }
    if (places[Name] < 0 && places[Quantity] < 0)
        return std::nullopt;
    return places;
}

Places placesByPosition(qsizetype cells) {
    if (cells < 3)
        return {-1, 0, -1, 1, -1};
    return {-1, 0, 1, 2, -1};
}

QString fieldTitle(Field field) {
    switch (field) {
    case Room:
        return QStringLiteral("Помещение");
    case Name:
        return QStringLiteral("Наименование");
    case Unit:
        return QStringLiteral("Ед. изм.");
    case Quantity:
        return QStringLiteral("Количество");
    case Price:
        return QStringLiteral("Цена работ");
    case kFieldCount:
        break;
    }
    return {};
}

// A spreadsheet's figure or our own formula as arithmetic to work out: grouping blanks between
// digits dropped («1 234,5»), the sign minus as a hyphen, what a formula comes to («= 3 м2») cut.
QString quantityArithmetic(QString text) {
    static const QRegularExpression kGrouping(
        QStringLiteral("(?<=\\d)[ \\x{a0}\\x{202f}](?=\\d{3}(\\D|$))"));
    static const QRegularExpression kOutcome(QStringLiteral("\\s[=≈]\\s.*$"));
    text.remove(kOutcome);
    text.remove(kGrouping);
    text.replace(QChar(u'\u2212'), u'-');
    return text.trimmed();
}

QString problemAt(int row, Field field, const QString& reason) {
    return QStringLiteral("Строка %1, «%2»: %3").arg(row).arg(fieldTitle(field), reason);
}

} // namespace

QMimeData* copiedLines(const Estimate& estimate, const QList<int>& rows,
                       const QList<Column>& columns) {
    const Sheet& sheet = estimate.sheet();
    const QChar separator = estimate.separator();
    QString text = kNumberTitle;
    QString html = QStringLiteral("<meta charset=\"utf-8\"><table><tr><th>") + kNumberTitle +
                   QStringLiteral("</th>");
    for (Column column : columns) {
        text += u'\t' + columnTitle(column);
        html +=
            QStringLiteral("<th>") + columnTitle(column).toHtmlEscaped() + QStringLiteral("</th>");
    }
    text += u'\n';
    html += QStringLiteral("</tr>");

    Sheet copied;
    QSet<int> systems;
    for (int row : rows) {
        const Line& line = sheet.lines[row];
        const LineFigures& figures = estimate.figures()[row];
        text += QString::number(row + 1);
        html += QStringLiteral("<tr><td>%1</td>").arg(row + 1);
        for (Column column : columns) {
            const QString cell = clipCell(line, figures, column, separator, sheet);
            text += u'\t' + cell;
            html += QStringLiteral("<td>") + cell.toHtmlEscaped() + QStringLiteral("</td>");
        }
        text += u'\n';
        html += QStringLiteral("</tr>");
        copied.lines << line;
        if (line.system)
            systems.insert(line.system);
    }
    html += QStringLiteral("</table>");
    QSet<int> materials;
    for (const PaintSystem& system : sheet.systems)
        if (systems.contains(system.id)) {
            copied.systems << system;
            for (const Layer& layer : system.layers)
                materials.insert(layer.material);
        }
    for (const Material& material : sheet.materials)
        if (materials.contains(material.id))
            copied.materials << material;

    auto* data = new QMimeData;
    data->setText(text);
    data->setHtml(html);
    data->setData(kLinesMimeType, sheetToJson(copied));
    return data;
}

PastedLines pastedLines(const QMimeData& data, QChar separator, const QString& room) {
    if (data.hasFormat(kLinesMimeType)) {
        auto loaded = sheetFromJson(data.data(kLinesMimeType));
        if (auto* sheet = std::get_if<LoadedSheet>(&loaded))
            return {std::move(sheet->sheet.lines),
                    std::move(sheet->sheet.systems),
                    std::move(sheet->sheet.materials),
                    {}};
    }
    return linesFromRows(data.text(), separator, room);
}

PastedLines linesFromRows(const QString& text, QChar separator, const QString& room) {
    PastedLines pasted;
    const QList<QStringList> rows = delimitedRows(text, u'\t').rows;
    std::optional<Places> headed;
    for (int index = 0; index < rows.size(); ++index) {
        const QStringList& cells = rows[index];
        const int number = index + 1;
        if (cells.join(QString()).trimmed().isEmpty())
            continue;
        if (!headed && pasted.lines.isEmpty() && pasted.problems.isEmpty())
            if ((headed = placesOfHeading(cells)))
                continue;
        const Places places = headed ? *headed : placesByPosition(cells.size());
        const auto cell = [&](Field field) {
            return places[field] >= 0 && places[field] < cells.size()
                       ? cells[places[field]].simplified()
                       : QString();
        };
        Line line;
        line.kind = LineKind::Typed;
        line.room = places[Room] >= 0 ? cell(Room) : room;
        line.element = cell(Name);
        if (line.element.isEmpty())
            pasted.problems << problemAt(number, Name, QStringLiteral("нет наименования"));
        if (const QString unit = cell(Unit); !unit.isEmpty())
            line.unit = unit;
        line.formula = quantityArithmetic(cell(Quantity));
        if (line.formula.isEmpty()) {
            pasted.problems << problemAt(number, Quantity, QStringLiteral("нет количества"));
        } else {
            const Evaluation evaluation = evaluateQuantity(line.formula, separator);
            if (evaluation.value)
                line.result = evaluation.value->text(separator);
            else
                pasted.problems << problemAt(number, Quantity, evaluation.error);
        }
        if (const QString price = quantityArithmetic(cell(Price)); !price.isEmpty()) {
            const auto value = Decimal::parse(price);
            if (!value || value->isNegative())
                pasted.problems << problemAt(
                    number, Price, QStringLiteral("нужна сумма в рублях, не меньше нуля"));
            else
                line.price = value->text(separator);
        }
        pasted.lines << line;
    }
    if (!pasted.problems.isEmpty())
        pasted.lines.clear();
    return pasted;
}

} // namespace velaro
