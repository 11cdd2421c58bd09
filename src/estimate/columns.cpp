#include "estimate/columns.h"

namespace velaro {

QString columnTitle(Column column) {
    switch (column) {
    case Column::Room:
        return QStringLiteral("Помещение");
    case Column::Element:
        return QStringLiteral("Элемент");
    case Column::Measurements:
        return QStringLiteral("Замеры");
    case Column::Conditions:
        return QStringLiteral("Условия");
    case Column::Formula:
        return QStringLiteral("Формула");
    case Column::Count:
        return QStringLiteral("Кол-во");
    case Column::Area:
        return QStringLiteral("Площадь, м2");
    case Column::Material:
        return QStringLiteral("Материал");
    case Column::Paint:
        return QStringLiteral("Краска");
    }
    return {};
}

RatesByName ratesOf(const QList<Material>& materials) {
    RatesByName rates;
    for (const Material& material : materials)
        if (const auto found = MaterialRates::of(material))
            rates.insert(material.id, *found);
    return rates;
}

const Material* materialOf(const QList<Material>& materials, int id) {
    for (const Material& material : materials)
        if (material.id == id)
            return &material;
    return nullptr;
}

bool isFigureColumn(Column column) {
    return column == Column::Count || column == Column::Area || column == Column::Paint;
}

QString cellText(const Line& line, const LineFigures& figures, Column column, QChar separator,
                 const QList<Material>& materials) {
    switch (column) {
    case Column::Room:
        return line.room;
    case Column::Element:
        return line.element;
    case Column::Measurements: {
        QStringList parts;
        for (const Measurement& m : line.measurements)
            parts << (m.unit.isEmpty() ? QStringLiteral("%1: %2").arg(m.name, m.text)
                                       : QStringLiteral("%1: %2 %3").arg(m.name, m.text, m.unit));
        return parts.join(QStringLiteral("; "));
    }
    case Column::Conditions:
        return line.conditions.join(QStringLiteral("; "));
    case Column::Formula:
        return line.formula;
    case Column::Count:
        return QString::number(line.count);
    case Column::Area:
        return figures.area ? figures.area->text(separator) : QStringLiteral("—");
    case Column::Material: {
        const Material* material = materialOf(materials, line.material);
        return material ? material->name : QString();
    }
    case Column::Paint: {
        const Material* material = materialOf(materials, line.material);
        if (!figures.paint || !material)
            return {};
        return figures.paint->text(separator, 2) + u' ' + material->unit;
    }
    }
    return {};
}

QString areaText(const Decimal& area, QChar separator) {
    return area.text(separator, 0, true) + QStringLiteral(" м2");
}

QString roomTitle(const QString& room) {
    return room.trimmed().isEmpty() ? QStringLiteral("(без помещения)") : room;
}

} // namespace velaro
