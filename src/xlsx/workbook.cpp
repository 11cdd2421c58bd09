// The Excel workbook module: loaded when a sheet is exported to Excel, so that the program's
// start-up does not load libxlsxwriter and the compression and crypto libraries it brings.

#include "estimate/xlsxexport.h"

#include "estimate/safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <xlsxwriter.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <new>
#include <unistd.h>
#include <utility>

namespace velaro {
namespace {

const QString kCancelled = QStringLiteral("прервано");
const QString kOutOfMemory = QStringLiteral("не хватило памяти");
constexpr int kLongestText = 32767; // what one cell holds
constexpr int kProgressStep = 512;  // lines between two reports

// Both sheets: the title, the headings, then the rows.
constexpr lxw_row_t kHeadingRow = 1;
constexpr lxw_row_t kFirstRow = 2;

// «Ведомость»; a column per material used follows these.
enum : lxw_col_t {
    cNumber,
    cRoom,
    cElement,
    cMeasurements,
    cConditions,
    cFormula,
    cResult,
    cCount,
    cQuantity,
    cUnit,
    cSystem,
    cPrice,
    cWork,
    cCode,
    cFirstMaterial
};
// «Материалы».
enum : lxw_col_t {
    mName,
    mUnit,
    mConsumption,
    mWaste,
    mPerCoat,
    mCan,
    mPrice,
    mQuantity,
    mCans,
    mCost
};

const char* const kLinesName = "Ведомость";
const char* const kMaterialsName = "Материалы";
// As formulas name them: quoted, as a name that is not plain Latin must be.
const QByteArray kLinesRef = QByteArrayLiteral("'Ведомость'!");
const QByteArray kMaterialsRef = QByteArrayLiteral("'Материалы'!");

QByteArray columnName(lxw_col_t column) {
    QByteArray name;
    for (int n = int(column) + 1; n > 0; n = (n - 1) / 26)
        name.prepend(char('A' + (n - 1) % 26));
    return name;
}

QByteArray at(lxw_col_t column, lxw_row_t row) {
    return columnName(column) + QByteArray::number(row + 1);
}

QByteArray range(lxw_col_t column, lxw_row_t first, lxw_row_t last) {
    return at(column, first) + ':' + at(column, last);
}

// The same range fixed, for formulas that refer to it from elsewhere.
QByteArray fixedRange(lxw_col_t column, lxw_row_t first, lxw_row_t last) {
    const QByteArray name = '$' + columnName(column) + '$';
    return name + QByteArray::number(first + 1) + ':' + name + QByteArray::number(last + 1);
}

double numberOf(const Decimal& value) {
    return value.text(u'.').toDouble();
}

// libxlsxwriter writes only to a named file: a temporary one beside the target (so a folder
// that cannot be written is found before the work), removed whatever happens.
class TemporaryFile {
  public:
    explicit TemporaryFile(const QString& path) {
        const QFileInfo target(path);
        name_ =
            QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName()) +
            ".XXXXXX";
        const int fd = ::mkstemp(name_.data());
        if (fd < 0) {
            error_ = causeOf(errno);
            name_.clear();
            return;
        }
        ::close(fd);
    }
    ~TemporaryFile() {
        if (!name_.isEmpty())
            ::unlink(name_.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const QByteArray& name() const { return name_; }
    const QString& error() const { return error_; }

  private:
    QByteArray name_;
    QString error_;
};

// The workbook, freed unless closed; the first failure of any call is kept, so each call is
// checked without ending the writing at every one.
class Book {
  public:
    explicit Book(const QByteArray& file) {
        lxw_workbook_options options{};
        workbook_ = workbook_new_opt(file.constData(), &options);
        if (!workbook_)
            failed_ = LXW_ERROR_MEMORY_MALLOC_FAILED;
    }
    ~Book() {
        if (workbook_)
            lxw_workbook_free(workbook_);
    }
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    lxw_workbook* get() const { return workbook_; }
    lxw_error failed() const { return failed_; }
    void check(lxw_error error) {
        if (failed_ == LXW_NO_ERROR)
            failed_ = error;
    }
    lxw_worksheet* sheet(const char* name) {
        lxw_worksheet* sheet = workbook_ ? workbook_add_worksheet(workbook_, name) : nullptr;
        if (!sheet)
            check(LXW_ERROR_PARAMETER_VALIDATION);
        return sheet;
    }
    // Closing frees the workbook, written or not.
    lxw_error close() {
        if (failed_ != LXW_NO_ERROR)
            return failed_;
        return workbook_close(std::exchange(workbook_, nullptr));
    }

  private:
    lxw_workbook* workbook_ = nullptr;
    lxw_error failed_ = LXW_NO_ERROR;
};

struct Formats {
    lxw_format *title, *heading, *text, *count, *number, *twoPlaces;
    lxw_format *sumText, *sumNumber, *sumTwoPlaces, *label;

    explicit Formats(Book& book) {
        const auto make = [&](auto&&... setters) {
            lxw_format* format = workbook_add_format(book.get());
            if (!format) {
                book.check(LXW_ERROR_MEMORY_MALLOC_FAILED);
                return format;
            }
            (setters(format), ...);
            return format;
        };
        const auto cell = [](lxw_format* f) {
            format_set_border(f, LXW_BORDER_THIN);
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
        };
        const auto wrap = [](lxw_format* f) { format_set_text_wrap(f); };
        const auto bold = [](lxw_format* f) { format_set_bold(f); };
        const auto shaded = [](lxw_format* f) { format_set_bg_color(f, 0xEEEEEE); };
        // Quantities show the decimals they have (up to six); money and paint, rounded to
        // hundredths, always two.
        const auto quantity = [](lxw_format* f) { format_set_num_format(f, "#,##0.00####"); };
        const auto hundredths = [](lxw_format* f) { format_set_num_format(f, "#,##0.00"); };
        title = make(bold, [](lxw_format* f) { format_set_font_size(f, 14); });
        heading = make(cell, wrap, bold, shaded, [](lxw_format* f) {
            format_set_align(f, LXW_ALIGN_CENTER);
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        });
        text = make(cell, wrap);
        count = make(cell, [](lxw_format* f) { format_set_num_format(f, "0"); });
        number = make(cell, quantity);
        twoPlaces = make(cell, hundredths);
        sumText = make(cell, bold, shaded);
        sumNumber = make(cell, bold, shaded, quantity);
        sumTwoPlaces = make(cell, bold, shaded, hundredths);
        label = make(bold, [](lxw_format* f) { format_set_align(f, LXW_ALIGN_RIGHT); });
    }
};

// Writing to one worksheet.
struct Cells {
    Book& book;
    lxw_worksheet* sheet;

    void text(lxw_row_t row, lxw_col_t column, QString value, lxw_format* format) {
        if (!sheet)
            return;
        if (value.isEmpty()) {
            if (format)
                book.check(worksheet_write_blank(sheet, row, column, format));
            return;
        }
        if (value.size() > kLongestText)
            value.truncate(value.at(kLongestText - 1).isHighSurrogate() ? kLongestText - 1
                                                                        : kLongestText);
        book.check(worksheet_write_string(sheet, row, column, value.toUtf8().constData(), format));
    }
    void number(lxw_row_t row, lxw_col_t column, double value, lxw_format* format) {
        if (sheet)
            book.check(worksheet_write_number(sheet, row, column, value, format));
    }
    // The formula with the program's figure as its result, for readers that do not calculate.
    void formula(lxw_row_t row, lxw_col_t column, const QByteArray& formula, const Decimal& result,
                 lxw_format* format) {
        if (sheet)
            book.check(worksheet_write_formula_num(sheet, row, column, formula.constData(), format,
                                                   numberOf(result)));
    }
    void width(lxw_col_t first, lxw_col_t last, double characters) {
        if (sheet)
            book.check(worksheet_set_column(sheet, first, last, characters, nullptr));
    }
    // Headings frozen and on every page; a page as wide as the sheet, numbered.
    void pageSetUp(bool landscape) {
        if (!sheet)
            return;
        worksheet_freeze_panes(sheet, kFirstRow, 0);
        // Room for headings of two lines («Цена работ, руб.»).
        book.check(worksheet_set_row(sheet, kHeadingRow, 31.5, nullptr));
        book.check(worksheet_repeat_rows(sheet, kHeadingRow, kHeadingRow));
        worksheet_fit_to_pages(sheet, 1, 0);
        worksheet_set_paper(sheet, 9); // A4
        if (landscape)
            worksheet_set_landscape(sheet);
        book.check(worksheet_set_footer(sheet, "&C&P из &N"));
    }
};

// A material that some line takes: its column on the lines sheet, its row on its own.
struct Used {
    const Material* material;
    lxw_col_t column;
    lxw_row_t row;
};

// What a line takes of one material: the rounded amount of each layer, as the program rounds.
struct Taken {
    QByteArray formula;
    Decimal amount;
};

} // namespace

QString writeWorkbook(const SheetView& view, const QString& path,
                      const std::function<bool(int done, int total)>& progress) {
    const Sheet& sheet = view.sheet;
    TemporaryFile temporary(path);
    if (!temporary.error().isEmpty())
        return temporary.error();
    try {
        Book book(temporary.name());
        const Formats formats(book);
        Cells lines{book, book.sheet(kLinesName)};
        Cells materials{book, book.sheet(kMaterialsName)};

        const QString title = sheet.properties.object.trimmed().isEmpty()
                                  ? QStringLiteral("Ведомость окраски")
                                  : sheet.properties.object.trimmed();
        const QByteArray titleBytes = title.toUtf8();
        const QByteArray author = sheet.properties.estimator.toUtf8();
        const QByteArray company = sheet.properties.contractor.toUtf8();
        const QByteArray subject = QStringLiteral("Ведомость окраски").toUtf8();
        lxw_doc_properties properties{};
        properties.title = const_cast<char*>(titleBytes.constData());
        properties.subject = const_cast<char*>(subject.constData());
        properties.author = const_cast<char*>(author.constData());
        properties.company = const_cast<char*>(company.constData());
        if (book.get())
            book.check(workbook_set_properties(book.get(), &properties));

        // The materials some line takes, in the sheet's order.
        std::vector<Used> used;
        QHash<int, std::size_t> usedIndex;
        for (const Material& material : sheet.materials)
            if (view.totals.paint().contains(material.id) && view.rates.contains(material.id)) {
                usedIndex.insert(material.id, used.size());
                used.push_back({&material, lxw_col_t(cFirstMaterial + used.size()),
                                lxw_row_t(kFirstRow + used.size())});
            }

        // Headings.
        lines.text(0, 0, title, formats.title);
        const QStringList headings{kNumberTitle,
                                   columnTitle(Column::Room),
                                   columnTitle(Column::Element),
                                   columnTitle(Column::Measurements),
                                   columnTitle(Column::Conditions),
                                   columnTitle(Column::Formula),
                                   QStringLiteral("Результат"),
                                   columnTitle(Column::Count),
                                   columnTitle(Column::Area),
                                   columnTitle(Column::Unit),
                                   columnTitle(Column::System),
                                   columnTitle(Column::Price),
                                   columnTitle(Column::Work),
                                   columnTitle(Column::Code)};
        for (qsizetype i = 0; i < headings.size(); ++i)
            lines.text(kHeadingRow, lxw_col_t(i), headings[i], formats.heading);
        for (const Used& u : used)
            lines.text(kHeadingRow, u.column,
                       u.material->name + QStringLiteral(", ") + u.material->unit, formats.heading);
        const std::pair<lxw_col_t, double> widths[] = {
            {cNumber, 5},   {cRoom, 16},   {cElement, 24}, {cMeasurements, 30}, {cConditions, 22},
            {cFormula, 36}, {cResult, 11}, {cCount, 7},    {cQuantity, 14},     {cUnit, 7},
            {cSystem, 18},  {cPrice, 11},  {cWork, 16},    {cCode, 12}};
        for (const auto& [column, width] : widths)
            lines.width(column, column, width);
        if (!used.empty())
            lines.width(cFirstMaterial, lxw_col_t(cFirstMaterial + used.size() - 1), 14);

        // The lines by room, each room's sum above its lines.
        QHash<QString, QList<int>> byRoom;
        QStringList rooms = view.rooms;
        for (qsizetype i = 0; i < sheet.lines.size(); ++i) {
            auto& list = byRoom[sheet.lines[i].room];
            if (list.isEmpty() && !rooms.contains(sheet.lines[i].room))
                rooms << sheet.lines[i].room;
            list << int(i);
        }
        // Packing the workbook into its file takes about as long as writing its lines.
        const int total = 2 * int(sheet.lines.size());
        int done = 0;
        if (progress && !progress(0, total))
            return kCancelled;
        // A material's consumption with its waste, on its own sheet: changed there, it changes
        // every line.
        const auto per = [&](const Used& u) {
            return kMaterialsRef + '$' + columnName(mPerCoat) + '$' + QByteArray::number(u.row + 1);
        };
        std::vector<Taken> taken(used.size());
        std::vector<Decimal> roomPaint(used.size());
        lxw_row_t row = kFirstRow;
        for (const QString& room : rooms) {
            const QList<int>& indices = byRoom.value(room);
            if (indices.isEmpty())
                continue;
            const lxw_row_t sumRow = row++;
            const lxw_row_t first = row;
            std::fill(roomPaint.begin(), roomPaint.end(), Decimal());
            for (int i : indices) {
                const Line& line = sheet.lines[i];
                const LineFigures& figures = view.figures[std::size_t(i)];
                lines.number(row, cNumber, i + 1, formats.count);
                for (const auto& [column, what] :
                     {std::pair{cRoom, Column::Room}, std::pair{cElement, Column::Element},
                      std::pair{cMeasurements, Column::Measurements},
                      std::pair{cConditions, Column::Conditions},
                      std::pair{cFormula, Column::Formula}, std::pair{cUnit, Column::Unit},
                      std::pair{cSystem, Column::System}, std::pair{cCode, Column::Code}})
                    lines.text(row, column, cellText(line, figures, what, view.separator, sheet),
                               formats.text);
                if (const auto result = Decimal::parse(line.result))
                    lines.number(row, cResult, numberOf(*result), formats.number);
                else
                    lines.text(row, cResult, line.result, formats.text);
                lines.number(row, cCount, line.count, formats.count);
                if (figures.price)
                    lines.number(row, cPrice, numberOf(*figures.price), formats.twoPlaces);
                else
                    lines.text(row, cPrice, {}, formats.twoPlaces);
                if (figures.area) {
                    lines.formula(row, cQuantity, "=" + at(cResult, row) + '*' + at(cCount, row),
                                  *figures.area, formats.number);
                    // Without a price the work is nothing until one is typed in.
                    if (figures.work || !figures.price)
                        lines.formula(row, cWork,
                                      "=ROUND(" + at(cQuantity, row) + '*' + at(cPrice, row) +
                                          ",2)",
                                      figures.work.value_or(Decimal()), formats.twoPlaces);
                } else {
                    lines.text(row, cQuantity, {}, formats.number);
                }
                if (!figures.area || (figures.price && !figures.work))
                    lines.text(row, cWork, {}, formats.twoPlaces);

                // Each layer rounded apart and added, as LineFigures does. Its paint lists the
                // layers that took any, in the system's order.
                for (Taken& t : taken)
                    t = {};
                if (const PaintSystem* system = systemOf(sheet.systems, line.system)) {
                    std::size_t next = 0;
                    for (const Layer& layer : system->layers) {
                        if (next == figures.paint.size())
                            break;
                        if (figures.paint[next].material != layer.material)
                            continue;
                        Taken& t = taken[usedIndex.value(layer.material)];
                        t.formula += (t.formula.isEmpty() ? "=ROUND(" : "+ROUND(") +
                                     at(cQuantity, row) + '*' +
                                     per(used[usedIndex.value(layer.material)]) +
                                     (layer.coats == 1 ? QByteArray()
                                                       : '*' + QByteArray::number(layer.coats)) +
                                     ",2)";
                        t.amount += figures.paint[next].amount;
                        ++next;
                    }
                }
                for (std::size_t k = 0; k < used.size(); ++k) {
                    if (taken[k].formula.isEmpty()) {
                        lines.text(row, used[k].column, {}, formats.number);
                        continue;
                    }
                    lines.formula(row, used[k].column, taken[k].formula, taken[k].amount,
                                  formats.twoPlaces);
                    roomPaint[k] += taken[k].amount;
                }
                ++row;
                if (progress && ++done % kProgressStep == 0 && !progress(done, total))
                    return kCancelled;
            }
            const lxw_row_t last = row - 1;
            const Totals::Sum sum = view.totals.rooms().value(room);
            for (lxw_col_t column = 0; column < cFirstMaterial + used.size(); ++column)
                lines.text(sumRow, column, {}, formats.sumText);
            lines.text(sumRow, cRoom, roomTitle(room), formats.sumText);
            lines.text(sumRow, cElement, QStringLiteral("Итого по помещению"), formats.sumText);
            lines.formula(sumRow, cQuantity,
                          "=SUMIF(" + range(cUnit, first, last) + ",\"м2\"," +
                              range(cQuantity, first, last) + ')',
                          sum.value, formats.sumNumber);
            lines.formula(sumRow, cWork, "=SUM(" + range(cWork, first, last) + ')', sum.work,
                          formats.sumTwoPlaces);
            for (std::size_t k = 0; k < used.size(); ++k)
                lines.formula(sumRow, used[k].column,
                              "=SUM(" + range(used[k].column, first, last) + ')', roomPaint[k],
                              formats.sumTwoPlaces);
        }

        // The sheet's totals, under a blank row the ranges take in, so a line added there
        // counts. A line is told from a room's sum by its number.
        const lxw_row_t blank = row;
        const lxw_row_t totalRow = blank + 1;
        const auto ofLines = [&](lxw_col_t column) {
            return "=SUMIF(" + fixedRange(cNumber, kFirstRow, blank) + ",\">0\"," +
                   fixedRange(column, kFirstRow, blank) + ')';
        };
        for (lxw_col_t column = 0; column < cFirstMaterial + used.size(); ++column)
            lines.text(totalRow, column, {}, formats.sumText);
        lines.text(totalRow, cRoom, QStringLiteral("Итого по ведомости"), formats.sumText);
        lines.formula(totalRow, cQuantity,
                      "=SUMIF(" + fixedRange(cUnit, kFirstRow, blank) + ",\"м2\"," +
                          fixedRange(cQuantity, kFirstRow, blank) + ')',
                      view.totals.area(), formats.sumNumber);
        lines.text(totalRow, cUnit, QStringLiteral("м2"), formats.sumText);
        lines.formula(totalRow, cWork, ofLines(cWork), view.totals.work(), formats.sumTwoPlaces);
        for (const Used& u : used)
            lines.formula(totalRow, u.column, ofLines(u.column),
                          view.totals.paint().value(u.material->id).value, formats.sumTwoPlaces);

        // What the job costs: labels beside the work column, sums in it.
        const Money money = moneyOf(view);
        // Under a blank row, as on the lines sheet.
        const lxw_row_t materialsBlank = kFirstRow + lxw_row_t(used.size());
        const lxw_row_t materialsTotal = materialsBlank + 1;
        lxw_row_t costRow = totalRow + 2;
        const auto cost = [&](const QString& label, const QByteArray& formula,
                              const Decimal& value) {
            lines.text(costRow, cPrice, label, formats.label);
            lines.formula(costRow, cWork, formula, value, formats.sumTwoPlaces);
            return costRow++;
        };
        const lxw_row_t materialsCost =
            cost(QStringLiteral("Материалы, руб."), "=" + kMaterialsRef + at(mCost, materialsTotal),
                 money.materials);
        const lxw_row_t workCost =
            cost(QStringLiteral("Работы, руб."), "=" + at(cWork, totalRow), money.work);
        const QByteArray both = "=" + at(cWork, materialsCost) + '+' + at(cWork, workCost);
        if (money.vat) {
            const lxw_row_t subtotal =
                cost(QStringLiteral("Итого без НДС, руб."), both, money.subtotal);
            const lxw_row_t vat =
                cost(QStringLiteral("НДС %1%, руб.").arg(money.vatRate->text(view.separator)),
                     "=ROUND(" + at(cWork, subtotal) + '*' + money.vatRate->text(u'.').toLatin1() +
                         "/100,2)",
                     *money.vat);
            cost(QStringLiteral("Всего, руб."), "=" + at(cWork, subtotal) + '+' + at(cWork, vat),
                 money.total);
        } else {
            cost(QStringLiteral("Всего, руб."), both, money.total);
        }
        lines.pageSetUp(true);

        // The materials: their entries as figures, what the lines take, whole cans.
        materials.text(0, 0, QStringLiteral("Материалы"), formats.title);
        const QStringList materialHeadings{QStringLiteral("Материал"),
                                           columnTitle(Column::Unit),
                                           QStringLiteral("Расход на м2 за слой"),
                                           QStringLiteral("Запас, %"),
                                           QStringLiteral("С запасом на м2 за слой"),
                                           QStringLiteral("Тара"),
                                           QStringLiteral("Цена тары, руб."),
                                           QStringLiteral("Количество"),
                                           QStringLiteral("Банок"),
                                           QStringLiteral("Стоимость, руб.")};
        for (qsizetype i = 0; i < materialHeadings.size(); ++i)
            materials.text(kHeadingRow, lxw_col_t(i), materialHeadings[i], formats.heading);
        materials.width(mName, mName, 24);
        materials.width(mUnit, mUnit, 7);
        materials.width(mConsumption, mCost, 14);
        const auto figure = [](const QString& text) { return numberOf(*Decimal::parse(text)); };
        for (const Used& u : used) {
            const Material& material = *u.material;
            const MaterialRates& rates = *view.rates.find(material.id);
            const MaterialTotal sum =
                MaterialTotal::of(view.totals.paint().value(material.id).value, &rates);
            materials.text(u.row, mName, material.name, formats.text);
            materials.text(u.row, mUnit, material.unit, formats.text);
            materials.number(u.row, mConsumption, figure(material.consumption), formats.number);
            materials.number(u.row, mWaste, figure(material.waste), formats.number);
            materials.formula(u.row, mPerCoat,
                              "=" + at(mConsumption, u.row) + "*(1+" + at(mWaste, u.row) + "/100)",
                              rates.perCoat, formats.number);
            materials.number(u.row, mCan, numberOf(rates.canSize), formats.number);
            if (rates.price)
                materials.number(u.row, mPrice, numberOf(*rates.price), formats.twoPlaces);
            else
                materials.text(u.row, mPrice, {}, formats.twoPlaces);
            materials.formula(u.row, mQuantity,
                              "=SUMIF(" + kLinesRef + fixedRange(cNumber, kFirstRow, blank) +
                                  ",\">0\"," + kLinesRef + fixedRange(u.column, kFirstRow, blank) +
                                  ')',
                              sum.quantity, formats.twoPlaces);
            materials.formula(u.row, mCans,
                              "=ROUNDUP(" + at(mQuantity, u.row) + '/' + at(mCan, u.row) + ",0)",
                              Decimal::whole(sum.cans.value_or(0)), formats.count);
            materials.formula(u.row, mCost, "=" + at(mCans, u.row) + '*' + at(mPrice, u.row),
                              sum.cost.value_or(Decimal()), formats.twoPlaces);
        }
        for (lxw_col_t column = mName; column <= mCost; ++column)
            materials.text(materialsTotal, column, {}, formats.sumText);
        materials.text(materialsTotal, mName, QStringLiteral("Итого"), formats.sumText);
        materials.formula(materialsTotal, mCost,
                          "=SUM(" + range(mCost, kFirstRow, materialsBlank) + ')', money.materials,
                          formats.sumTwoPlaces);
        materials.pageSetUp(false);

        if (progress && !progress(total / 2, total))
            return kCancelled;
        errno = 0;
        if (const lxw_error failed = book.close(); failed != LXW_NO_ERROR) {
            if (failed == LXW_ERROR_MEMORY_MALLOC_FAILED)
                return kOutOfMemory;
            // A file that could not be made or written has its cause in errno.
            if (errno != 0 &&
                (failed == LXW_ERROR_CREATING_XLSX_FILE || failed == LXW_ERROR_CREATING_TMPFILE ||
                 failed == LXW_ERROR_READING_TMPFILE ||
                 (failed >= LXW_ERROR_ZIP_FILE_OPERATION && failed <= LXW_ERROR_ZIP_CLOSE)))
                return causeOf(errno);
            return QStringLiteral("книга Excel не составлена (%1)")
                .arg(QString::fromUtf8(lxw_strerror(failed)));
        }
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    // Stopped while the workbook was packed: it is not put in place.
    if (progress && !progress(int(view.sheet.lines.size()) * 2, int(view.sheet.lines.size()) * 2))
        return kCancelled;
    QFile written(QFile::decodeName(temporary.name()));
    if (!written.open(QIODevice::ReadOnly))
        return causeOf(errno ? errno : ENOENT);
    const QByteArray bytes = written.readAll();
    if (written.error() != QFileDevice::NoError)
        return written.errorString();
    return writeFileWhole(path, bytes);
}

} // namespace velaro

namespace {

// libxlsxwriter writes every number in the workbook's XML with printf, which takes its decimal
// separator from the numeric locale; the format needs a point. Qt sets the process's locale from
// the user's settings at start-up (a comma under ru_RU), so the writing thread alone takes the C
// numeric locale for as long as it writes, and the rest of the program keeps the user's.
class CNumbersOnThisThread {
  public:
    CNumbersOnThisThread() {
        // The rest of the thread's locale (texts, collation) stays the user's.
        const locale_t base = ::duplocale(LC_GLOBAL_LOCALE);
        c_ = base ? ::newlocale(LC_NUMERIC_MASK, "C", base) : locale_t(nullptr);
        if (!c_) {
            if (base)
                ::freelocale(base);
            return;
        }
        previous_ = ::uselocale(c_);
    }
    ~CNumbersOnThisThread() {
        if (!c_)
            return;
        ::uselocale(previous_);
        ::freelocale(c_);
    }
    CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
    CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;
    bool holds() const { return c_ != nullptr; }

  private:
    locale_t c_ = nullptr;
    locale_t previous_ = nullptr;
};

} // namespace

extern "C" Q_DECL_EXPORT void velaro_write_xlsx(const velaro::SheetView* view, const QString* path,
                                                const velaro::ExportProgress* progress,
                                                QString* error) {
    const CNumbersOnThisThread numbers;
    if (!numbers.holds()) {
        // Never a workbook with the numbers written wrong.
        *error = QStringLiteral("не удалось задать формат чисел для книги Excel");
        return;
    }
    *error = velaro::writeWorkbook(*view, *path, *progress);
}
