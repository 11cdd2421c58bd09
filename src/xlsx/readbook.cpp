// Reading the first sheet of a workbook as rows of cell texts: the supplier's price list. An
// xlsx file is a zip of XML parts; minizip (already loaded with libxlsxwriter) opens it and Qt's
// stream reader reads the parts, so reading adds no library to the module.

#include "estimate/pricelist.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QXmlStreamReader>

#include <minizip/unzip.h>

#include <memory>

namespace {

// Past this a part is not a price list's.
constexpr qint64 kLargestPart = qint64(64) << 20;

struct Zip {
    unzFile file = nullptr;
    ~Zip() {
        if (file)
            unzClose(file);
    }
    // The part's bytes; empty where it is not there or cannot be read.
    QByteArray part(const QByteArray& name, bool* found = nullptr) {
        if (found)
            *found = false;
        if (unzLocateFile(file, name.constData(), 1) != UNZ_OK)
            return {};
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(file, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            info.uncompressed_size > quint64(kLargestPart) || unzOpenCurrentFile(file) != UNZ_OK)
            return {};
        QByteArray bytes(qsizetype(info.uncompressed_size), Qt::Uninitialized);
        const int read = unzReadCurrentFile(file, bytes.data(), unsigned(bytes.size()));
        unzCloseCurrentFile(file);
        if (read != bytes.size())
            return {};
        if (found)
            *found = true;
        return bytes;
    }
};

QStringList sharedStrings(const QByteArray& xml) {
    QStringList strings;
    QXmlStreamReader r(xml);
    QString current;
    bool inItem = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"si") {
            inItem = true;
            current.clear();
        } else if (r.isStartElement() && r.name() == u"t" && inItem) {
            current += r.readElementText();
        } else if (r.isStartElement() && r.name() == u"rPh") {
            r.skipCurrentElement(); // phonetic hints are not the text
        } else if (r.isEndElement() && r.name() == u"si") {
            strings << current;
            inItem = false;
        }
    }
    return strings;
}

// The first sheet's part, as the workbook and its relations name it.
QByteArray firstSheetPart(Zip& zip) {
    QXmlStreamReader book(zip.part("xl/workbook.xml"));
    QString id;
    while (!book.atEnd() && id.isEmpty())
        if (book.readNext() == QXmlStreamReader::StartElement && book.name() == u"sheet")
            for (const QXmlStreamAttribute& a : book.attributes())
                if (a.name() == u"id")
                    id = a.value().toString();
    QXmlStreamReader rels(zip.part("xl/_rels/workbook.xml.rels"));
    while (!rels.atEnd())
        if (rels.readNext() == QXmlStreamReader::StartElement && rels.name() == u"Relationship" &&
            rels.attributes().value("Id") == id) {
            QString target = rels.attributes().value("Target").toString();
            if (target.startsWith(u'/'))
                return target.mid(1).toUtf8();
            return "xl/" + target.toUtf8();
        }
    return "xl/worksheets/sheet1.xml";
}

int columnOf(QStringView reference) {
    int column = 0;
    for (const QChar c : reference) {
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c.unicode() - u'A' + 1);
    }
    return column - 1;
}

QString readRows(const QString& path, velaro::Records& records) {
    Zip zip;
    zip.file = unzOpen64(QFile::encodeName(path).constData());
    if (!zip.file)
        return QStringLiteral("это не книга Excel (xlsx)");
    const QStringList strings = sharedStrings(zip.part("xl/sharedStrings.xml"));
    bool found = false;
    const QByteArray sheet = zip.part(firstSheetPart(zip), &found);
    if (!found)
        return QStringLiteral("в книге нет листа");
    QXmlStreamReader r(sheet);
    QMap<int, QString> row;
    int rowNumber = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"row") {
            row.clear();
            const QStringView number = r.attributes().value("r");
            rowNumber = number.isEmpty() ? rowNumber + 1 : number.toInt();
        } else if (r.isStartElement() && r.name() == u"c") {
            const QString type = r.attributes().value("t").toString();
            const int column = columnOf(r.attributes().value("r"));
            QString text;
            while (!(r.isEndElement() && r.name() == u"c") && !r.atEnd()) {
                r.readNext();
                if (r.isStartElement() && (r.name() == u"v" || r.name() == u"t"))
                    text += r.readElementText();
            }
            if (type == u"s") {
                text = strings.value(text.toInt());
            } else if (type.isEmpty() || type == u"n") {
                // Written by the binary value: 2.7 may be stored as 2.7000000000000002.
                bool number = false;
                const double value = text.toDouble(&number);
                if (number)
                    text = QString::number(value, 'g', 15);
            }
            if (column >= 0 && column < 1000)
                row.insert(column, text);
        } else if (r.isEndElement() && r.name() == u"row") {
            QStringList cells;
            for (auto it = row.cbegin(); it != row.cend(); ++it) {
                while (cells.size() < it.key())
                    cells << QString();
                cells << it.value();
            }
            records.rows << cells;
            records.lines << rowNumber;
        }
    }
    if (r.hasError())
        return QStringLiteral("лист книги повреждён: %1").arg(r.errorString());
    return {};
}

} // namespace

extern "C" Q_DECL_EXPORT void velaro_read_xlsx(const QString* path, velaro::Records* records,
                                               QString* error) {
    *error = readRows(*path, *records);
}
