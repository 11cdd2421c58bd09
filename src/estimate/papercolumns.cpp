#include "estimate/papercolumns.h"

#include <algorithm>

namespace velaro {

QString printable(const QString& text) {
    constexpr qsizetype kLongest = 500;
    QString kept = text;
    if (kept.size() > kLongest) {
        qsizetype cut = kLongest - 1;
        if (kept[cut - 1].isHighSurrogate()) // never half a character
            --cut;
        kept = kept.left(cut) + QChar(u'…');
    }
    return kept.replace(u'\n', QChar::LineSeparator);
}

QString paperArea(const Decimal& area, QChar separator) {
    return area.rounded(2).text(separator, 2, true) + QStringLiteral(" м2");
}

std::vector<PaperColumn> paperColumns(const SheetView& view) {
    const QList<Line>& lines = view.sheet.lines;
    const auto filled = [&](Column column) {
        for (qsizetype row = 0; row < lines.size(); ++row)
            if (!cellText(lines[row], view.figures[std::size_t(row)], column, view.separator,
                          view.sheet)
                     .isEmpty())
                return true;
        return false;
    };
    const bool counted =
        std::any_of(lines.begin(), lines.end(), [](const Line& line) { return line.count != 1; });
    const bool coded = filled(Column::Code);
    const struct {
        PaperColumn column;
        bool shown;
    } all[] = {
        {{PaperCell::Element, columnTitle(Column::Element), 4}, true},
        {{PaperCell::Formula, columnTitle(Column::Formula), 5}, filled(Column::Formula)},
        {{PaperCell::Count, columnTitle(Column::Count), 0}, counted},
        {{PaperCell::Quantity, columnTitle(Column::Area), 0}, true},
        // The quantity in the norms' unit only where a line is priced by a norm.
        {{PaperCell::NormQuantity, columnTitle(Column::NormQuantity), 0},
         coded && filled(Column::NormQuantity)},
        {{PaperCell::System, columnTitle(Column::System), 2}, filled(Column::System)},
        {{PaperCell::Price, columnTitle(Column::Price), 0}, filled(Column::Price)},
        {{PaperCell::Work, columnTitle(Column::Work), 0}, filled(Column::Work)},
        {{PaperCell::Code, columnTitle(Column::Code), 1}, coded},
    };
    std::vector<PaperColumn> columns;
    for (const auto& [column, shown] : all)
        if (shown)
            columns.push_back(column);
    return columns;
}

PaperText paperCell(const SheetView& view, int row, PaperCell cell) {
    const Line& line = view.sheet.lines[row];
    const LineFigures& figures = view.figures[std::size_t(row)];
    const auto text = [&](Column column) {
        return cellText(line, figures, column, view.separator, view.sheet);
    };
    switch (cell) {
    case PaperCell::Element: {
        PaperText element{printable(line.element), {}};
        if (const QString measured = text(Column::Measurements); !measured.isEmpty())
            element.details << printable(measured);
        if (!line.adjacentRoom.isEmpty())
            element.details << printable(QStringLiteral("смежное помещение: ") + line.adjacentRoom);
        // A condition the formula names by its factor is said there already.
        QStringList unsaid;
        for (const QString& condition : line.conditions)
            if (!line.formula.contains(condition))
                unsaid << condition;
        if (!unsaid.isEmpty())
            element.details << printable(unsaid.join(QStringLiteral("; ")));
        return element;
    }
    case PaperCell::Formula:
        return {printable(text(Column::Formula)), {}};
    case PaperCell::Count:
        return {text(Column::Count), {}};
    case PaperCell::Quantity:
        return {figures.area ? printable(figures.area->text(view.separator) + u' ' + line.unit)
                             : QStringLiteral("—"),
                {}};
    case PaperCell::NormQuantity:
        return {text(Column::NormQuantity), {}};
    case PaperCell::System: {
        // Under the system, what the line takes of each material, by the material's name.
        PaperText system{printable(text(Column::System)), {}};
        for (const LineFigures::Paint& paint : figures.paint)
            if (const Material* material = materialOf(view.sheet.materials, paint.material))
                system.details << printable(material->name + u' ' +
                                            paint.amount.text(view.separator, 2) + u' ' +
                                            material->unit);
        return system;
    }
    case PaperCell::Price:
        return {text(Column::Price), {}};
    case PaperCell::Work:
        return {text(Column::Work), {}};
    case PaperCell::Code:
        return {printable(text(Column::Code)), {}};
    }
    return {};
}

} // namespace velaro
