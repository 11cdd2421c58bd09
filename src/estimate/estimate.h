#pragma once
// The estimate: a sheet's lines, materials, systems and settings, with what follows from them
// kept up to date line by line (each line's figures, the totals, each room's walls net of its
// openings, the order of the rooms), and the invariants no way in may break: at most kMaxLines
// lines, walls never below zero, one walls line per room taking its openings. It changes only
// through the primitives below, which SheetEditor's undo commands call, and says what changed
// through fine-grained signals that views adapt (SheetModel, RoomGroupsModel).

#include "estimate/columns.h"
#include "estimate/rooms.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <optional>
#include <vector>

namespace velaro {

struct SheetView;

// The materials and paint systems, and the system of each line under them.
struct Catalogue {
    QList<Material> materials;
    QList<PaintSystem> systems;
    QList<int> lineSystems;
};

class Estimate : public QObject {
    Q_OBJECT
  public:
    explicit Estimate(QChar decimalSeparator, QObject* parent = nullptr);

    const Sheet& sheet() const { return sheet_; }
    int lineCount() const { return int(sheet_.lines.size()); }
    const Totals& totals() const { return totals_; }
    const std::vector<LineFigures>& figures() const { return figures_; }
    const RatesById& rates() const { return rates_; }
    QChar separator() const { return separator_; }
    // What the documents read.
    SheetView view() const;
    // The rooms of the lines, in the order they first appear.
    QStringList rooms() const;
    // The room's first line of that kind, or -1.
    int rowOf(const QString& room, LineKind kind) const;
    // Why `count` more lines would not fit, or empty where they do.
    QString refusalToAdd(qsizetype count) const;

    // Lines out of the sheet, as an undo step holds them: with the figures they had in it, which
    // they take back in unless the materials or systems changed meanwhile.
    struct LinesOut {
        QList<Line> lines;
        std::vector<LineFigures> figures;
        quint64 catalogue = 0; // what the figures were worked out under
    };

    // The primitives. Rows ascending, without repeats: where lines go (their rows once
    // inserted), or which lines to take. The lines are moved in and out, not copied: an undo
    // step holds them only while they are out of the sheet.
    void insertLines(const QList<int>& rows, LinesOut lines);
    LinesOut takeLines(const QList<int>& rows);
    // The block of rows first…last one row up (-1) or down (+1).
    void moveBlock(int first, int last, int delta);
    void replaceLine(int row, const Line& line);
    void setCatalogue(const Catalogue& catalogue);
    template <class Value> void setSheetValue(Value Sheet::*member, const Value& value) {
        sheet_.*member = value;
        emit changed();
    }
    // Replaces the whole sheet (opening, a new sheet); a file's walls are worked out again.
    void reset(Sheet sheet);

  signals:
    // As a table model tells its views, so that a view's selection follows: each block before
    // and after it changes. A move names the row the block goes before, counted before it.
    // Many blocks of a long sheet at once are told as a reset.
    void linesAboutToBeInserted(int first, int last);
    void linesInserted(int first, int last);
    void linesAboutToBeRemoved(int first, int last);
    void linesRemoved(int first, int last);
    void linesAboutToBeMoved(int first, int last, int destination);
    void linesMoved(int first, int last, int destination);
    // The texts or figures of these lines changed.
    void linesChanged(int first, int last);
    void aboutToBeReset();
    void wasReset();
    // Anything changed: the totals, the documents and the recovery file follow.
    void changed();
    // A room's deducted openings came to more than its walls, which are left at zero.
    void openingsExceedWallsOf(const QString& room);

  private:
    LineFigures figuresOf(const Line& line) const;
    // Many blocks of a long sheet, moved in one pass; the views are told the sheet anew.
    void insertAtOnce(const QList<int>& rows, LinesOut lines, bool figured);
    LinesOut takeAtOnce(const QList<int>& rows);
    // The figures of every line under this catalogue, without telling anyone.
    void refigure(const Catalogue& catalogue);
    // What follows from the lines and their figures, worked out afresh: the totals, the rooms'
    // openings and walls lines; every room's walls are marked to be worked out again.
    void recount();
    // A line coming in (+1) or going (-1): the openings deducted from its rooms' walls, and
    // which rooms' walls are to be worked out again.
    void follow(const Line& line, int sign);
    // Works out again the walls of the rooms marked, from the openings kept by room; only the
    // walls lines are looked at, never the whole sheet. tell: of each walls line changed.
    void settleWalls(bool tell = true);
    // The rows of the walls lines, kept as lines come, go and move.
    void indexWalls(int first, int last);   // learns those of rows first…last
    void unindexWalls(int first, int last); // forgets those of rows first…last
    void shiftWallsRows(int from, int by);  // the rows from `from` on moved by `by`
    // The row of each room's first line, for the rooms' order, kept as lines come, go and move.
    void lineOfRoomAt(const QString& room, int row); // a line of the room is at the row
    void shiftFirstRows(int from, int by);           // the rows from `from` on moved by `by`
    // The room's first line was taken: it is now the first of the room's from `from` on, if any.
    void findFirstRow(const QString& room, int from);

    QChar separator_;
    Sheet sheet_;
    std::vector<LineFigures> figures_;
    Totals totals_;
    RatesById rates_;
    QHash<QString, Openings> openings_; // deducted from each room's walls, kept line by line
    std::vector<int> wallsRows_;        // ascending
    QHash<QString, int> firstRows_;     // of every room's first line, "" as well
    QSet<QString> unsettledWalls_;
    quint64 catalogue_ = 1; // counts each new catalogue the figures are worked out under
    mutable std::optional<QStringList> rooms_;
};

// The money a sheet comes to, to the kopeck, as its totals would show it: for a sheet not shown,
// such as the sheet as a change would leave it.
Decimal grandTotal(const Sheet& sheet, QChar separator);

// Runs of consecutive rows in ascending rows: {first, last} pairs.
QList<std::pair<int, int>> runsOf(const QList<int>& rows);

} // namespace velaro
