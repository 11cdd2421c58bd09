// The Excel workbook module: loaded when a sheet is exported to Excel, so that the program's
// start-up does not load libxlsxwriter and the compression and crypto libraries it brings.

#include "estimate/xlsxexport.h"

#include "estimate/report.h"
#include "estimate/safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
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
    // Rows go to temporary files in `folder` as they are written, not held until the end.
    Book(const QByteArray& file, const QByteArray& folder) : folder_(folder) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = folder_.data();
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
    QByteArray folder_;
    lxw_workbook* workbook_ = nullptr;
    lxw_error failed_ = LXW_NO_ERROR;
};

struct Formats {
    lxw_format *title, *heading, *text, *count, *number, *twoPlaces;
    lxw_format *sumText, *sumNumber, *sumTwoPlaces, *label, *titleLabel;

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
        // Left, so that it runs on over the empty cells beside it.
        titleLabel = make(bold);
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
        for (lxw_col_t column = first; column <= last; ++column)
            widths[column] = characters;
    }
    // A row as tall as its wrapped texts need, as a spreadsheet would size it: readers do not
    // all work the heights out themselves, and an unsized row draws its lines over the next.
    // Set before the row's cells are written.
    void fitRow(lxw_row_t row, std::initializer_list<std::pair<lxw_col_t, QString>> texts) {
        constexpr double kLineHeight = 15; // points, of the default 11-point face
        int lines = 1;
        for (const auto& [column, text] : texts) {
            // A character is about a unit of the column's width; a little is lost to words
            // that do not fill their line.
            const double perLine = std::max(1.0, widths.value(column, 8.43) * 0.9);
            int needed = 0;
            for (const QStringView paragraph : QStringView(text).split(u'\n'))
                needed += std::max(1, int(std::ceil(double(paragraph.size()) / perLine)));
            lines = std::max(lines, needed);
        }
        if (sheet && lines > 1)
            book.check(worksheet_set_row(sheet, row, kLineHeight * std::min(lines, 27), nullptr));
    }
    QHash<lxw_col_t, double> widths;
    // Headings frozen and on every page; a page as wide as the sheet, numbered. Set before any
    // row is written: rows go to the file one by one.
    void pageSetUp(lxw_row_t headingRow, bool landscape) {
        if (!sheet)
            return;
        worksheet_freeze_panes(sheet, headingRow + 1, 0);
        book.check(worksheet_repeat_rows(sheet, headingRow, headingRow));
        worksheet_fit_to_pages(sheet, 1, 0);
        worksheet_set_paper(sheet, 9); // A4
        if (landscape)
            worksheet_set_landscape(sheet);
        book.check(worksheet_set_footer(sheet, "&C&P из &N"));
    }
    // Room for headings of two lines («Цена работ, руб.»).
    void headingRow(lxw_row_t row) {
        if (sheet)
            book.check(worksheet_set_row(sheet, row, 31.5, nullptr));
    }
};

// A material that some line takes: its column on the lines sheet, its row on its own.
struct Used {
    const ReportMaterial* material;
    lxw_col_t column;
    lxw_row_t row;
};

// Above the title, as on paper: «СОГЛАСОВАНО» for the contractor at the left edge, «УТВЕРЖДАЮ»
// for the client from column `right` on, each text running on over the empty cells beside it.
lxw_row_t writeApproval(Cells& cells, const Formats& formats, const TitleBlock& title,
                        lxw_col_t right) {
    struct Side {
        const Signatory& who;
        lxw_col_t column;
        QString heading;
    };
    const Side sides[] = {{title.contractorSignatory, 0, QStringLiteral("СОГЛАСОВАНО")},
                          {title.clientSignatory, right, QStringLiteral("УТВЕРЖДАЮ")}};
    const QString line = QStringLiteral("____________________");
    lxw_row_t row = 0;
    const auto eachSide = [&](const auto& text, lxw_format* format) {
        for (const Side& side : sides)
            if (!side.who.isEmpty())
                cells.text(row, side.column, text(side), format);
        ++row;
    };
    eachSide([](const Side& side) { return side.heading; }, formats.titleLabel);
    if (!title.contractorSignatory.position.isEmpty() || !title.clientSignatory.position.isEmpty())
        eachSide([](const Side& side) { return side.who.position; }, nullptr);
    eachSide(
        [&](const Side& side) {
            return QStringLiteral("%1 /%2/").arg(line,
                                                 side.who.name.isEmpty() ? line : side.who.name);
        },
        nullptr);
    eachSide([](const Side&) { return QStringLiteral("\"___\" __________ 20__ г."); }, nullptr);
    return row + 1; // a blank row before the title
}

// The title block, as on paper: the approval where given, the heading, the object, then who is
// who and the date.
lxw_row_t writeTitleBlock(Cells& cells, const Formats& formats, const TitleBlock& title,
                          lxw_col_t approvalRight) {
    lxw_row_t row = title.hasApproval() ? writeApproval(cells, formats, title, approvalRight) : 0;
    cells.text(row++, 0, QStringLiteral("Ведомость окраски"), formats.title);
    if (!title.object.isEmpty())
        cells.text(row++, 0, title.object, formats.titleLabel);
    const std::pair<QString, QString> entries[] = {
        {QStringLiteral("Адрес:"), title.address},
        {QStringLiteral("Заказчик:"), title.client},
        {QStringLiteral("Подрядчик:"), title.contractor},
        {QStringLiteral("Составил:"), title.estimator},
        {QStringLiteral("Дата:"), title.date}};
    for (const auto& [label, value] : entries) {
        if (value.isEmpty())
            continue;
        cells.text(row, 0, label, formats.titleLabel);
        cells.text(row++, 2, value, nullptr);
    }
    return row + 1; // a blank row before the table
}

class Workbook {
  public:
    Workbook(Book& book, const Report& report)
        : book_(book), report_(report), view_(report.view()), formats_(book),
          lines_{book, book.sheet(kLinesName), {}}, materials_{book, book.sheet(kMaterialsName), {}} {}

    // False where stopped.
    bool write(const std::function<bool(int done, int total)>& progress);

  private:
    void setUpLines();
    void writeHeadings();
    bool writeRooms(const std::function<bool(int, int)>& progress, int total);
    void writeLine(int index);
    void writeTotals();
    void writeMaterials();
    // A material's consumption with its waste, on its own sheet: changed there, it changes
    // every line.
    QByteArray perCoatOf(const Used& used) const {
        return kMaterialsRef + '$' + columnName(mPerCoat) + '$' + QByteArray::number(used.row + 1);
    }
    lxw_col_t lastColumn() const { return lxw_col_t(cFirstMaterial + used_.size() - 1); }

    Book& book_;
    const Report& report_;
    const SheetView& view_;
    const Formats formats_;
    Cells lines_, materials_;
    std::vector<Used> used_;
    lxw_row_t headingRow_ = 0, materialsHeadingRow_ = 0;
    lxw_row_t row_ = 0;   // the next row of the lines sheet
    lxw_row_t blank_ = 0; // under the last line, taken into the totals' ranges
    lxw_row_t materialsBlank_ = 0;
};

bool Workbook::write(const std::function<bool(int done, int total)>& progress) {
    // Packing the workbook into its file takes about as long as writing its lines.
    const int total = 2 * int(view_.sheet.lines.size());
    if (progress && !progress(0, total))
        return false;
    setUpLines();
    writeHeadings();
    if (!writeRooms(progress, total))
        return false;
    writeTotals();
    writeMaterials();
    return !progress || progress(total / 2, total);
}

void Workbook::setUpLines() {
    const std::vector<ReportMaterial>& materials = report_.materials();
    headingRow_ = 0;
    materialsHeadingRow_ = 1;
    // The materials' rows on their sheet and totals under them are known before any is written.
    for (std::size_t k = 0; k < materials.size(); ++k)
        used_.push_back({&materials[k], lxw_col_t(cFirstMaterial + k),
                         lxw_row_t(materialsHeadingRow_ + 1 + k)});
    materialsBlank_ = materialsHeadingRow_ + 1 + lxw_row_t(used_.size());

    const std::pair<lxw_col_t, double> widths[] = {
        {cNumber, 5},   {cRoom, 16},   {cElement, 24}, {cMeasurements, 30}, {cConditions, 22},
        {cFormula, 36}, {cResult, 11}, {cCount, 7},    {cQuantity, 14},     {cUnit, 7},
        {cSystem, 18},  {cPrice, 11},  {cWork, 16},    {cCode, 12}};
    for (const auto& [column, width] : widths)
        lines_.width(column, column, width);
    if (!used_.empty())
        lines_.width(cFirstMaterial, lastColumn(), 14);
}

void Workbook::writeHeadings() {
    headingRow_ = writeTitleBlock(lines_, formats_, report_.titleBlock(), cSystem);
    lines_.pageSetUp(headingRow_, true);
    lines_.headingRow(headingRow_);
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
        lines_.text(headingRow_, lxw_col_t(i), headings[i], formats_.heading);
    for (const Used& u : used_)
        lines_.text(headingRow_, u.column,
                    u.material->material->name + QStringLiteral(", ") +
                        u.material->material->unit,
                    formats_.heading);
    row_ = headingRow_ + 1;
}

// The lines by room, each room's sum above its lines.
bool Workbook::writeRooms(const std::function<bool(int, int)>& progress, int total) {
    int done = 0;
    for (const ReportRoom& room : report_.rooms()) {
        const lxw_row_t sumRow = row_++;
        const lxw_row_t first = row_;
        const lxw_row_t last = first + lxw_row_t(room.lines.size()) - 1;
        // The row shaded across, its sums written over; a row is kept until the next starts.
        for (lxw_col_t column = 0; column <= lastColumn(); ++column)
            lines_.text(sumRow, column, {}, formats_.sumText);
        lines_.text(sumRow, cRoom, room.title, formats_.sumText);
        lines_.text(sumRow, cElement, QStringLiteral("Итого по помещению"), formats_.sumText);
        lines_.formula(sumRow, cQuantity,
                       "=SUMIF(" + range(cUnit, first, last) + ",\"м2\"," +
                           range(cQuantity, first, last) + ')',
                       room.area, formats_.sumTwoPlaces);
        lines_.text(sumRow, cUnit, QStringLiteral("м2"), formats_.sumText);
        lines_.formula(sumRow, cWork, "=SUM(" + range(cWork, first, last) + ')', room.work,
                       formats_.sumTwoPlaces);
        for (std::size_t k = 0; k < used_.size(); ++k)
            lines_.formula(sumRow, used_[k].column,
                           "=SUM(" + range(used_[k].column, first, last) + ')', room.paint[k],
                           formats_.sumTwoPlaces);
        for (int index : room.lines) {
            writeLine(index);
            if (progress && ++done % kProgressStep == 0 && !progress(done, total))
                return false;
        }
    }
    blank_ = row_;
    return true;
}

void Workbook::writeLine(int index) {
    const Line& line = view_.sheet.lines[index];
    const LineFigures& figures = view_.figures[std::size_t(index)];
    const lxw_row_t row = row_++;
    lines_.fitRow(row, {{cElement, line.element},
                        {cMeasurements, cellText(line, figures, Column::Measurements,
                                                 view_.separator, view_.sheet)},
                        {cConditions, line.conditions.join(QStringLiteral("; "))},
                        {cFormula, cellText(line, figures, Column::Formula, view_.separator,
                                            view_.sheet)},
                        {cSystem, cellText(line, figures, Column::System, view_.separator,
                                           view_.sheet)}});
    lines_.number(row, cNumber, report_.numberOf(index), formats_.count);
    // Written left to right: texts and figures in their columns' order.
    lines_.text(row, cRoom, cellText(line, figures, Column::Room, view_.separator, view_.sheet),
                formats_.text);
    for (const auto& [column, what] :
         {std::pair{cElement, Column::Element}, std::pair{cMeasurements, Column::Measurements},
          std::pair{cConditions, Column::Conditions}, std::pair{cFormula, Column::Formula}})
        lines_.text(row, column, cellText(line, figures, what, view_.separator, view_.sheet),
                    formats_.text);
    if (const auto result = Decimal::parse(line.result))
        lines_.number(row, cResult, numberOf(*result), formats_.number);
    else
        lines_.text(row, cResult, line.result, formats_.text);
    lines_.number(row, cCount, line.count, formats_.count);
    if (figures.area)
        lines_.formula(row, cQuantity, "=" + at(cResult, row) + '*' + at(cCount, row),
                       *figures.area, formats_.number);
    else
        lines_.text(row, cQuantity, {}, formats_.number);
    for (const auto& [column, what] :
         {std::pair{cUnit, Column::Unit}, std::pair{cSystem, Column::System}})
        lines_.text(row, column, cellText(line, figures, what, view_.separator, view_.sheet),
                    formats_.text);
    if (figures.price)
        lines_.number(row, cPrice, numberOf(*figures.price), formats_.twoPlaces);
    else
        lines_.text(row, cPrice, {}, formats_.twoPlaces);
    // A line priced by several layers adds each layer's work rounded on its own, their prices
    // in the formula; the price column holds their sum. Without a price the work is nothing
    // until one is typed in.
    const std::vector<Decimal> prices =
        workPrices(line, systemOf(view_.sheet.systems, line.system));
    if (figures.area && figures.work && prices.size() > 1) {
        QByteArray formula = "=";
        for (std::size_t i = 0; i < prices.size(); ++i)
            formula += (i ? "+ROUND(" : "ROUND(") + at(cQuantity, row) + '*' +
                       prices[i].text(u'.').toLatin1() + ",2)";
        lines_.formula(row, cWork, formula, *figures.work, formats_.twoPlaces);
    } else if (figures.area && (figures.work || !figures.price))
        lines_.formula(row, cWork,
                       "=ROUND(" + at(cQuantity, row) + '*' + at(cPrice, row) + ",2)",
                       figures.work.value_or(Decimal()), formats_.twoPlaces);
    else
        lines_.text(row, cWork, {}, formats_.twoPlaces);
    lines_.text(row, cCode, cellText(line, figures, Column::Code, view_.separator, view_.sheet),
                formats_.text);

    // Each layer's paint rounded on its own and added, as the report gives it.
    for (std::size_t k = 0; k < used_.size(); ++k) {
        QByteArray formula;
        for (const LineFigures::Paint& layer : figures.paint)
            if (layer.material == used_[k].material->material->id)
                formula += (formula.isEmpty() ? "=ROUND(" : "+ROUND(") + at(cQuantity, row) +
                           '*' + perCoatOf(used_[k]) +
                           (layer.coats == 1 ? QByteArray()
                                             : '*' + QByteArray::number(layer.coats)) +
                           ",2)";
        if (formula.isEmpty())
            lines_.text(row, used_[k].column, {}, formats_.number);
        else
            lines_.formula(row, used_[k].column, formula,
                           report_.paintOf(index, k).value_or(Decimal()), formats_.twoPlaces);
    }
}

// The sheet's totals under a blank row the ranges take in, so a line added there counts; a line
// is told from a room's sum by its number. Then what the job costs, and the sum in words.
void Workbook::writeTotals() {
    const lxw_row_t totalRow = blank_ + 1;
    const auto ofLines = [&](lxw_col_t column) {
        return "=SUMIF(" + fixedRange(cNumber, headingRow_ + 1, blank_) + ",\">0\"," +
               fixedRange(column, headingRow_ + 1, blank_) + ')';
    };
    for (lxw_col_t column = 0; column <= lastColumn(); ++column)
        lines_.text(totalRow, column, {}, formats_.sumText);
    lines_.text(totalRow, cRoom, QStringLiteral("Итого по ведомости"), formats_.sumText);
    // The lines' areas: a room's sum says м2 too, and has no number.
    lines_.formula(totalRow, cQuantity,
                   "=SUMIFS(" + fixedRange(cQuantity, headingRow_ + 1, blank_) + ',' +
                       fixedRange(cUnit, headingRow_ + 1, blank_) + ",\"м2\"," +
                       fixedRange(cNumber, headingRow_ + 1, blank_) + ",\">0\")",
                   report_.area(), formats_.sumTwoPlaces);
    lines_.text(totalRow, cUnit, QStringLiteral("м2"), formats_.sumText);
    lines_.formula(totalRow, cWork, ofLines(cWork), report_.work(), formats_.sumTwoPlaces);
    for (const Used& u : used_)
        lines_.formula(totalRow, u.column, ofLines(u.column), u.material->quantity,
                       formats_.sumTwoPlaces);

    // Labels beside the work column, sums in it.
    const Money& money = report_.money();
    const lxw_row_t materialsTotal = materialsBlank_ + 1;
    lxw_row_t costRow = totalRow + 2;
    const auto cost = [&](const QString& label, const QByteArray& formula,
                          const Decimal& value) {
        lines_.text(costRow, cPrice, label, formats_.label);
        lines_.formula(costRow, cWork, formula, value, formats_.sumTwoPlaces);
        return costRow++;
    };
    const lxw_row_t materialsCost =
        cost(QStringLiteral("Материалы, руб."), "=" + kMaterialsRef + at(mCost, materialsTotal),
             money.materials);
    const lxw_row_t workCost =
        cost(QStringLiteral("Работы, руб."), "=" + at(cWork, totalRow), money.work);
    QByteArray both = "=" + at(cWork, materialsCost) + '+' + at(cWork, workCost);
    // Overhead and profit each on the work cell, rounded to the kopeck as the program rounds.
    const auto onWork = [&](const QString& label, const Decimal& rate, const Decimal& sum) {
        const QByteArray formula =
            "=ROUND(" + at(cWork, workCost) + '*' + rate.text(u'.').toLatin1() + "/100,2)";
        both += '+' + at(cWork, cost(label + QStringLiteral(", руб."), formula, sum));
    };
    if (money.overhead)
        onWork(overheadLabel(*money.overheadRate, view_.separator), *money.overheadRate,
               *money.overhead);
    if (money.profit)
        onWork(profitLabel(*money.profitRate, view_.separator), *money.profitRate, *money.profit);
    if (money.vat) {
        const lxw_row_t subtotal =
            cost(QStringLiteral("Итого без НДС, руб."), both, money.subtotal);
        const lxw_row_t vat =
            cost(QStringLiteral("НДС %1%, руб.").arg(money.vatRate->text(view_.separator)),
                 "=ROUND(" + at(cWork, subtotal) + '*' + money.vatRate->text(u'.').toLatin1() +
                     "/100,2)",
                 *money.vat);
        cost(QStringLiteral("Всего, руб."), "=" + at(cWork, subtotal) + '+' + at(cWork, vat),
             money.total);
    } else {
        cost(QStringLiteral("Всего, руб."), both, money.total);
    }
    // The words are the program's: a total changed in the workbook leaves them behind.
    lines_.text(costRow + 1, cRoom, QStringLiteral("Сумма прописью:"), formats_.titleLabel);
    lines_.text(costRow + 1, cElement, report_.sumInWords(), nullptr);
}

// The materials: their entries as figures, what the lines take, whole cans.
void Workbook::writeMaterials() {
    materials_.width(mName, mName, 24);
    materials_.width(mUnit, mUnit, 7);
    materials_.width(mConsumption, mCost, 14);
    materials_.pageSetUp(materialsHeadingRow_, false);
    materials_.text(0, 0, QStringLiteral("Материалы"), formats_.title);
    materials_.headingRow(materialsHeadingRow_);
    const QStringList headings{QStringLiteral("Материал"),
                               columnTitle(Column::Unit),
                               QStringLiteral("Расход на м2 за слой"),
                               QStringLiteral("Запас, %"),
                               QStringLiteral("С запасом на м2 за слой"),
                               QStringLiteral("Тара"),
                               QStringLiteral("Цена тары, руб."),
                               QStringLiteral("Количество"),
                               QStringLiteral("Банок"),
                               QStringLiteral("Стоимость, руб.")};
    for (qsizetype i = 0; i < headings.size(); ++i)
        materials_.text(materialsHeadingRow_, lxw_col_t(i), headings[i], formats_.heading);
    const auto figure = [](const QString& text) { return numberOf(*Decimal::parse(text)); };
    const QByteArray numbers = kLinesRef + fixedRange(cNumber, headingRow_ + 1, blank_);
    bool severalSizes = false;
    for (const Used& u : used_) {
        const Material& material = *u.material->material;
        const MaterialRates& rates = *u.material->rates;
        materials_.text(u.row, mName, material.name, formats_.text);
        materials_.text(u.row, mUnit, material.unit, formats_.text);
        materials_.number(u.row, mConsumption, figure(material.consumption), formats_.number);
        materials_.number(u.row, mWaste, figure(material.waste), formats_.number);
        materials_.formula(u.row, mPerCoat,
                           "=" + at(mConsumption, u.row) + "*(1+" + at(mWaste, u.row) + "/100)",
                           rates.perCoat, formats_.number);
        if (rates.cans.size() == 1) {
            const MaterialRates::CanRate& can = rates.cans.front();
            materials_.number(u.row, mCan, numberOf(can.size), formats_.number);
            if (can.price)
                materials_.number(u.row, mPrice, numberOf(*can.price), formats_.twoPlaces);
            else
                materials_.text(u.row, mPrice, {}, formats_.twoPlaces);
        } else {
            materials_.text(u.row, mCan, canSizesText(rates, view_.separator), formats_.text);
            materials_.text(u.row, mPrice, canPricesText(rates, view_.separator), formats_.text);
        }
        materials_.formula(u.row, mQuantity,
                           "=SUMIF(" + numbers + ",\">0\"," + kLinesRef +
                               fixedRange(u.column, headingRow_ + 1, blank_) + ')',
                           u.material->quantity, formats_.twoPlaces);
        if (rates.cans.size() == 1) {
            materials_.formula(
                u.row, mCans, "=ROUNDUP(" + at(mQuantity, u.row) + '/' + at(mCan, u.row) + ",0)",
                Decimal::whole(u.material->cans.empty() ? 0 : u.material->cans.front()),
                formats_.count);
            materials_.formula(u.row, mCost, "=" + at(mCans, u.row) + '*' + at(mPrice, u.row),
                               u.material->cost.value_or(Decimal()), formats_.twoPlaces);
            continue;
        }
        // Several sizes: no formula picks the cheapest cans, so the program's choice is written
        // out, and its cost as that choice's cans times their prices (the note under the table
        // says so).
        severalSizes = true;
        materials_.text(u.row, mCans,
                        cansText(material, rates, u.material->cans, view_.separator),
                        formats_.text);
        QByteArray cost;
        for (std::size_t i = 0; i < u.material->cans.size(); ++i)
            if (u.material->cans[i] > 0 && rates.cans[i].price)
                cost += (cost.isEmpty() ? "=" : "+") + QByteArray::number(u.material->cans[i]) +
                        '*' + rates.cans[i].price->text(u'.').toLatin1();
        if (!u.material->cost)
            materials_.text(u.row, mCost, {}, formats_.twoPlaces);
        else if (cost.isEmpty())
            materials_.number(u.row, mCost, 0, formats_.twoPlaces);
        else
            materials_.formula(u.row, mCost, cost, *u.material->cost, formats_.twoPlaces);
    }
    const lxw_row_t total = materialsBlank_ + 1;
    for (lxw_col_t column = mName; column <= mCost; ++column)
        materials_.text(total, column, {}, formats_.sumText);
    materials_.text(total, mName, QStringLiteral("Итого"), formats_.sumText);
    materials_.formula(total, mCost,
                       "=SUM(" + range(mCost, materialsHeadingRow_ + 1, materialsBlank_) + ')',
                       report_.money().materials, formats_.sumTwoPlaces);
    if (severalSizes)
        materials_.text(total + 2, mName,
                        QStringLiteral("Материал нескольких размеров тары: банки подобраны "
                                       "программой — самые дешёвые целые банки, в которые "
                                       "входит количество; стоимость — эти банки по их ценам. "
                                       "Количество, изменённое здесь, их не меняет."),
                        nullptr);
}

} // namespace

QString writeWorkbook(const SheetView& view, const QString& path,
                      const std::function<bool(int done, int total)>& progress) {
    const Sheet& sheet = view.sheet;
    TemporaryFile temporary(path);
    if (!temporary.error().isEmpty())
        return temporary.error();
    try {
        const Report report = Report::of(view);
        Book book(temporary.name(), QFile::encodeName(QFileInfo(path).absolutePath()));
        const QByteArray titleBytes = report.titleBlock().title().toUtf8();
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
        Workbook workbook(book, report);
        if (!workbook.write(progress))
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
