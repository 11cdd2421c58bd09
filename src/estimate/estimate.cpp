#include "estimate/estimate.h"

#include "estimate/export.h"

#include <algorithm>
#include <iterator>

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

namespace {

// Blocks × lines past which taking or putting back the blocks one by one, each moving the lines
// below it, would keep the window waiting (about a tenth of a second): the lines are moved in
// one pass instead and the views told the sheet anew.
constexpr qint64 kBlockByBlockMoves = 4'000'000;

bool tooManyBlocks(qsizetype blocks, qsizetype lines) {
    return blocks > 1 && qint64(blocks) * qint64(lines) > kBlockByBlockMoves;
}

} // namespace

Estimate::Estimate(QChar decimalSeparator, QObject* parent)
    : QObject(parent), separator_(decimalSeparator) {}

SheetView Estimate::view() const {
    QStringList rooms = this->rooms();
    if (totals_.rooms().contains(QString()))
        rooms << QString();
    return SheetView{sheet_, figures_, totals_, rates_, separator_, rooms};
}

QStringList Estimate::rooms() const {
    if (rooms_)
        return *rooms_;
    std::vector<std::pair<int, QString>> firsts;
    firsts.reserve(std::size_t(firstRows_.size()));
    for (auto room = firstRows_.cbegin(); room != firstRows_.cend(); ++room)
        if (!room.key().isEmpty())
            firsts.emplace_back(room.value(), room.key());
    std::sort(firsts.begin(), firsts.end());
    QStringList rooms;
    rooms.reserve(qsizetype(firsts.size()));
    for (const auto& [row, room] : firsts)
        rooms << room;
    rooms_ = rooms;
    return rooms;
}

void Estimate::lineOfRoomAt(const QString& room, int row) {
    const auto found = firstRows_.find(room);
    if (found == firstRows_.end())
        firstRows_.insert(room, row);
    else if (*found > row)
        *found = row;
    else
        return;
    rooms_.reset();
}

void Estimate::shiftFirstRows(int from, int by) {
    for (int& row : firstRows_)
        if (row >= from)
            row += by;
}

void Estimate::findFirstRow(const QString& room, int from) {
    rooms_.reset();
    // The totals know whether any is left without a look through the sheet.
    for (qsizetype row = totals_.rooms().contains(room) ? from : sheet_.lines.size();
         row < sheet_.lines.size(); ++row)
        if (sheet_.lines[row].room == room) {
            firstRows_[room] = int(row);
            return;
        }
    firstRows_.remove(room);
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
    if (kind == LineKind::Walls) {
        for (int row : wallsRows_)
            if (sheet_.lines[row].room == room)
                return row;
        return -1;
    }
    for (qsizetype row = 0; row < sheet_.lines.size(); ++row)
        if (sheet_.lines[row].kind == kind && sheet_.lines[row].room == room)
            return int(row);
    return -1;
}

LineFigures Estimate::figuresOf(const Line& line) const {
    return LineFigures::of(line, systemOf(sheet_.systems, line.system), rates_);
}

void Estimate::follow(const Line& line, int sign) {
    if (line.kind == LineKind::Walls) {
        unsettledWalls_.insert(line.room);
        return;
    }
    // Only a ticked line can come off the walls: the others cost no look-up of their calculator.
    if (!line.deduct || line.kind != LineKind::Computed)
        return;
    const auto deduction = line.deduction();
    if (!deduction)
        return;
    const auto deductFrom = [&](const QString& room) {
        Openings& openings = openings_[room];
        openings.add(*deduction, sign);
        if (openings.isZero())
            openings_.remove(room);
        unsettledWalls_.insert(room);
    };
    deductFrom(line.room);
    // An opening between two rooms comes off the walls of both.
    if (!line.adjacentRoom.isEmpty() && line.adjacentRoom != line.room)
        deductFrom(line.adjacentRoom);
}

void Estimate::indexWalls(int first, int last) {
    std::vector<int> found;
    for (int row = first; row <= last; ++row)
        if (sheet_.lines[row].kind == LineKind::Walls)
            found.push_back(row);
    if (!found.empty())
        wallsRows_.insert(std::lower_bound(wallsRows_.begin(), wallsRows_.end(), first),
                          found.begin(), found.end());
}

void Estimate::unindexWalls(int first, int last) {
    const auto from = std::lower_bound(wallsRows_.begin(), wallsRows_.end(), first);
    wallsRows_.erase(from, std::upper_bound(from, wallsRows_.end(), last));
}

void Estimate::shiftWallsRows(int from, int by) {
    for (auto row = std::lower_bound(wallsRows_.begin(), wallsRows_.end(), from);
         row != wallsRows_.end(); ++row)
        *row += by;
}

void Estimate::settleWalls(bool tell) {
    if (unsettledWalls_.isEmpty())
        return;
    // A room's first walls line takes its openings; a second (a copy, a renamed room) deducts
    // none, so no opening comes off twice.
    QSet<QString> deducted;
    for (int row : wallsRows_) {
        Line& line = sheet_.lines[row];
        if (!unsettledWalls_.contains(line.room))
            continue;
        const Line before = line;
        const bool first = !deducted.contains(line.room);
        deducted.insert(line.room);
        workOutWalls(line, first ? openings_.value(line.room) : Openings(), separator_);
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
    unsettledWalls_.clear();
}

void Estimate::insertLines(const QList<int>& rows, LinesOut lines) {
    const bool figured =
        lines.catalogue == catalogue_ && lines.figures.size() == std::size_t(lines.lines.size());
    const auto runs = runsOf(rows);
    if (tooManyBlocks(runs.size(), lineCount() + rows.size())) {
        insertAtOnce(rows, std::move(lines), figured);
        return;
    }
    qsizetype next = 0;
    for (const auto& [first, last] : runs) {
        const int count = last - first + 1;
        emit linesAboutToBeInserted(first, last);
        // A block goes in at once: one line at a time would move the lines below it each time.
        sheet_.lines.insert(first, count, Line());
        std::vector<LineFigures> figures;
        figures.reserve(std::size_t(count));
        for (int row = first; row <= last; ++row, ++next) {
            Line& line = sheet_.lines[row];
            line = std::move(lines.lines[next]);
            figures.push_back(figured ? std::move(lines.figures[std::size_t(next)])
                                      : figuresOf(line));
            totals_.add(line, figures.back());
            follow(line, +1);
        }
        figures_.insert(figures_.begin() + first, std::make_move_iterator(figures.begin()),
                        std::make_move_iterator(figures.end()));
        shiftWallsRows(first, count);
        indexWalls(first, last);
        shiftFirstRows(first, count);
        for (int row = first; row <= last; ++row)
            lineOfRoomAt(sheet_.lines[row].room, row);
        emit linesInserted(first, last);
    }
    settleWalls();
    emit changed();
}

Estimate::LinesOut Estimate::takeLines(const QList<int>& rows) {
    const auto runs = runsOf(rows);
    if (tooManyBlocks(runs.size(), lineCount()))
        return takeAtOnce(rows);
    // One block that is most of the sheet: what stays is summed afresh, less work than taking
    // each line that goes off the sums.
    const bool afresh = runs.size() == 1 && rows.size() > lineCount() - rows.size();
    LinesOut taken{{}, {}, catalogue_};
    taken.lines.reserve(rows.size());
    taken.figures.reserve(std::size_t(rows.size()));
    int gone = 0;
    // From the top, each run's rows counted as they are once the runs above it have gone.
    for (auto [first, last] : runs) {
        first -= gone;
        last -= gone;
        const int count = last - first + 1;
        emit linesAboutToBeRemoved(first, last);
        QSet<QString> firstLinesGone; // rooms whose first line goes
        for (int row = first; row <= last; ++row) {
            Line& line = sheet_.lines[row];
            if (!afresh) {
                totals_.remove(line, figures_[std::size_t(row)]);
                follow(line, -1);
                if (firstRows_.value(line.room) == row)
                    firstLinesGone.insert(line.room);
            }
            taken.lines.append(std::move(line));
        }
        std::move(figures_.begin() + first, figures_.begin() + last + 1,
                  std::back_inserter(taken.figures));
        sheet_.lines.remove(first, count);
        figures_.erase(figures_.begin() + first, figures_.begin() + last + 1);
        if (afresh) {
            recount();
        } else {
            unindexWalls(first, last);
            shiftWallsRows(last + 1, -count);
            shiftFirstRows(last + 1, -count);
            for (const QString& room : firstLinesGone)
                findFirstRow(room, first);
        }
        gone += count;
        emit linesRemoved(first, last);
    }
    settleWalls();
    emit changed();
    return taken;
}

void Estimate::insertAtOnce(const QList<int>& rows, LinesOut lines, bool figured) {
    emit aboutToBeReset();
    QList<Line> merged;
    merged.reserve(sheet_.lines.size() + rows.size());
    std::vector<LineFigures> figures;
    figures.reserve(std::size_t(merged.capacity()));
    qsizetype old = 0;
    const auto keep = [&](qsizetype until) {
        for (; old < until; ++old) {
            merged.append(std::move(sheet_.lines[old]));
            figures.push_back(std::move(figures_[std::size_t(old)]));
        }
    };
    for (qsizetype next = 0; next < rows.size(); ++next) {
        keep(old + rows[next] - merged.size());
        merged.append(std::move(lines.lines[next]));
        figures.push_back(figured ? std::move(lines.figures[std::size_t(next)])
                                  : figuresOf(merged.back()));
    }
    keep(sheet_.lines.size());
    sheet_.lines = std::move(merged);
    figures_ = std::move(figures);
    recount();
    settleWalls(false);
    emit wasReset();
    emit changed();
}

Estimate::LinesOut Estimate::takeAtOnce(const QList<int>& rows) {
    emit aboutToBeReset();
    LinesOut taken{{}, {}, catalogue_};
    taken.lines.reserve(rows.size());
    taken.figures.reserve(std::size_t(rows.size()));
    qsizetype kept = 0;
    qsizetype next = 0;
    for (qsizetype row = 0; row < sheet_.lines.size(); ++row) {
        Line& line = sheet_.lines[row];
        LineFigures& figures = figures_[std::size_t(row)];
        if (next < rows.size() && rows[next] == row) {
            ++next;
            taken.lines.append(std::move(line));
            taken.figures.push_back(std::move(figures));
        } else {
            if (kept != row) {
                sheet_.lines[kept] = std::move(line);
                figures_[std::size_t(kept)] = std::move(figures);
            }
            ++kept;
        }
    }
    sheet_.lines.resize(kept);
    figures_.resize(std::size_t(kept));
    recount();
    settleWalls(false);
    emit wasReset();
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
    const int top = std::max(0, first - 1);
    const int bottom = std::min(lineCount() - 1, last + 1);
    // Which room comes first may have changed: a room whose first line was among the rows moved
    // has it at the first of them that is its.
    QSet<QString> seen;
    for (int row = top; row <= bottom; ++row) {
        const QString& room = sheet_.lines[row].room;
        if (seen.contains(room))
            continue;
        seen.insert(room);
        if (int& firstRow = firstRows_[room]; firstRow >= top)
            firstRow = row;
    }
    rooms_.reset();
    emit linesMoved(first, last, destination);
    // Which of a room's walls lines comes first, and takes its openings, may have changed too.
    unindexWalls(top, bottom);
    indexWalls(top, bottom);
    for (int row = top; row <= bottom; ++row)
        if (sheet_.lines[row].kind == LineKind::Walls)
            unsettledWalls_.insert(sheet_.lines[row].room);
    settleWalls();
    emit changed();
}

void Estimate::replaceLine(int row, const Line& line) {
    Line& old = sheet_.lines[row];
    // The old figures leave the totals under the old room and system, the new ones join them
    // under the new.
    totals_.remove(old, figures_[std::size_t(row)]);
    follow(old, -1);
    const QString room = old.room;
    old = line;
    follow(line, +1);
    unindexWalls(row, row);
    indexWalls(row, row);
    if (line.room != room) {
        if (firstRows_.value(room) == row)
            findFirstRow(room, row);
        lineOfRoomAt(line.room, row);
    }
    figures_[std::size_t(row)] = figuresOf(line);
    totals_.add(line, figures_[std::size_t(row)]);
    emit linesChanged(row, row);
    settleWalls();
    emit changed();
}

void Estimate::setCatalogue(const Catalogue& catalogue) {
    refigure(catalogue);
    recount();
    settleWalls();
    if (lineCount() > 0)
        emit linesChanged(0, lineCount() - 1);
    emit changed();
}

void Estimate::refigure(const Catalogue& catalogue) {
    ++catalogue_;
    sheet_.materials = catalogue.materials;
    sheet_.systems = catalogue.systems;
    rates_ = ratesOf(catalogue.materials);
    figures_.clear();
    figures_.reserve(std::size_t(sheet_.lines.size()));
    for (qsizetype i = 0; i < sheet_.lines.size(); ++i) {
        Line& line = sheet_.lines[i];
        if (i < catalogue.lineSystems.size())
            line.system = catalogue.lineSystems[i];
        figures_.push_back(figuresOf(line));
    }
}

void Estimate::recount() {
    totals_.clear();
    openings_.clear();
    wallsRows_.clear();
    firstRows_.clear();
    unsettledWalls_.clear();
    rooms_.reset();
    for (qsizetype row = 0; row < sheet_.lines.size(); ++row) {
        const Line& line = sheet_.lines[row];
        totals_.add(line, figures_[std::size_t(row)]);
        follow(line, +1);
        if (!firstRows_.contains(line.room))
            firstRows_.insert(line.room, int(row));
    }
    indexWalls(0, lineCount() - 1);
}

void Estimate::reset(Sheet sheet) {
    emit aboutToBeReset();
    Catalogue catalogue{sheet.materials, sheet.systems, {}};
    for (const Line& line : sheet.lines)
        catalogue.lineSystems << line.system;
    sheet_ = std::move(sheet);
    refigure(catalogue);
    recount(); // a file's walls are worked out again, not taken on trust
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
