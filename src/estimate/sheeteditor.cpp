#include "estimate/sheeteditor.h"

#include "estimate/expression.h"
#include "estimate/openingsize.h"
#include "estimate/repeatrooms.h"
#include "estimate/sheetcommands.h"

#include <QSet>
#include <QUndoStack>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace velaro {
namespace {

// The entries with a new one given the next id free in both lists: ids are never reused, so an
// undone removal cannot hand a line another entry.
template <class Entry>
QList<Entry> identifiedAfter(const QList<Entry>& current, QList<Entry> entries) {
    int next = 1;
    for (const auto& list : {std::cref(current), std::cref(entries)})
        for (const Entry& e : list.get())
            next = std::max(next, e.id + 1);
    for (Entry& e : entries)
        if (e.id <= 0)
            e.id = next++;
    return entries;
}

// Rows ascending, without repeats, inside the sheet.
QList<int> sortedRows(QList<int> rows, int rowCount) {
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [rowCount](int row) { return row < 0 || row >= rowCount; }),
               rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// A layer whose material is not there (`gone` gives its name, else nullopt): its work stays as a
// layer of work alone, named after the material where it had no name of its own; a layer that
// was paint and nothing more goes.
void withoutMaterial(QList<Layer>& layers,
                     const std::function<std::optional<QString>(int)>& gone) {
    QList<Layer> kept;
    for (Layer layer : layers) {
        if (const std::optional<QString> name = gone(layer.material)) {
            if (layer.price.trimmed().isEmpty() && layer.code.trimmed().isEmpty())
                continue;
            if (layer.work.trimmed().isEmpty())
                layer.work = *name;
            layer.material = 0;
        }
        kept << layer;
    }
    layers = kept;
}

// The systems with the layers of brought materials (negative ids) mapped to those materials as
// the sheet holds them now (matched by name); a layer whose material is not there loses it.
QList<PaintSystem> resolvedSystems(QList<PaintSystem> systems, const QList<Material>& added,
                                   const QList<Material>& materialsAfter) {
    for (PaintSystem& s : systems) {
        for (Layer& layer : s.layers) {
            if (layer.material >= 0)
                continue;
            const qsizetype index = -1 - qsizetype(layer.material);
            for (const Material& after : materialsAfter)
                if (index < added.size() && after.name == added[index].name)
                    layer.material = after.id;
        }
        withoutMaterial(s.layers, [&](int id) -> std::optional<QString> {
            const qsizetype index = -1 - qsizetype(id);
            if (id >= 0)
                return std::nullopt;
            return index < added.size() ? added[index].name : QString();
        });
    }
    return systems;
}

} // namespace

SheetEditor::SheetEditor(Estimate& estimate, QUndoStack& undo) : estimate_(estimate), undo_(undo) {}

QString SheetEditor::insertLines(int row, const QList<Line>& lines, const QString& text) {
    if (QString refusal = estimate_.refusalToAdd(lines.size()); !refusal.isEmpty())
        return refusal;
    if (!lines.isEmpty())
        undo_.push(new AddLines(estimate_, lines, text, std::clamp(row, 0, estimate_.lineCount())));
    return {};
}

QString SheetEditor::insertLines(int row, QList<Line> lines, const QList<PaintSystem>& systems,
                                 const QList<Material>& materials, const QString& text) {
    if (QString refusal = estimate_.refusalToAdd(lines.size()); !refusal.isEmpty())
        return refusal;
    if (lines.isEmpty())
        return {};
    const auto ownNamed = [this](const QString& name) -> const PaintSystem* {
        for (const PaintSystem& own : estimate_.sheet().systems)
            if (own.name == name)
                return &own;
        return nullptr;
    };
    QSet<int> named;
    for (const Line& line : lines)
        named.insert(line.system);
    // The systems the sheet lacks, their layers naming the sheet's own materials where it has
    // them by name and brought ones (negative ids) where not.
    QList<PaintSystem> joining;
    QList<Material> brought;
    for (const PaintSystem& system : systems) {
        if (!named.contains(system.id) || ownNamed(system.name))
            continue;
        PaintSystem joined = system;
        joined.id = 0;
        for (Layer& layer : joined.layers) {
            if (layer.material == 0) // work alone
                continue;
            const Material* theirs = materialOf(materials, layer.material);
            const auto own = theirs ? std::find_if(estimate_.sheet().materials.begin(),
                                                   estimate_.sheet().materials.end(),
                                                   [&](const Material& m) { return m.name == theirs->name; })
                                    : estimate_.sheet().materials.end();
            if (!theirs) {
                layer.coats = 0; // a material the lines did not bring: the layer goes
            } else if (own != estimate_.sheet().materials.end()) {
                layer.material = own->id;
            } else {
                qsizetype index = 0;
                while (index < brought.size() && brought[index].name != theirs->name)
                    ++index;
                if (index == brought.size()) {
                    brought << *theirs;
                    brought.back().id = 0;
                }
                layer.material = -1 - int(index);
            }
        }
        joined.layers.removeIf([](const Layer& layer) { return layer.coats == 0; });
        joining << joined;
    }
    undo_.beginMacro(text);
    if (!joining.isEmpty())
        editSystems(estimate_.sheet().systems + joining, brought);
    for (Line& line : lines) {
        const PaintSystem* theirs = systemOf(systems, line.system);
        const PaintSystem* own = theirs ? ownNamed(theirs->name) : nullptr;
        line.system = own ? own->id : 0;
    }
    undo_.push(new AddLines(estimate_, lines, text, std::clamp(row, 0, estimate_.lineCount())));
    undo_.endMacro();
    return {};
}

void SheetEditor::reset(Sheet sheet) {
    undo_.clear();
    estimate_.reset(std::move(sheet));
}

QString SheetEditor::addLine(Line line) {
    if (QString refusal = estimate_.refusalToAdd(1); !refusal.isEmpty())
        return refusal;
    line.room = estimate_.sheet().lastRoom;
    const QString text = line.kind == LineKind::Typed ? QStringLiteral("строка вручную")
                                                      : QStringLiteral("запись расчёта");
    undo_.push(new AddLines(estimate_, {std::move(line)}, text));
    return {};
}

QString SheetEditor::setRoomSize(const QString& room, const RoomSize& size) {
    // A line already there keeps what the estimator gave it: count, system, price, norm.
    const auto kept = [&](int row, Line line) {
        if (row >= 0) {
            const Line& old = estimate_.sheet().lines[row];
            line.count = old.count;
            line.system = old.system;
            line.price = old.price;
            line.code = old.code;
        }
        return line;
    };
    const QString text = QStringLiteral("размеры помещения");
    const QChar separator = estimate_.separator();
    const std::pair<LineKind, std::optional<Line>> lines[] = {
        {LineKind::Walls, wallsLine(room, size, separator)},
        {LineKind::Ceiling, ceilingLine(room, size, separator)},
        {LineKind::Reveals, revealsLine(room, size, separator)}};
    // A ceiling or reveals the size no longer gives go; the lines it gives for the first time
    // come in.
    qsizetype added = 0;
    QList<int> gone;
    for (const auto& [kind, line] : lines) {
        const int row = estimate_.rowOf(room, kind);
        added += line && row < 0 ? 1 : 0;
        if (!line && row >= 0)
            gone << row;
    }
    if (QString refusal = estimate_.refusalToAdd(added); !refusal.isEmpty())
        return refusal;
    undo_.beginMacro(text);
    if (!gone.isEmpty()) {
        std::sort(gone.begin(), gone.end());
        undo_.push(new RemoveLines(estimate_, gone));
    }
    for (const auto& [kind, line] : lines) {
        if (!line)
            continue;
        if (const int row = estimate_.rowOf(room, kind); row >= 0) {
            undo_.push(new ReplaceLine(estimate_, row, kept(row, *line), text));
        } else {
            // After the room's last line, where the estimator reads the room.
            int after = -1;
            for (qsizetype r = 0; r < estimate_.sheet().lines.size(); ++r)
                if (estimate_.sheet().lines[r].room == room)
                    after = int(r);
            undo_.push(new AddLines(estimate_, {*line}, text, after < 0 ? -1 : after + 1));
        }
    }
    undo_.endMacro();
    return {};
}

QString SheetEditor::setOpeningSize(int row, const QString& width, const QString& height) {
    if (row < 0 || row >= estimate_.lineCount())
        return QStringLiteral("строки нет");
    const Line& line = estimate_.sheet().lines[row];
    auto sized = openingBySize(line, width, height, estimate_.separator());
    if (const QString* refusal = std::get_if<QString>(&sized))
        return *refusal;
    if (std::get<Line>(sized) != line)
        undo_.push(new ReplaceLine(estimate_, row, std::get<Line>(sized),
                                   QStringLiteral("размеры проёма")));
    return {};
}

void SheetEditor::assignSystem(QList<int> rows, int system) {
    rows = sortedRows(std::move(rows), estimate_.lineCount());
    if (system && !systemOf(estimate_.sheet().systems, system))
        return;
    undo_.beginMacro(QStringLiteral("система окраски"));
    for (int row : rows)
        if (estimate_.sheet().lines[row].system != system)
            undo_.push(new SetCell(estimate_, row, Column::System, estimate_.sheet().lines[row].system, system));
    undo_.endMacro();
}

void SheetEditor::setVatRate(const QString& rate) {
    const QString simplified = rate.simplified();
    if (simplified != estimate_.sheet().vatRate)
        undo_.push(new SetSheetValue(estimate_, &Sheet::vatRate, simplified,
                                     QStringLiteral("ставка НДС")));
}

QString SheetEditor::setOverheadRate(const QString& rate) {
    return setRate(&Sheet::overheadRate, rate, QStringLiteral("ставка НР"));
}

QString SheetEditor::setProfitRate(const QString& rate) {
    return setRate(&Sheet::profitRate, rate, QStringLiteral("ставка СП"));
}

QString SheetEditor::setRate(QString Sheet::*member, const QString& rate, const QString& text) {
    const QString simplified = rate.simplified();
    if (QString problem = percentProblem(simplified); !problem.isEmpty())
        return problem;
    if (simplified != estimate_.sheet().*member)
        undo_.push(new SetSheetValue(estimate_, member, simplified, text));
    return {};
}

QString SheetEditor::duplicateLines(QList<int> rows) {
    rows = sortedRows(std::move(rows), estimate_.lineCount());
    if (QString refusal = estimate_.refusalToAdd(rows.size()); !refusal.isEmpty())
        return refusal;
    QList<Line> copies;
    for (int row : rows)
        copies << estimate_.sheet().lines[row];
    if (!copies.isEmpty())
        undo_.push(new AddLines(estimate_, std::move(copies), QStringLiteral("повтор строк")));
    return {};
}

void SheetEditor::cutLines(QList<int> rows) {
    rows = sortedRows(std::move(rows), estimate_.lineCount());
    if (rows.isEmpty())
        return;
    auto* cut = new RemoveLines(estimate_, std::move(rows));
    cut->setText(QStringLiteral("вырезание строк"));
    undo_.push(cut);
}

QString SheetEditor::repeatRooms(const QStringList& rooms, const QString& pattern,
                                 int firstNumber, int copies) {
    if (rooms.isEmpty() || copies < 1)
        return {};
    if (QString problem = namingProblem(rooms, pattern, firstNumber, copies, estimate_.rooms());
        !problem.isEmpty())
        return QStringLiteral("Помещения не повторены: %1.").arg(problem);
    const QSet<QString> repeated(rooms.begin(), rooms.end());
    QList<Line> originals;
    int after = -1;
    for (qsizetype row = 0; row < estimate_.sheet().lines.size(); ++row)
        if (repeated.contains(estimate_.sheet().lines[row].room)) {
            originals << estimate_.sheet().lines[row];
            after = int(row);
        }
    if (originals.isEmpty())
        return {};
    if (QString refusal = estimate_.refusalToAdd(originals.size() * copies); !refusal.isEmpty())
        return refusal;
    QList<Line> lines;
    for (int copy = 0; copy < copies; ++copy)
        for (Line line : originals) {
            line.room = repeatedRoomName(pattern, line.room, firstNumber + copy);
            // A door between two of the rooms is a door between their copies.
            if (repeated.contains(line.adjacentRoom))
                line.adjacentRoom = repeatedRoomName(pattern, line.adjacentRoom, firstNumber + copy);
            lines << line;
        }
    undo_.push(new AddLines(estimate_, lines, QStringLiteral("повтор помещений"), after + 1));
    return {};
}

void SheetEditor::removeLines(QList<int> rows) {
    rows = sortedRows(std::move(rows), estimate_.lineCount());
    if (!rows.isEmpty())
        undo_.push(new RemoveLines(estimate_, std::move(rows)));
}

bool SheetEditor::moveLines(QList<int> rows, int delta) {
    rows = sortedRows(std::move(rows), estimate_.lineCount());
    if (rows.isEmpty() || (delta != -1 && delta != 1) || (delta < 0 && rows.front() == 0) ||
        (delta > 0 && rows.back() == estimate_.lineCount() - 1))
        return false;
    undo_.push(new MoveLines(estimate_, std::move(rows), delta));
    return true;
}

void SheetEditor::editMaterials(const QList<Material>& materials) {
    if (materials == estimate_.sheet().materials)
        return;
    const QList<Material> identified = identifiedAfter(estimate_.sheet().materials, materials);
    // A removed material leaves the systems it was a layer of; a layer priced or coded keeps
    // its work, so that removing a paint does not silently take the work's cost with it.
    Catalogue catalogue{identified, estimate_.sheet().systems, {}};
    for (PaintSystem& system : catalogue.systems)
        withoutMaterial(system.layers, [&](int id) -> std::optional<QString> {
            if (id == 0 || materialOf(identified, id))
                return std::nullopt;
            const Material* was = materialOf(estimate_.sheet().materials, id);
            return was ? was->name : QString();
        });
    for (const Line& line : estimate_.sheet().lines)
        catalogue.lineSystems << line.system;
    undo_.push(new SetCatalogue(estimate_, catalogue, QStringLiteral("материалы")));
}

void SheetEditor::editSystems(const QList<PaintSystem>& systems, const QList<Material>& brought) {
    if (brought.isEmpty())
        return editSystems(systems);
    // The materials with the systems that brought them: one step to undo.
    undo_.beginMacro(QStringLiteral("системы окраски"));
    editMaterials(estimate_.sheet().materials + brought);
    editSystems(resolvedSystems(systems, brought, estimate_.sheet().materials));
    undo_.endMacro();
}

void SheetEditor::editSystems(const QList<PaintSystem>& systems) {
    if (systems == estimate_.sheet().systems)
        return;
    const QList<PaintSystem> identified = identifiedAfter(estimate_.sheet().systems, systems);
    // A line keeps its system, renamed or not, while it remains, and has none once it is gone.
    Catalogue catalogue{estimate_.sheet().materials, identified, {}};
    for (const Line& line : estimate_.sheet().lines)
        catalogue.lineSystems << (systemOf(identified, line.system) ? line.system : 0);
    undo_.push(new SetCatalogue(estimate_, catalogue, QStringLiteral("системы окраски")));
}

void SheetEditor::takeFromCatalogue(const QList<Material>& materials,
                                    const QList<PaintSystem>& systems, const QString& catalogue,
                                    const QString& text) {
    const Sheet& sheet = estimate_.sheet();
    if (materials == sheet.materials && systems == sheet.systems && catalogue == sheet.catalogue)
        return;
    undo_.beginMacro(text);
    if (materials != sheet.materials || systems != sheet.systems) {
        Catalogue after{materials, systems, {}};
        for (const Line& line : sheet.lines)
            after.lineSystems << (systemOf(systems, line.system) ? line.system : 0);
        undo_.push(new SetCatalogue(estimate_, after, text));
    }
    if (catalogue != sheet.catalogue)
        undo_.push(new SetSheetValue(estimate_, &Sheet::catalogue, catalogue, text));
    undo_.endMacro();
}

void SheetEditor::setRecording(bool on) {
    if (estimate_.sheet().recording != on)
        estimate_.setSheetValue(&Sheet::recording, on);
}

void SheetEditor::setCurrentRoom(const QString& room) {
    const QString simplified = room.simplified();
    if (estimate_.sheet().lastRoom != simplified)
        estimate_.setSheetValue(&Sheet::lastRoom, simplified);
}

void SheetEditor::setProperties(const SheetProperties& properties) {
    if (!(properties == estimate_.sheet().properties))
        undo_.push(new SetSheetValue(estimate_, &Sheet::properties, properties,
                                     QStringLiteral("свойства документа")));
}

std::optional<std::unique_ptr<QUndoCommand>> SheetEditor::cellChange(int row, Column column,
                                                                     const QVariant& value) const {
    if (row < 0 || row >= estimate_.lineCount())
        return std::nullopt;
    const Line& line = estimate_.sheet().lines[row];
    if (editingOf(line, column) == Editing::None)
        return std::nullopt;
    QVariant before;
    QVariant after = value.toString().simplified();
    switch (column) {
    case Column::Room:
        before = line.room;
        break;
    case Column::Element:
        if (after.toString().isEmpty())
            return std::nullopt;
        before = line.element;
        break;
    case Column::Unit:
        if (after.toString().isEmpty())
            return std::nullopt;
        before = line.unit;
        break;
    case Column::Code:
        before = line.code;
        break;
    case Column::AdjacentRoom:
        // The other side of an opening is another room: its own room is no second side.
        if (after.toString() == line.room)
            after = QString();
        before = line.adjacentRoom;
        break;
    case Column::Formula: {
        // A typed line's quantity typed again: worked out, or refused as it stands.
        const Evaluation evaluation = evaluateQuantity(after.toString(), estimate_.separator());
        if (!evaluation.value)
            return std::nullopt;
        Line edited = line;
        edited.formula = after.toString();
        edited.result = evaluation.value->text(estimate_.separator());
        if (edited == line)
            return nullptr;
        return std::make_unique<ReplaceLine>(estimate_, row, edited,
                                             QStringLiteral("изменение: количество"));
    }
    case Column::Price: {
        const auto price = Decimal::parse(after.toString());
        if (!after.toString().isEmpty() && (!price || price->isNegative()))
            return std::nullopt;
        before = line.price;
        if (price)
            after = price->text(estimate_.separator());
        break;
    }
    case Column::Count: {
        bool whole = false;
        const int count = value.toString().trimmed().toInt(&whole);
        if (!whole || count < 1 || count > kMaxCount)
            return std::nullopt;
        before = line.count;
        after = count;
        break;
    }
    case Column::System: {
        // An id, or a system's name; 0 or an empty name for none.
        int id = 0;
        if (value.typeId() == QMetaType::Int) {
            id = value.toInt();
        } else if (const QString name = value.toString(); !name.isEmpty()) {
            const auto found = std::find_if(estimate_.sheet().systems.begin(), estimate_.sheet().systems.end(),
                                            [&](const PaintSystem& s) { return s.name == name; });
            id = found == estimate_.sheet().systems.end() ? -1 : found->id;
        }
        if (id < 0 || (id && !systemOf(estimate_.sheet().systems, id)))
            return std::nullopt;
        before = line.system;
        after = id;
        break;
    }
    case Column::Deduct:
        before = line.deduct;
        after = value.toInt() == Qt::Checked;
        break;
    default:
        return std::nullopt;
    }
    if (before == after)
        return nullptr;
    return std::make_unique<SetCell>(estimate_, row, column, before, after);
}

bool SheetEditor::setCell(int row, Column column, const QVariant& value) {
    auto change = cellChange(row, column, value);
    if (!change)
        return false;
    if (*change)
        undo_.push(change->release());
    return true;
}

bool SheetEditor::setCells(QList<int> rows, Column column, const QVariant& value) {
    std::vector<std::unique_ptr<QUndoCommand>> changes;
    bool any = false;
    for (int row : sortedRows(std::move(rows), estimate_.lineCount())) {
        if (editingOf(estimate_.sheet().lines[row], column) == Editing::None)
            continue;
        auto change = cellChange(row, column, value);
        if (!change)
            return false;
        any = true;
        if (*change)
            changes.push_back(std::move(*change));
    }
    if (changes.size() == 1) {
        undo_.push(changes.front().release());
    } else if (!changes.empty()) {
        undo_.beginMacro(changes.front()->text());
        for (auto& change : changes)
            undo_.push(change.release());
        undo_.endMacro();
    }
    return any;
}

} // namespace velaro
