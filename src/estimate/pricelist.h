#pragma once
// A supplier's price list, as a spreadsheet or its CSV gives it: a row per can size of a
// material, with its name, the size («14», «14 кг», «2,7 л») and the price («2 400,50», «2400.5
// руб.»). Headings are recognised in the first row and say which column holds what; without
// them the columns are name, size, price. Rows that cannot be read are named with the reason.

#include "estimate/delimitedtext.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velaro {

struct PriceListRow {
    int line = 0; // in the file, from 1
    QString name;
    QString unit;  // кг or л
    QString size;  // a figure, with the point as its separator
    QString price; // likewise
};

struct PriceList {
    QList<PriceListRow> rows;
    QStringList problems; // «Строка 7: нет цены»
};

// CSV of either field separator in use here (';', ',' or tab, told from the first row) and
// RFC 4180 quotes; UTF-8 with or without a byte-order mark, or Windows-1251 as older Russian
// spreadsheets write it.
Records csvRecords(const QByteArray& bytes);

PriceList priceListOf(const Records& records);

// A figure as price lists write it: blanks or dots grouping thousands, either decimal separator,
// a unit or currency after it. Written with a point; empty where it is not a figure.
QString priceListFigure(const QString& text);

} // namespace velaro
