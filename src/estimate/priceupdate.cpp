#include "estimate/priceupdate.h"

#include "estimate/columns.h"

#include <QHash>

#include <algorithm>

namespace velaro {
namespace {

const QString kNone = QStringLiteral("—");

QString shown(const QString& price, QChar separator) {
    const std::optional<Decimal> value = Decimal::parse(price);
    return value ? value->text(separator) : kNone;
}

// Prices compared as figures: «2400» is «2400,00»; none is none.
bool samePrice(const QString& a, const QString& b) {
    const std::optional<Decimal> x = Decimal::parse(a), y = Decimal::parse(b);
    return x && y ? *x == *y : x.has_value() == y.has_value();
}

bool sameSize(const QString& a, const QString& b) {
    const std::optional<Decimal> x = Decimal::parse(a), y = Decimal::parse(b);
    return x && y && *x == *y;
}

QString canName(const Material& m, const Can& can, QChar separator) {
    return QStringLiteral("%1, %2 %3").arg(m.name, shown(can.size, separator), m.unit);
}

// What a layer is painted with, for matching layers across lists: its material's name, or its
// work's where it has no material.
QString layerKey(const Layer& layer, const QList<Material>& materials) {
    if (layer.material == 0)
        return QStringLiteral("work:") + nameKey(layer.work);
    const Material* m = materialOf(materials, layer.material);
    return QStringLiteral("material:") + (m ? nameKey(m->name) : QString());
}

QString layerName(const Layer& layer, const QList<Material>& materials) {
    if (layer.material == 0)
        return layer.work;
    const Material* m = materialOf(materials, layer.material);
    return m ? m->name : QString();
}

template <class Entry> int nextId(const QList<Entry>& entries) {
    int next = 1;
    for (const Entry& e : entries)
        next = std::max(next, e.id + 1);
    return next;
}

Material* findMaterial(QList<Material>& materials, const QString& name) {
    const QString key = nameKey(name);
    for (Material& m : materials)
        if (nameKey(m.name) == key)
            return &m;
    return nullptr;
}

PaintSystem* findSystem(QList<PaintSystem>& systems, const QString& name) {
    const QString key = nameKey(name);
    for (PaintSystem& s : systems)
        if (nameKey(s.name) == key)
            return &s;
    return nullptr;
}

// Copies `from`'s systems and the materials their layers name into `to`: each replacing the one
// of its name, keeping that one's id, or joining with the next id. The layers follow the ids.
void copyInto(QList<Material>& toMaterials, QList<PaintSystem>& toSystems,
              const QList<Material>& fromMaterials, const QList<PaintSystem>& fromSystems,
              const QList<Material>& materialsToo) {
    QHash<int, int> ids; // from's material id → to's
    const auto copyMaterial = [&](const Material& m) {
        Material copy = m;
        if (Material* own = findMaterial(toMaterials, m.name)) {
            copy.id = own->id;
            *own = copy;
        } else {
            copy.id = nextId(toMaterials);
            toMaterials << copy;
        }
        ids.insert(m.id, copy.id);
    };
    for (const Material& m : materialsToo)
        copyMaterial(m);
    for (const PaintSystem& s : fromSystems) {
        PaintSystem copy = s;
        for (Layer& layer : copy.layers) {
            if (layer.material == 0)
                continue;
            if (!ids.contains(layer.material))
                if (const Material* m = materialOf(fromMaterials, layer.material))
                    copyMaterial(*m);
            layer.material = ids.value(layer.material);
        }
        if (PaintSystem* own = findSystem(toSystems, s.name)) {
            copy.id = own->id;
            *own = copy;
        } else {
            copy.id = nextId(toSystems);
            toSystems << copy;
        }
    }
}

} // namespace

SheetPriceUpdate sheetPriceUpdate(const Sheet& sheet, const PriceCatalogue& catalogue,
                                  QChar separator) {
    SheetPriceUpdate update{sheet.materials, sheet.systems, {}};
    for (Material& m : update.materials) {
        const Material* theirs = catalogue.material(m.name);
        if (!theirs || theirs->unit != m.unit)
            continue;
        for (Can& can : m.cans) {
            for (const Can& their : theirs->cans) {
                if (!sameSize(can.size, their.size) || samePrice(can.price, their.price))
                    continue;
                update.changes.append({canName(m, can, separator), shown(can.price, separator),
                                       shown(their.price, separator)});
                can.price = their.price;
            }
        }
    }
    for (PaintSystem& s : update.systems) {
        const PaintSystem* theirs = catalogue.system(s.name);
        if (!theirs)
            continue;
        QHash<QString, int> seen; // the n-th layer of a key matches the catalogue's n-th
        for (Layer& layer : s.layers) {
            const QString key = layerKey(layer, sheet.materials);
            int n = seen[key]++;
            for (const Layer& their : theirs->layers) {
                if (layerKey(their, catalogue.materials) != key || n-- > 0)
                    continue;
                if (!samePrice(layer.price, their.price)) {
                    update.changes.append({QStringLiteral("%1: слой «%2»")
                                               .arg(s.name, layerName(layer, sheet.materials)),
                                           shown(layer.price, separator),
                                           shown(their.price, separator)});
                    layer.price = their.price;
                }
                break;
            }
        }
    }
    return update;
}

SheetCopies copiesFromCatalogue(const Sheet& sheet, const PriceCatalogue& catalogue,
                                const QStringList& materialNames, const QStringList& systemNames) {
    SheetCopies copies{sheet.materials, sheet.systems};
    QList<Material> materials;
    for (const QString& name : materialNames)
        if (const Material* m = catalogue.material(name))
            materials << *m;
    QList<PaintSystem> systems;
    for (const QString& name : systemNames)
        if (const PaintSystem* s = catalogue.system(name))
            systems << *s;
    copyInto(copies.materials, copies.systems, catalogue.materials, systems, materials);
    return copies;
}

PriceCatalogue withSheetCopies(const PriceCatalogue& catalogue, const Sheet& sheet) {
    PriceCatalogue result = catalogue;
    copyInto(result.materials, result.systems, sheet.materials, sheet.systems, sheet.materials);
    return result;
}

CatalogueImport importPriceList(const PriceCatalogue& catalogue, const PriceList& list,
                                QChar separator) {
    CatalogueImport result{catalogue, {}, list.problems};
    QHash<QString, int> rowOfCan; // name and size → the list's line that priced it
    for (const PriceListRow& row : list.rows) {
        const QString canKey = nameKey(row.name) + u'\n' + row.size;
        if (rowOfCan.contains(canKey)) {
            result.problems << QStringLiteral("Строка %1: тара %2 %3 уже есть в строке %4")
                                   .arg(row.line)
                                   .arg(shown(row.size, separator), row.unit)
                                   .arg(rowOfCan.value(canKey));
            continue;
        }
        Material* m = findMaterial(result.catalogue.materials, row.name);
        if (m && m->unit != row.unit) {
            result.problems << QStringLiteral("Строка %1: «%2» в каталоге в %3, а здесь в %4")
                                   .arg(row.line)
                                   .arg(m->name, m->unit, row.unit);
            continue;
        }
        if (!m) {
            Material added;
            added.id = nextId(result.catalogue.materials);
            added.name = row.name;
            added.unit = row.unit;
            added.consumption = QStringLiteral("0");
            result.catalogue.materials << added;
            m = &result.catalogue.materials.back();
        }
        const auto can = std::find_if(m->cans.begin(), m->cans.end(),
                                      [&](const Can& c) { return sameSize(c.size, row.size); });
        Can priced{row.size, row.price};
        priced.size.replace(u'.', separator);
        priced.price.replace(u'.', separator);
        const QString what = canName(*m, priced, separator);
        if (can != m->cans.end()) {
            if (!samePrice(can->price, row.price))
                result.changes.append(
                    {what, shown(can->price, separator), shown(row.price, separator)});
            can->price = priced.price;
        } else if (m->cans.size() >= kMostCanSizes) {
            result.problems << QStringLiteral("Строка %1: у «%2» уже %3 размеров тары")
                                   .arg(row.line)
                                   .arg(m->name)
                                   .arg(kMostCanSizes);
            continue;
        } else {
            m->cans << priced;
            result.changes.append({what, kNone, shown(row.price, separator)});
        }
        rowOfCan.insert(canKey, row.line);
    }
    return result;
}

} // namespace velaro
