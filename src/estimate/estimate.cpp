#include "estimate/estimate.h"

#include "estimate/export.h"

#include <algorithm>

namespace velaro {

QList<std::pair<int, int>> runsOf(const QList<int>& rows) {
    QList<std::pair<int, int>> runs;
    for (int row : rows) {
        if (!runs.isEmpty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.append({row, row});
    }
    return runs;
}

Estimate::Estimate(QChar decimalSeparator, QObject* parent)
    : QObject(parent), separator_(decimalSeparator) {}

SheetView Estimate::view() const {
    QStringList rooms = this->rooms();
    if (roomLines_.contains(QString()))
        rooms << QString();
    return SheetView{sheet_, figures_, totals_, rates_, separator_, rooms};
}

QStringList Estimate::rooms() const {
    if (rooms_)
        return *rooms_;
    QStringList rooms;
    QSet<QString> seen;
    for (const Line& line : sheet_.lines)
        if (!seen.contains(line.room)) {
            seen.insert(line.room);
            if (!line.room.isEmpty())
                rooms << line.room;
        }
    rooms_ = rooms;
    return rooms;
}

void Estimate::countRoom(const QString& room, int lines) {
    int& count = roomLines_[room];
    const bool before = count > 0;
    count += lines;
    if (count <= 0)
        roomLines_.remove(room);
    if (before != (count > 0))
        rooms_.reset();
}

QString Estimate::refusalToAdd(qsizetype count) const {
    if (sheet_.lines.size() + count <= kMaxLines)
        return {};
    return QStringLiteral("Ведомость вмещает не больше %1 строк, больше её файл не вмещает: в ней "
                          "%2, ещё %3 не добавить.")
        .arg(kMaxLines)
        .arg(sheet_.lines.size())
        .arg(count);
}

int Estimate::rowOf(const QString& room, LineKind kind) const {
    for (qsizetype row = 0; row < sheet_.lines.size(); ++row)
        if (sheet_.lines[row].kind == kind && sheet_.lines[row].room == room)
            return int(row);
    return -1;
}

LineFigures Estimate::figuresOf(const Line& line) const {
    return LineFigures::of(line, systemOf(sheet_.systems, line.system), rates_);
}

void Estimate::markWalls(const Line& line) {
    const bool opening = openingOf(line.calculator) != Opening::None;
    if (line.kind == LineKind::Walls || opening)
        unsettledWalls_.insert(line.room);
    if (opening && !line.adjacentRoom.isEmpty())
        unsettledWalls_.insert(line.adjacentRoom);
}

void Estimate::settleWalls(bool tell) {
    if (unsettledWalls_.isEmpty())
        return;
    // One pass over the sheet however many rooms changed; only openings and walls are looked at.
    QHash<QString, Openings> openings;
    QList<int> walls;
    // Mostly one room changed: a comparison of names is cheaper than hashing them.
    const std::optional<QString> only =
        unsettledWalls_.size() == 1 ? std::optional(*unsettledWalls_.begin()) : std::nullopt;
    const auto unsettled = [&](const QString& room) {
        return only ? room == *only : unsettledWalls_.contains(room);
    };
    for (qsizetype row = 0; row < sheet_.lines.size(); ++row) {
        const Line& line = sheet_.lines[row];
        if (line.kind == LineKind::Walls) {
            if (unsettled(line.room))
                walls << int(row);
        } else if (line.deduct) {
            // An opening between two rooms comes off the walls of both.
            if (unsettled(line.room))
                openings[line.room].add(line);
            if (!line.adjacentRoom.isEmpty() && line.adjacentRoom != line.room &&
                unsettled(line.adjacentRoom))
                openings[line.adjacentRoom].add(line);
        }
    }
    unsettledWalls_.clear();
    // A room's first walls line takes its openings; a second (a copy, a renamed room) deducts
    // none, so no opening comes off twice.
    QSet<QString> deducted;
    for (int row : walls) {
        Line& line = sheet_.lines[row];
        const Line before = line;
        const bool first = !deducted.contains(line.room);
        deducted.insert(line.room);
        workOutWalls(line, first ? openings.value(line.room) : Openings(), separator_);
        if (line == before)
            continue;
        if (openingsExceedWalls(line) && !openingsExceedWalls(before))
            emit openingsExceedWallsOf(line.room);
        totals_.remove(before, figures_[std::size_t(row)]);
        figures_[std::size_t(row)] = figuresOf(line);
        totals_.add(line, figures_[std::size_t(row)]);
        if (tell)
            emit linesChanged(row, row);
    }
}

void Estimate::insertLines(const QList<int>& rows, const QList<Line>& lines) {
    qsizetype next = 0;
    for (const auto& [first, last] : runsOf(rows)) {
        emit linesAboutToBeInserted(first, last);
        for (int row = first; row <= last; ++row, ++next) {
            const Line& line = lines[next];
            sheet_.lines.insert(row, line);
            figures_.insert(figures_.begin() + row, figuresOf(line));
            totals_.add(line, figures_[std::size_t(row)]);
            countRoom(line.room, +1);
            markWalls(line);
        }
        emit linesInserted(first, last);
    }
    settleWalls();
    emit changed();
}

QList<Line> Estimate::takeLines(const QList<int>& rows) {
    QList<Line> taken;
    taken.reserve(rows.size());
    auto runs = runsOf(rows);
    // From the bottom, so that the rows above keep their numbers.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const auto [first, last] = *run;
        emit linesAboutToBeRemoved(first, last);
        for (int row = last; row >= first; --row) {
            totals_.remove(sheet_.lines[row], figures_[std::size_t(row)]);
            countRoom(sheet_.lines[row].room, -1);
            markWalls(sheet_.lines[row]);
        }
        const QList<Line> block = sheet_.lines.mid(first, last - first + 1);
        taken = block + taken;
        sheet_.lines.remove(first, last - first + 1);
        figures_.erase(figures_.begin() + first, figures_.begin() + last + 1);
        emit linesRemoved(first, last);
    }
    settleWalls();
    emit changed();
    return taken;
}

void Estimate::moveBlock(int first, int last, int delta) {
    // Qt names the destination as the row the block goes before, counted before the move.
    const int destination = delta < 0 ? first - 1 : last + 2;
    emit linesAboutToBeMoved(first, last, destination);
    const auto lines = sheet_.lines.begin();
    const auto figures = figures_.begin();
    if (delta < 0) {
        std::rotate(lines + first - 1, lines + first, lines + last + 1);
        std::rotate(figures + first - 1, figures + first, figures + last + 1);
    } else {
        std::rotate(lines + first, lines + last + 1, lines + last + 2);
        std::rotate(figures + first, figures + last + 1, figures + last + 2);
    }
    emit linesMoved(first, last, destination);
    rooms_.reset(); // which room comes first may have changed
    // Which of a room's walls lines comes first, and takes its openings, may have changed too.
    for (int row = std::max(0, first - 1); row <= std::min(lineCount() - 1, last + 1); ++row)
        if (sheet_.lines[row].kind == LineKind::Walls)
            markWalls(sheet_.lines[row]);
    settleWalls();
    emit changed();
}

void Estimate::replaceLine(int row, const Line& line) {
    Line& old = sheet_.lines[row];
    // The old figures leave the totals under the old room and system, the new ones join them
    // under the new.
    totals_.remove(old, figures_[std::size_t(row)]);
    countRoom(old.room, -1);
    markWalls(old);
    old = line;
    countRoom(line.room, +1);
    markWalls(line);
    figures_[std::size_t(row)] = figuresOf(line);
    totals_.add(line, figures_[std::size_t(row)]);
    emit linesChanged(row, row);
    settleWalls();
    emit changed();
}

void Estimate::setCatalogue(const Catalogue& catalogue) {
    refigure(catalogue);
    if (lineCount() > 0)
        emit linesChanged(0, lineCount() - 1);
    emit changed();
}

void Estimate::refigure(const Catalogue& catalogue) {
    sheet_.materials = catalogue.materials;
    sheet_.systems = catalogue.systems;
    rates_ = ratesOf(catalogue.materials);
    totals_.clear();
    figures_.clear();

    figures_.reserve(std::size_t(sheet_.lines.size()));
    for (qsizetype i = 0; i < sheet_.lines.size(); ++i) {
        Line& line = sheet_.lines[i];
        if (i < catalogue.lineSystems.size())
            line.system = catalogue.lineSystems[i];
        figures_.push_back(figuresOf(line));
        totals_.add(line, figures_.back());
    }
}

void Estimate::reset(Sheet sheet) {
    emit aboutToBeReset();
    Catalogue catalogue{sheet.materials, sheet.systems, {}};
    for (const Line& line : sheet.lines)
        catalogue.lineSystems << line.system;
    sheet_ = std::move(sheet);
    roomLines_.clear();
    rooms_.reset();
    for (const Line& line : sheet_.lines) {
        countRoom(line.room, +1);
        markWalls(line); // a file's walls are worked out again, not taken on trust
    }
    refigure(catalogue);
    settleWalls(false);
    emit wasReset();
    emit changed();
}

Decimal grandTotal(const Sheet& sheet, QChar separator) {
    Estimate estimate(separator);
    estimate.reset(sheet);
    return moneyOf(estimate.view()).total;
}

} // namespace velaro
