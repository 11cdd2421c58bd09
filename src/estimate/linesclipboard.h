#pragma once
// Lines traded with the spreadsheet beside the program. A copy is tab-separated text with a
// heading row and an HTML table, which spreadsheets take as rows under their headings, and the
// lines whole (kind, calculator, measurements, formula, system) under a type of our own, so that
// pasted into this or another sheet they come back as they were. Rows a spreadsheet gives back
// become lines typed by hand.

#include "estimate/columns.h"

#include <QList>
#include <QString>
#include <QStringList>

class QMimeData;

namespace velaro {

class Estimate;

inline const QString kLinesMimeType = QStringLiteral("application/x-velaro-estimate-lines");

// The lines at `rows` (ascending) in `columns`, in that order, with their numbers in front.
QMimeData* copiedLines(const Estimate& estimate, const QList<int>& rows,
                       const QList<Column>& columns);

struct PastedLines {
    QList<Line> lines;
    // Lines of this program bring the systems they name and those systems' materials, with the
    // ids of the sheet they were copied from.
    QList<PaintSystem> systems;
    QList<Material> materials;
    // «Строка 3, «Количество»: …», one for each cell that cannot be read. Nothing is pasted
    // while there is any: the estimator mends the rows in the spreadsheet and copies them again.
    QStringList problems;
};

// The lines the data carries: this program's own where it holds them, else its text read as
// rows of a spreadsheet, typed lines in `room` unless a row names its own.
PastedLines pastedLines(const QMimeData& data, QChar separator, const QString& room);
// Rows of tab-separated text. Columns are taken by a heading row where there is one
// («Помещение», «Наименование» or «Элемент», «Ед. изм.», «Количество» or «Формула», «Цена
// работ»), otherwise by position: name, unit, quantity (name and quantity where there are two).
PastedLines linesFromRows(const QString& text, QChar separator, const QString& room);

} // namespace velaro
