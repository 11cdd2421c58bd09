#include "estimate/sheetpages.h"

#include "estimate/papercolumns.h"
#include "estimate/paperwidths.h"
#include "estimate/pdfjoin.h"
#include "estimate/report.h"
#include "estimate/safefile.h"
#include "estimate/textfit.h"

#include <QDate>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <optional>
#include <thread>

namespace velaro {

// ---- The pages ----

namespace {

constexpr double kMarginMm = 15;
constexpr double kA4WidthMm = 210;
const QString kHeading = QStringLiteral("Ведомость окраски");
const QColor kDetailColour(0x40, 0x40, 0x40);

enum Face { Body, Bold, Small, Heading, Title };

// A text in its place on a row, with the lines in the smaller type under it.
struct Box {
    QString text;
    QStringList details;
    double x = 0, width = 0;
    Face face = Body;
    Qt::Alignment align = Qt::AlignLeft;
};

enum class Style { Plain, Grid, Header, Group, Subtotal };

struct Row {
    std::vector<Box> boxes; // none for a line of the sheet: its boxes are made again to paint
    int line = -1;          // the sheet's row this row shows
    Style style = Style::Plain;
    double height = 0;
    double spaceBefore = 0;      // left out at the top of a page
    const Row* header = nullptr; // what a page starting with this row shows first
    int group = -1;              // the room, in the report's order
    bool opensGroup = false;
    bool keepWithNext = false; // never the last on its page
};

using Progress = std::function<bool(int done, int total)>;

// Three passes over the lines: the columns' widths, the rows' heights, the painting. Only the
// rows' heights are kept; a line's texts are made again in each pass, and the text fitter keeps
// what shaping them found.
class Layout {
  public:
    Layout(const Report& report, QPaintDevice& device, Progress progress)
        : report_(report), view_(report.view()), device_(device), fitter_(device),
          progress_(std::move(progress)), unit_(device.logicalDpiX() / 25.4),
          padX_(device.logicalDpiX() * 2.0 / 72), padY_(device.logicalDpiY() * 1.2 / 72),
          widths_(report, fitter_, {Body, Bold, Small}, unit_, padX_) {
        addFaces(fitter_);
    }

    // The faces in their sizes, as `Face` numbers them.
    static void addFaces(TextFitter& fitter) {
        QFont sans(QStringLiteral("Liberation Sans"));
        sans.setStyleHint(QFont::SansSerif);
        // Glyphs advance by whole device pixels (1/1200 in, never seen): the PDF writes every
        // glyph's offset, and whole numbers are a third shorter to write and to compress.
        sans.setHintingPreference(QFont::PreferFullHinting);
        QFont bold = sans;
        bold.setBold(true);
        fitter.addFace(sans, {8, 7, 6, 5});    // Body
        fitter.addFace(bold, {8, 7, 6, 5});    // Bold
        fitter.addFace(sans, {7, 6, 5});       // Small
        fitter.addFace(bold, {14, 12, 10, 8}); // Heading
        fitter.addFace(bold, {11, 10, 9, 8});  // Title
    }

    // The first pass: every text's width; false where cancelled.
    bool measureColumns() {
        measured_ = measured_ || widths_.measure([this](int lines) { return goOn(0, lines); });
        return measured_;
    }
    // Whether the columns read well across a portrait page.
    bool fitsPortrait() const { return widths_.readWell((kA4WidthMm - 2 * kMarginMm) * unit_); }
    bool build();
    int pageCount() const { return int(pages_.size()); }
    // Every page on the device the layout was measured on.
    bool paint(QPagedPaintDevice& device);
    // Pages [from, to) on a device of the same size and resolution, with fonts of its own (a
    // thread's fonts are its own); pageDone(lines) after each page may return false to stop.
    bool paintPages(QPagedPaintDevice& device, TextFitter& fitter, int from, int to,
                    const std::function<bool(int lines)>& pageDone) const;
    // Every page as PDF files of runs of pages, one a thread, painted like `writer`; false
    // where cancelled or, `unwritable`, where a run's file cannot be written.
    bool paintInRuns(const QPdfWriter& writer, const QStringList& paths, bool& unwritable) const;

  private:
    int lineCount() const { return int(view_.sheet.lines.size()); }
    bool goOn(int pass, int done) const {
        const int lines = lineCount() + 1;
        return !progress_ || done % 256 || progress_(pass * lines + done, 3 * lines);
    }
    double inner(const Box& box) const { return std::max(1.0, box.width - 2 * padX_); }
    double advance(Face face, const QString& text) { return fitter_.natural(face, text).width; }

    Row& add(Style style = Style::Plain, double spaceBefore = 0) {
        rows_.emplace_back();
        rows_.back().style = style;
        rows_.back().spaceBefore = spaceBefore;
        return rows_.back();
    }
    static Box& put(Row& row, const QString& text, double x, double width, Face face = Body,
                    Qt::Alignment align = Qt::AlignLeft) {
        row.boxes.push_back({text, {}, x, width, face, align});
        return row.boxes.back();
    }
    Row& addText(const QString& text, Face face = Body, double spaceBefore = 0,
                 Qt::Alignment align = Qt::AlignLeft) {
        Row& row = add(Style::Plain, spaceBefore);
        put(row, text, 0, width_, face, align);
        return row;
    }
    void addApproval();
    void addTitleBlock();
    void addLines();
    void addSubtotal(const ReportRoom& room, int group);
    void addTotals();
    void addMaterials(double gap);
    void addMoney(double gap);
    std::vector<Box> lineBoxes(int line) const;
    double heightOf(const std::vector<Box>& boxes);
    void paginate();
    const Row& continuation(int group);
    // What paints text on one device: its fitter, and the font its painter has.
    struct Pen {
        TextFitter& fitter;
        const QFont* font = nullptr;
    };
    void paintRow(QPainter& painter, Pen& pen, const Row& row, double y) const;
    void paintText(QPainter& painter, Pen& pen, const QString& text, Face face, const Box& box,
                   double& top) const;

    const Report& report_;
    const SheetView& view_;
    QPaintDevice& device_;
    TextFitter fitter_;
    Progress progress_;
    double unit_, padX_, padY_;
    double width_ = 0, bodyHeight_ = 0;
    PaperWidths widths_;
    bool measured_ = false;
    std::deque<Row> rows_; // a deque: rows refer to their header
    const Row* tableHeader_ = nullptr;
    std::vector<const Row*> groupRows_;
    std::deque<Row> continuations_;
    std::vector<const Row*> continuationOf_;
    struct Placed {
        const Row* row;
        double y;
    };
    std::vector<std::vector<Placed>> pages_;
};

// «СОГЛАСОВАНО» for the contractor on the left, «УТВЕРЖДАЮ» for the client on the right, as
// Russian estimates open; a side nobody is named for is left out.
void Layout::addApproval() {
    const TitleBlock& title = report_.titleBlock();
    const double width = std::min(80 * unit_, width_ / 2 - 5 * unit_);
    const QString line = QStringLiteral("____________________");
    struct Side {
        const Signatory& who;
        QString heading;
        double x;
    };
    const Side sides[] = {{title.contractorSignatory, QStringLiteral("СОГЛАСОВАНО"), 0},
                          {title.clientSignatory, QStringLiteral("УТВЕРЖДАЮ"), width_ - width}};
    const auto row = [&](const auto& text, Face face, double spaceBefore) {
        Row& added = add(Style::Plain, spaceBefore);
        for (const Side& side : sides)
            if (!side.who.isEmpty())
                put(added, text(side), side.x, width, face);
        added.keepWithNext = true;
    };
    row([](const Side& side) { return side.heading; }, Bold, 0);
    if (!title.clientSignatory.position.isEmpty() || !title.contractorSignatory.position.isEmpty())
        row([](const Side& side) { return printable(side.who.position); }, Body, 1.5 * unit_);
    row(
        [&](const Side& side) {
            const QString& name = side.who.name;
            return QStringLiteral("%1 /%2/").arg(line, name.isEmpty() ? line : printable(name));
        },
        Body, 6 * unit_);
    row([](const Side&) { return QStringLiteral("\"___\" __________ 20__ г."); }, Body,
        1.5 * unit_);
}

void Layout::addTitleBlock() {
    const TitleBlock& title = report_.titleBlock();
    if (title.hasApproval())
        addApproval();
    addText(kHeading, Heading, title.hasApproval() ? 8 * unit_ : 0, Qt::AlignHCenter);
    if (!title.object.isEmpty())
        addText(printable(title.object), Title, 1.5 * unit_, Qt::AlignHCenter);
    const std::pair<QString, QString> entries[] = {{QStringLiteral("Адрес:"), title.address},
                                                   {QStringLiteral("Заказчик:"), title.client},
                                                   {QStringLiteral("Подрядчик:"), title.contractor},
                                                   {QStringLiteral("Составил:"), title.estimator},
                                                   {QStringLiteral("Дата:"), title.date}};
    double labels = 0;
    for (const auto& [label, value] : entries)
        labels = std::max(labels, advance(Bold, label));
    labels += 2 * padX_;
    bool first = true;
    for (const auto& [label, value] : entries) {
        if (value.isEmpty())
            continue;
        Row& row = add(Style::Plain, first ? 3 * unit_ : 0);
        put(row, label, 0, labels, Bold);
        put(row, printable(value), labels, width_ - labels);
        first = false;
    }
}

void Layout::addLines() {
    if (view_.sheet.lines.isEmpty()) {
        addText(QStringLiteral("В ведомости нет строк."), Body, 4 * unit_);
        return;
    }
    Row& header = add(Style::Header, 4 * unit_);
    const std::vector<PaperColumn>& columns = widths_.columns();
    put(header, kNumberTitle, 0, widths_.width(0), Bold, Qt::AlignHCenter);
    for (std::size_t c = 0; c < columns.size(); ++c)
        put(header, columns[c].title, widths_.x(c + 1), widths_.width(c + 1), Bold,
            Qt::AlignHCenter);
    header.keepWithNext = true;
    tableHeader_ = &header;

    const std::vector<ReportRoom>& rooms = report_.rooms();
    groupRows_.assign(rooms.size(), nullptr);
    continuationOf_.assign(rooms.size(), nullptr);
    for (std::size_t g = 0; g < rooms.size(); ++g) {
        Row& heading = add(Style::Group);
        put(heading, printable(rooms[g].title), 0, width_, Bold);
        heading.header = tableHeader_;
        heading.group = int(g);
        heading.opensGroup = true;
        heading.keepWithNext = true;
        groupRows_[g] = &heading;
        for (int line : rooms[g].lines) {
            Row& row = add(Style::Grid);
            row.line = line;
            row.header = tableHeader_;
            row.group = int(g);
        }
        rows_.back().keepWithNext = true; // the last line goes with the subtotal
        addSubtotal(rooms[g], int(g));
    }
}

// The label spans the columns before the quantity's; the area and the work stand in theirs.
void Layout::addSubtotal(const ReportRoom& room, int group) {
    Row& subtotal = add(Style::Subtotal);
    subtotal.header = tableHeader_;
    subtotal.group = group;
    const std::vector<PaperColumn>& columns = widths_.columns();
    const auto quantity = std::find_if(columns.begin(), columns.end(), [](const PaperColumn& c) {
        return c.cell == PaperCell::Quantity;
    });
    const std::size_t first = std::size_t(quantity - columns.begin());
    put(subtotal, QStringLiteral("Итого по помещению «%1»").arg(printable(room.title)), 0,
        widths_.x(first + 1), Bold);
    for (std::size_t c = first; c < columns.size(); ++c) {
        QString text;
        if (columns[c].cell == PaperCell::Quantity)
            text = paperArea(room.area, view_.separator);
        else if (columns[c].cell == PaperCell::Work)
            text = room.work.text(view_.separator, 2, true);
        put(subtotal, text, widths_.x(c + 1), widths_.width(c + 1), Bold, Qt::AlignRight);
    }
}

std::vector<Box> Layout::lineBoxes(int line) const {
    std::vector<Box> boxes;
    const std::vector<PaperColumn>& columns = widths_.columns();
    boxes.reserve(columns.size() + 1);
    boxes.push_back(
        {QString::number(report_.numberOf(line)), {}, 0, widths_.width(0), Body, Qt::AlignRight});
    // Empty cells too: each cell's rules are drawn with it.
    for (std::size_t c = 0; c < columns.size(); ++c) {
        PaperText cell = paperCell(view_, line, columns[c].cell);
        boxes.push_back({std::move(cell.main), std::move(cell.details), widths_.x(c + 1),
                         widths_.width(c + 1), Body,
                         columns[c].weight ? Qt::AlignLeft : Qt::AlignRight});
    }
    return boxes;
}

void Layout::addTotals() {
    const double gap = 4 * unit_;
    addText(
        QStringLiteral("Итого площадь окраски: %1").arg(paperArea(report_.area(), view_.separator)),
        Bold, gap);
    addMaterials(gap);
    addMoney(gap);
}

// Every figure can be checked by hand: the cans are the quantity over the can's size, taken up
// to whole cans, and their cost the cans times the can's price; a material of several sizes shows
// the cans taken of each.
void Layout::addMaterials(double gap) {
    const std::vector<ReportMaterial>& materials = report_.materials();
    if (materials.empty())
        return;
    const QChar separator = view_.separator;
    const QString dash = QStringLiteral("—");
    std::vector<QStringList> table{{QStringLiteral("Материал"), QStringLiteral("Количество"),
                                    QStringLiteral("Банка"), QStringLiteral("Цена банки, руб."),
                                    QStringLiteral("Банок"), QStringLiteral("Стоимость, руб.")}};
    for (const ReportMaterial& m : materials) {
        const QString& unit = m.material->unit;
        table.push_back(
            {printable(m.material->name), m.quantity.text(separator, 2, true) + u' ' + unit,
             canSizesText(*m.rates, separator) + u' ' + unit, canPricesText(*m.rates, separator),
             cansText(*m.material, *m.rates, m.cans, separator),
             m.cost ? m.cost->text(separator, 2, true) : dash});
    }
    const qsizetype columns = table.front().size();
    std::vector<double> widths(std::size_t(columns), 0), x(std::size_t(columns), 0);
    for (qsizetype c = 0; c < columns; ++c) {
        double& w = widths[std::size_t(c)];
        w = widths_.headingWord(table.front()[c]);
        for (std::size_t r = 1; r < table.size(); ++r)
            w = std::max(w, advance(Body, table[r][c]));
        w = std::min(w, 70 * unit_) + 2 * padX_;
        if (c)
            x[std::size_t(c)] = x[std::size_t(c - 1)] + widths[std::size_t(c - 1)];
    }
    addText(QStringLiteral("Материалы"), Bold, gap).keepWithNext = true;
    Row& header = add(Style::Header);
    header.keepWithNext = true;
    for (std::size_t r = 0; r < table.size(); ++r) {
        Row& row = r ? add(Style::Grid) : header;
        if (r)
            row.header = &header;
        for (qsizetype c = 0; c < columns; ++c)
            put(row, table[r][c], x[std::size_t(c)], widths[std::size_t(c)], r ? Body : Bold,
                !r  ? Qt::AlignHCenter
                : c ? Qt::AlignRight
                    : Qt::AlignLeft);
    }
}

// The money, the sum in words and the signatures stay together on the last page.
void Layout::addMoney(double gap) {
    const Money& money = report_.money();
    const QChar separator = view_.separator;
    addText(QStringLiteral("Стоимость"), Bold, gap).keepWithNext = true;
    QList<std::pair<QString, Decimal>> sums{{QStringLiteral("Материалы"), money.materials},
                                            {QStringLiteral("Работы"), money.work}};
    if (money.overhead)
        sums << std::pair{overheadLabel(*money.overheadRate, separator), *money.overhead};
    if (money.profit)
        sums << std::pair{profitLabel(*money.profitRate, separator), *money.profit};
    if (money.vat)
        sums << std::pair{QStringLiteral("Итого без НДС"), money.subtotal}
             << std::pair{QStringLiteral("НДС %1%").arg(money.vatRate->text(separator)),
                          *money.vat};
    const double labelWidth = 60 * unit_;
    double valueWidth = 30 * unit_;
    for (const auto& [name, value] : sums)
        valueWidth = std::max(valueWidth, advance(Bold, moneyText(value, separator)));
    valueWidth = std::max(valueWidth, advance(Bold, moneyText(money.total, separator)));
    valueWidth += 2 * padX_;
    const auto sum = [&](const QString& label, const Decimal& value, Face face, Style style) {
        Row& row = add(style);
        put(row, label, 0, labelWidth, face);
        put(row, moneyText(value, separator), labelWidth, valueWidth, face, Qt::AlignRight);
        row.keepWithNext = true;
    };
    for (const auto& [name, value] : sums)
        sum(name, value, Body, Style::Grid);
    sum(QStringLiteral("Всего"), money.total, Bold, Style::Subtotal);

    Row& words = add(Style::Plain, 2 * unit_);
    const QString wordsLabel = QStringLiteral("Сумма прописью:");
    const double wordsLabelWidth = advance(Bold, wordsLabel) + 2 * padX_;
    put(words, wordsLabel, 0, wordsLabelWidth, Bold);
    put(words, report_.sumInWords(), wordsLabelWidth, width_ - wordsLabelWidth);
    words.keepWithNext = true;
    const QString line = QStringLiteral("____________________");
    const QString& estimator = report_.titleBlock().estimator;
    addText(QStringLiteral("Составил  %1  /%2/")
                .arg(line, estimator.isEmpty() ? line : printable(estimator)),
            Body, 10 * unit_)
        .keepWithNext = true;
    addText(QStringLiteral("Проверил  %1  /%1/").arg(line), Body, 8 * unit_);
}

// A row is as tall as its tallest cell.
double Layout::heightOf(const std::vector<Box>& boxes) {
    double tallest = fitter_.metrics(Body).lineSpacing();
    for (const Box& box : boxes) {
        double height = fitter_.height(fitter_.fit(box.face, box.text, inner(box)), box.face);
        for (const QString& detail : box.details)
            height += fitter_.height(fitter_.fit(Small, detail, inner(box)), Small);
        tallest = std::max(tallest, height);
    }
    return tallest + 2 * padY_;
}

bool Layout::build() {
    if (!measureColumns())
        return false;
    width_ = device_.width();
    bodyHeight_ = device_.height() - fitter_.metrics(Small).lineSpacing() - 3 * unit_;
    widths_.plan(width_);
    addTitleBlock();
    addLines();
    addTotals();
    int lines = 0;
    for (Row& row : rows_) {
        if (row.line < 0) {
            row.height = heightOf(row.boxes);
        } else {
            row.height = heightOf(lineBoxes(row.line));
            if (!goOn(1, ++lines))
                return false;
        }
    }
    paginate();
    return true;
}

const Row& Layout::continuation(int group) {
    if (const Row* row = continuationOf_[std::size_t(group)])
        return *row;
    Row row = *groupRows_[std::size_t(group)];
    row.boxes.front().text =
        printable(report_.rooms()[std::size_t(group)].title) + QStringLiteral(" (продолжение)");
    row.opensGroup = false;
    row.height = heightOf(row.boxes);
    continuations_.push_back(std::move(row));
    continuationOf_[std::size_t(group)] = &continuations_.back();
    return continuations_.back();
}

void Layout::paginate() {
    pages_.emplace_back();
    double y = 0;
    bool fresh = true; // nothing but repeated headings on the page yet
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        double needed = (fresh ? 0 : row.spaceBefore) + row.height;
        for (std::size_t next = i; rows_[next].keepWithNext && next + 1 < rows_.size(); ++next)
            needed += rows_[next + 1].spaceBefore + rows_[next + 1].height;
        if (!fresh && y + needed > bodyHeight_) {
            pages_.emplace_back();
            y = 0;
            fresh = true;
        }
        if (fresh && pages_.size() > 1) {
            if (row.header) {
                pages_.back().push_back({row.header, y});
                y += row.header->height;
            }
            if (row.group >= 0 && !row.opensGroup) {
                const Row& heading = continuation(row.group);
                pages_.back().push_back({&heading, y});
                y += heading.height;
            }
        } else if (!fresh) {
            y += row.spaceBefore;
        }
        // A row taller than a page (a cell of pages of text) starts a page and is cut at its
        // foot: no estimate's line comes near it.
        pages_.back().push_back({&row, y});
        y += row.height;
        fresh = false;
    }
}

// The text's lines as fitted, from `top` down, which is left under the last.
void Layout::paintText(QPainter& painter, Pen& pen, const QString& text, Face face, const Box& box,
                       double& top) const {
    TextFitter& fitter = pen.fitter;
    const FittedText& fitted = fitter.fit(face, text, inner(box));
    if (!fitted.lines())
        return;
    const QFont& font = fitter.font(face, fitted.size);
    if (pen.font != &font) {
        painter.setFont(font);
        pen.font = &font;
    }
    const QFontMetricsF& metrics = fitter.metrics(face, fitted.size);
    for (int line = 0; line < fitted.lines(); ++line) {
        const qsizetype start = fitted.starts[std::size_t(line)];
        const qsizetype end =
            line + 1 < fitted.lines() ? fitted.starts[std::size_t(line + 1)] : text.size();
        QString piece = text.mid(start, end - start);
        while (!piece.isEmpty() && (piece.back().isSpace() || piece.back() == QChar::LineSeparator))
            piece.chop(1);
        double x = box.x + padX_;
        if (box.align & (Qt::AlignRight | Qt::AlignHCenter)) {
            const double free = inner(box) - fitted.widths[std::size_t(line)];
            x += box.align & Qt::AlignRight ? free : free / 2;
        }
        for (const QGlyphRun& run : fitter.shaped(face, fitted.size, piece))
            painter.drawGlyphRun(QPointF(x, top + metrics.ascent()), run);
        top += metrics.lineSpacing();
    }
}

void Layout::paintRow(QPainter& painter, Pen& pen, const Row& row, double y) const {
    const std::vector<Box> made = row.line >= 0 ? lineBoxes(row.line) : std::vector<Box>();
    const std::vector<Box>& boxes = row.line >= 0 ? made : row.boxes;
    if (boxes.empty())
        return;
    const double left = boxes.front().x;
    const double right = boxes.back().x + boxes.back().width;
    if (row.style == Style::Header || row.style == Style::Subtotal)
        painter.fillRect(QRectF(left, y, right - left, row.height), row.style == Style::Header
                                                                        ? QColor(0xdd, 0xdd, 0xdd)
                                                                        : QColor(0xee, 0xee, 0xee));
    for (const Box& box : boxes) {
        double top = y + padY_;
        paintText(painter, pen, box.text, box.face, box, top);
        if (box.details.isEmpty())
            continue;
        painter.setPen(kDetailColour);
        for (const QString& detail : box.details)
            paintText(painter, pen, detail, Small, box, top);
        painter.setPen(Qt::black);
    }
    if (row.style == Style::Plain)
        return;
    std::vector<QLineF> rules{{left, y, right, y}, {left, y + row.height, right, y + row.height}};
    for (const Box& box : boxes)
        rules.emplace_back(box.x, y, box.x, y + row.height);
    rules.emplace_back(right, y, right, y + row.height);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), device_.logicalDpiX() * 0.5 / 72));
    painter.drawLines(rules.data(), int(rules.size()));
    painter.setPen(Qt::black);
}

bool Layout::paint(QPagedPaintDevice& device) {
    int lines = 0;
    return paintPages(device, fitter_, 0, pageCount(), [&](int onPage) {
        lines += onPage;
        return !progress_ || progress_(2 * (lineCount() + 1) + lines, 3 * (lineCount() + 1));
    });
}

bool Layout::paintPages(QPagedPaintDevice& device, TextFitter& fitter, int from, int to,
                        const std::function<bool(int lines)>& pageDone) const {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setPen(Qt::black);
    Pen pen{fitter};
    const QString object = report_.titleBlock().object;
    const QString footer =
        object.isEmpty() ? kHeading : kHeading + QStringLiteral(": ") + printable(object);
    const QFontMetricsF& small = fitter.metrics(Small);
    const double footerBaseline = device.height() - small.descent();
    for (int page = from; page < to; ++page) {
        if (page > from && !device.newPage()) {
            painter.end();
            return false;
        }
        const std::vector<Placed>& placed = pages_[std::size_t(page)];
        const bool overflows =
            !placed.empty() && placed.back().y + placed.back().row->height > bodyHeight_;
        if (overflows)
            painter.setClipRect(QRectF(0, 0, width_, bodyHeight_));
        int lines = 0;
        for (const Placed& p : placed) {
            paintRow(painter, pen, *p.row, p.y);
            lines += p.row->line >= 0;
        }
        if (overflows)
            painter.setClipping(false);
        painter.setFont(fitter.font(Small));
        pen.font = nullptr;
        const QString number = QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pageCount());
        painter.drawText(QPointF(width_ - small.horizontalAdvance(number), footerBaseline), number);
        if (page)
            painter.drawText(QPointF(0, footerBaseline),
                             small.elidedText(footer, Qt::ElideRight, width_ / 2));
        if (pageDone && !pageDone(lines)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

bool Layout::paintInRuns(const QPdfWriter& like, const QStringList& paths, bool& unwritable) const {
    const int runs = int(paths.size());
    std::atomic<int> lines = 0, finished = 0;
    std::atomic<bool> stop = false, failed = false;
    std::vector<std::thread> threads;
    for (int run = 0; run < runs; ++run)
        threads.emplace_back([&, run] {
            // Written whole, its last bytes checked, as the document's own file is.
            ReplacementFile file(paths[run]);
            bool painted = false;
            if (file.problem().isEmpty()) {
                QPdfWriter writer(&file);
                writer.setTitle(like.title());
                writer.setCreator(like.creator());
                writer.setPageLayout(like.pageLayout());
                TextFitter fitter(writer);
                addFaces(fitter);
                painted = paintPages(writer, fitter, pageCount() * run / runs,
                                     pageCount() * (run + 1) / runs, [&](int onPage) {
                                         lines += onPage;
                                         return !stop && file.problem().isEmpty();
                                     });
            }
            if (!file.problem().isEmpty() || (painted && !file.commit().isEmpty())) {
                failed = true;
                stop = true;
            }
            ++finished;
        });
    // This thread tells the progress, as it would painting alone, and passes on a cancel.
    while (finished < runs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (progress_ && !progress_(2 * (lineCount() + 1) + lines, 3 * (lineCount() + 1)))
            stop = true;
    }
    for (std::thread& thread : threads)
        thread.join();
    unwritable = failed;
    return !stop;
}

QPageLayout pageLayout(bool landscape) {
    return QPageLayout(
        QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

// QPdfWriter writes and compresses every glyph on the thread that paints: a long sheet is
// painted in as many runs of pages as there are cores, each to a file, and the files joined.
int runsOf(int pages) {
    constexpr int kPagesARun = 100; // below which a thread and a join cost more than they save
    return std::clamp(std::min(QThread::idealThreadCount(), pages / kPagesARun), 1, 8);
}

// Portrait where the columns read well across it, landscape where they must have more width.
bool orient(QPagedPaintDevice& device, Layout& layout) {
    if (!layout.measureColumns())
        return false;
    device.setPageLayout(pageLayout(!layout.fitsPortrait()));
    return true;
}

} // namespace

void setUpPages(QPagedPaintDevice& device, const SheetView& view) {
    const Report report = Report::of(view);
    Layout layout(report, device, {});
    orient(device, layout);
}

bool paintSheet(const SheetView& view, QPagedPaintDevice& device, const QDate& today,
                const std::function<bool(int done, int total)>& progress) {
    const Report report = Report::of(view, today);
    Layout layout(report, device, progress);
    return layout.build() && layout.paint(device);
}

namespace {

// Lays the pages out and paints them, to `file` or, for a long sheet, in runs of pages to files
// in `folder`; `runs` tells which. Empty where painted, otherwise why not.
QString paintPdf(const SheetView& view, ReplacementFile& file, const ExportProgress& progress,
                 std::optional<QTemporaryDir>& folder, QStringList& runs) {
    const Report report = Report::of(view);
    QPdfWriter writer(&file);
    writer.setTitle(printable(report.titleBlock().title()));
    writer.setCreator(QStringLiteral("Velaro"));
    // A file that can no longer be written stops the painting: the rest would be for nothing.
    Layout layout(report, writer, [&](int done, int total) {
        return file.problem().isEmpty() && (!progress || progress(done, total));
    });
    const QString stopped = QStringLiteral("прервано");
    if (!orient(writer, layout) || !layout.build())
        return file.problem().isEmpty() ? stopped : file.problem();
    const auto paintedWhole = [&] {
        return layout.paint(writer)       ? QString()
               : file.problem().isEmpty() ? stopped
                                          : file.problem();
    };
    const int count = canJoinPdf() ? runsOf(layout.pageCount()) : 1;
    if (count == 1 || !folder.emplace().isValid())
        return paintedWhole();
    for (int run = 0; run < count; ++run)
        runs << folder->filePath(QString::number(run) + QStringLiteral(".pdf"));
    bool unwritable = false;
    if (layout.paintInRuns(writer, runs, unwritable))
        return {};
    if (!unwritable)
        return stopped;
    // The temporary folder cannot take the runs (a small or full /tmp): the pages go straight
    // to the file in one run, as a short sheet's do.
    runs.clear();
    return paintedWhole();
}

} // namespace

QString writePdf(const SheetView& view, const QString& path, const ExportProgress& progress) {
    // Written to its file as the pages are painted, so that a long sheet is never held whole.
    ReplacementFile file(path);
    if (!file.problem().isEmpty())
        return file.problem();
    std::optional<QTemporaryDir> folder;
    QStringList runs;
    // The layout is gone before the runs are joined, which holds the pages' index.
    if (const QString problem = paintPdf(view, file, progress, folder, runs); !problem.isEmpty())
        return problem;
    if (!runs.isEmpty())
        if (const QString error = joinPdf(runs, file); !error.isEmpty())
            return file.problem().isEmpty() ? error : file.problem();
    return file.commit();
}

} // namespace velaro
