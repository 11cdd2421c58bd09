#include "estimate/sheetpages.h"

#include "estimate/report.h"
#include "estimate/safefile.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <deque>

namespace velaro {

// ---- The pages ----

namespace {

// The columns paper shows: those with something in them, and the quantity in the norms' unit
// only where a line is priced by a norm.
std::vector<Column> printedColumns(const SheetView& view) {
    const bool priced =
        std::any_of(view.sheet.lines.begin(), view.sheet.lines.end(), [&](const Line& line) {
            return !cellText(line, {}, Column::Code, view.separator, view.sheet).isEmpty();
        });
    std::vector<Column> columns;
    for (Column column : kColumnOrder) {
        const bool wanted = column != Column::NormQuantity || priced;
        bool filled = false;
        for (qsizetype i = 0; wanted && !filled && i < view.sheet.lines.size(); ++i)
            filled = !cellText(view.sheet.lines[i], view.figures[std::size_t(i)], column,
                               view.separator, view.sheet)
                          .isEmpty();
        if (filled || column == Column::Room || column == Column::Element)
            columns.push_back(column);
    }
    return columns;
}

// The texts get the width the figures leave them, shared by how much they hold; figures
// (weight 0) get the width of their widest.
int weightOf(Column column) {
    switch (column) {
    case Column::Measurements:
    case Column::Formula:
        return 6;
    case Column::Conditions:
    case Column::Element:
        return 4;
    case Column::Room:
    case Column::System:
        return 3;
    default:
        return 0;
    }
}

constexpr double kMarginMm = 15;
constexpr double kA4WidthMm = 210;
constexpr double kFigureMostMm = 40; // a figure column wider wraps its figures
const QString kHeading = QStringLiteral("Ведомость окраски");

enum Face { Body, Bold, Heading, Title, Small, kFaces };

// The faces in the device's resolution, measured as they will be painted.
struct Faces {
    explicit Faces(QPaintDevice& device) {
        const struct {
            double points;
            bool bold;
        } looks[kFaces] = {{8, false}, {8, true}, {14, true}, {11, true}, {7, false}};
        for (const auto& look : looks) {
            QFont font(QStringLiteral("Liberation Sans"));
            font.setStyleHint(QFont::SansSerif);
            font.setPointSizeF(look.points);
            font.setBold(look.bold);
            fonts.push_back(QFont(font, &device));
            metrics.emplace_back(fonts.back(), &device);
        }
    }
    std::vector<QFont> fonts;
    std::vector<QFontMetricsF> metrics;
};

// A text in its place on a row; wrapped within its width when measured.
struct Box {
    QString text;
    double x = 0, width = 0;
    Face face = Body;
    Qt::Alignment align = Qt::AlignLeft;
    std::vector<int> breaks; // where each line after the first starts; empty: one line
};

enum class Style { Plain, Grid, Header, Group, Subtotal };

struct Row {
    std::vector<Box> boxes;
    Style style = Style::Plain;
    double height = 0;
    double spaceBefore = 0;      // left out at the top of a page
    const Row* header = nullptr; // what a page starting with this row shows first
    int group = -1;              // the room of the lines' rows
    bool opensGroup = false;
    bool keepWithNext = false; // never the last on its page
};

class Layout {
  public:
    Layout(const SheetView& view, QPaintDevice& device)
        : view_(view), device_(device), faces_(device) {
        unit_ = device.logicalDpiX() / 25.4;
        padX_ = device.logicalDpiX() * 2.0 / 72;
        padY_ = device.logicalDpiY() * 1.2 / 72;
        columns_ = printedColumns(view);
    }

    // Whether the columns fit across a portrait page: the figures at their widest, the texts at
    // 6 mm a share of weight or their longest.
    bool fitsPortrait() {
        collectCells();
        double wanted = naturalOfNumber();
        for (std::size_t c = 0; c < columns_.size(); ++c)
            wanted += weightOf(columns_[c])
                          ? std::min(natural_[c], weightOf(columns_[c]) * 6 * unit_)
                          : std::min(natural_[c], kFigureMostMm * unit_);
        return wanted <= (kA4WidthMm - 2 * kMarginMm) * unit_;
    }

    bool build(const QDate& today, const std::function<bool(int, int)>& progress);
    bool paint(QPagedPaintDevice& device, const std::function<bool(int, int)>& progress);

  private:
    void collectCells();
    double naturalOfNumber() const {
        return std::max(advance(Bold, kNumberTitle),
                        advance(Body, QString::number(view_.sheet.lines.size()))) +
               2 * padX_;
    }
    void planColumns(double width);
    double advance(Face face, const QString& text) const {
        return faces_.metrics[face].horizontalAdvance(text);
    }
    double widestWord(Face face, const QString& text) const {
        double widest = 0;
        for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, advance(face, word));
        return widest;
    }
    Row& add(Style style = Style::Plain, double spaceBefore = 0) {
        rows_.emplace_back();
        rows_.back().style = style;
        rows_.back().spaceBefore = spaceBefore;
        return rows_.back();
    }
    static Box& put(Row& row, const QString& text, double x, double width, Face face = Body,
                    Qt::Alignment align = Qt::AlignLeft) {
        row.boxes.push_back({text, x, width, face, align, {}});
        return row.boxes.back();
    }
    // A line of text across the page.
    Row& addText(const QString& text, Face face = Body, double spaceBefore = 0,
                 Qt::Alignment align = Qt::AlignLeft) {
        Row& row = add(Style::Plain, spaceBefore);
        put(row, text, 0, width_, face, align);
        return row;
    }
    void addTitleBlock(const QDate& today);
    void addLines();
    void addTotals();
    void measure(Row& row);
    void measure(Box& box, double& height);
    void paginate();
    void paintRow(QPainter& painter, const Row& row, double y) const;
    const Row& continuation(int group);

    const SheetView& view_;
    QPaintDevice& device_;
    Faces faces_;
    double unit_, padX_, padY_;
    double width_ = 0, bodyHeight_ = 0;
    std::vector<Column> columns_;
    bool collected_ = false;
    std::vector<QStringList> cells_; // per line, the printed columns' texts
    std::vector<double> natural_;    // per column: its widest figure, or its longest text
    std::vector<double> minimum_;    // per column: its heading's widest word
    std::vector<double> x_, widths_; // the number's column first, then the printed ones
    std::deque<Row> rows_;           // a deque: rows refer to their header
    Row* tableHeader_ = nullptr;
    QStringList groups_;
    std::vector<Row*> groupRows_;
    std::deque<Row> continuations_;
    QHash<int, const Row*> continuationOf_;
    struct Placed {
        const Row* row;
        double y;
    };
    std::vector<std::vector<Placed>> pages_;
};

void Layout::collectCells() {
    if (collected_)
        return;
    collected_ = true;
    const qsizetype count = view_.sheet.lines.size();
    cells_.reserve(std::size_t(count));
    std::vector<QString> longest(columns_.size());
    for (qsizetype i = 0; i < count; ++i) {
        QStringList texts;
        texts.reserve(qsizetype(columns_.size()));
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            QString text = cellText(view_.sheet.lines[i], view_.figures[std::size_t(i)],
                                    columns_[c], view_.separator, view_.sheet);
            if (text.contains(u'\n'))
                text.replace(u'\n', QChar::LineSeparator);
            if (text.size() > longest[c].size())
                longest[c] = text;
            texts << std::move(text);
        }
        cells_.push_back(std::move(texts));
    }
    // The widest text in each column is taken to be its longest: every cell measured here would
    // cost as much again as laying the rows out; figures are digits of one width.
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const QString title = columnTitle(columns_[c]);
        double widest = advance(Body, longest[c]);
        // A system's paint lists its layers: one under the other is as wide as it needs.
        if (columns_[c] == Column::Paint) {
            widest = 0;
            for (const QString& layer : longest[c].split(QStringLiteral("; ")))
                widest = std::max(widest, advance(Body, layer + u';'));
        }
        // A little more than the longest: a cell as long may be a little wider.
        natural_.push_back(std::max(widest, widestWord(Bold, title)) + 2 * padX_ + 0.5 * unit_);
        // A text keeps its words whole where it can: those of its heading, and those of its
        // longest cell up to a bound.
        minimum_.push_back(std::max(widestWord(Bold, title),
                                    weightOf(columns_[c])
                                        ? std::min(widestWord(Body, longest[c]), 25 * unit_)
                                        : 0.0) +
                           2 * padX_);
    }
    // The rooms' subtotals stand in the area's and the work's columns.
    for (const QString& room : view_.rooms) {
        const Totals::Sum sum = view_.totals.rooms().value(room);
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            if (columns_[c] == Column::Area)
                natural_[c] =
                    std::max(natural_[c],
                             advance(Bold, sum.value.text(view_.separator, 0, true)) + 2 * padX_);
            if (columns_[c] == Column::Work)
                natural_[c] =
                    std::max(natural_[c],
                             advance(Bold, sum.work.text(view_.separator, 2, true)) + 2 * padX_);
        }
    }
}

// Figures get their widest, within bounds; the texts share what is left by weight, none below
// its widest word, none above its longest text, what one does not need going to the
// others. Where the texts cannot have their least, the figures give way, and their texts wrap.
void Layout::planColumns(double width) {
    const std::size_t count = columns_.size();
    std::vector<double> widths(count + 1, 0);
    widths[0] = naturalOfNumber();
    double figures = widths[0];
    double least = 0;
    std::vector<std::size_t> texts;
    for (std::size_t c = 0; c < count; ++c) {
        if (weightOf(columns_[c])) {
            texts.push_back(c);
            least += minimum_[c];
        } else {
            widths[c + 1] = std::min(natural_[c], kFigureMostMm * unit_);
            figures += widths[c + 1];
        }
    }
    if (figures + least > width) {
        const double scale = std::max(0.0, width - least) / figures;
        for (std::size_t c = 0; c <= count; ++c)
            widths[c] = c && weightOf(columns_[c - 1]) ? minimum_[c - 1] : widths[c] * scale;
    } else {
        double left = width - figures;
        std::vector<std::size_t> open = texts;
        const auto weights = [&] {
            int sum = 0;
            for (std::size_t c : open)
                sum += weightOf(columns_[c]);
            return sum;
        };
        for (bool bounded = true; bounded && !open.empty();) {
            bounded = false;
            const int sum = weights();
            for (auto it = open.begin(); it != open.end(); ++it) {
                const double share = left * weightOf(columns_[*it]) / sum;
                const double bound = natural_[*it] <= share   ? natural_[*it]
                                     : minimum_[*it] >= share ? minimum_[*it]
                                                              : -1;
                if (bound >= 0) {
                    widths[*it + 1] = bound;
                    left -= bound;
                    open.erase(it);
                    bounded = true;
                    break;
                }
            }
        }
        if (open.empty())
            open = texts; // each has its longest: the rest of the page widens them all
        const int sum = weights();
        for (std::size_t c : open)
            widths[c + 1] += left * weightOf(columns_[c]) / std::max(1, sum);
    }
    double total = 0;
    for (double w : widths)
        total += w;
    if (total > width) // not even the headings' words fit: everything narrows alike
        for (double& w : widths)
            w *= width / total;
    x_.assign(count + 1, 0);
    for (std::size_t c = 1; c <= count; ++c)
        x_[c] = x_[c - 1] + widths[c - 1];
    widths_ = std::move(widths);
}

void Layout::addTitleBlock(const QDate& today) {
    const SheetProperties& properties = view_.sheet.properties;
    addText(kHeading, Heading, 0, Qt::AlignHCenter);
    if (!properties.object.trimmed().isEmpty())
        addText(properties.object.trimmed(), Title, 1.5 * unit_, Qt::AlignHCenter);
    const QString date = properties.date.trimmed().isEmpty()
                             ? today.toString(QStringLiteral("dd.MM.yyyy"))
                             : properties.date.trimmed();
    const std::pair<QString, QString> entries[] = {
        {QStringLiteral("Адрес:"), properties.address},
        {QStringLiteral("Заказчик:"), properties.client},
        {QStringLiteral("Подрядчик:"), properties.contractor},
        {QStringLiteral("Составил:"), properties.estimator},
        {QStringLiteral("Дата:"), date}};
    double labels = 0;
    for (const auto& [label, value] : entries)
        labels = std::max(labels, advance(Bold, label));
    labels += 2 * padX_;
    bool first = true;
    for (const auto& [label, value] : entries) {
        if (value.trimmed().isEmpty())
            continue;
        Row& row = add(Style::Plain, first ? 3 * unit_ : 0);
        put(row, label, 0, labels, Bold);
        put(row, value.trimmed(), labels, width_ - labels);
        first = false;
    }
}

void Layout::addLines() {
    if (view_.sheet.lines.isEmpty()) {
        addText(QStringLiteral("В ведомости нет строк."), Body, 4 * unit_);
        return;
    }
    Row& header = add(Style::Header, 4 * unit_);
    put(header, kNumberTitle, 0, widths_[0], Bold, Qt::AlignHCenter);
    for (std::size_t c = 0; c < columns_.size(); ++c)
        put(header, columnTitle(columns_[c]), x_[c + 1], widths_[c + 1], Bold, Qt::AlignHCenter);
    header.keepWithNext = true;
    tableHeader_ = &header;

    // The lines by room, in the order the estimator gives the rooms; a room the list lacks
    // still gets its group.
    groups_ = view_.rooms;
    QHash<QString, int> place;
    for (int i = 0; i < groups_.size(); ++i)
        place.insert(groups_[i], i);
    std::vector<std::vector<qsizetype>> members(std::size_t(groups_.size()));
    for (qsizetype i = 0; i < view_.sheet.lines.size(); ++i) {
        const QString& room = view_.sheet.lines[i].room;
        if (!place.contains(room)) {
            place.insert(room, int(groups_.size()));
            groups_ << room;
            members.emplace_back();
        }
        members[std::size_t(place.value(room))].push_back(i);
    }
    const auto area = std::find(columns_.begin(), columns_.end(), Column::Area);
    const std::size_t areaColumn = std::size_t(area - columns_.begin()) + 1; // past the number
    groupRows_.assign(members.size(), nullptr);
    for (std::size_t g = 0; g < members.size(); ++g) {
        if (members[g].empty())
            continue;
        Row& heading = add(Style::Group);
        put(heading, roomTitle(groups_[int(g)]), 0, width_, Bold);
        heading.header = tableHeader_;
        heading.group = int(g);
        heading.opensGroup = true;
        heading.keepWithNext = true;
        groupRows_[g] = &heading;
        for (qsizetype i : members[g]) {
            Row& row = add(Style::Grid);
            row.header = tableHeader_;
            row.group = int(g);
            row.boxes.reserve(columns_.size() + 1);
            put(row, QString::number(i + 1), 0, widths_[0], Body, Qt::AlignRight);
            const QStringList& texts = cells_[std::size_t(i)];
            // Empty cells too: each cell's rules are drawn with it.
            for (std::size_t c = 0; c < columns_.size(); ++c)
                put(row, texts[qsizetype(c)], x_[c + 1], widths_[c + 1], Body,
                    isFigureColumn(columns_[c]) ? Qt::AlignRight : Qt::AlignLeft);
        }
        rows_.back().keepWithNext = true; // the last line goes with the subtotal
        const Totals::Sum sum = view_.totals.rooms().value(groups_[int(g)]);
        Row& subtotal = add(Style::Subtotal);
        subtotal.header = tableHeader_;
        subtotal.group = int(g);
        // The label spans the columns before the area's.
        QString area = sum.value.text(view_.separator, 0, true);
        if (std::find(columns_.begin(), columns_.end(), Column::Unit) == columns_.end())
            area += QStringLiteral(" м2");
        put(subtotal, QStringLiteral("Итого по помещению «%1»").arg(roomTitle(groups_[int(g)])), 0,
            x_[areaColumn], Bold);
        for (std::size_t c = areaColumn - 1; c < columns_.size(); ++c) {
            QString text;
            if (columns_[c] == Column::Area)
                text = area;
            else if (columns_[c] == Column::Unit)
                text = QStringLiteral("м2");
            else if (columns_[c] == Column::Work)
                text = sum.work.text(view_.separator, 2, true);
            put(subtotal, text, x_[c + 1], widths_[c + 1], Bold,
                isFigureColumn(columns_[c]) ? Qt::AlignRight : Qt::AlignLeft);
        }
    }
}

void Layout::addTotals() {
    const double gap = 4 * unit_;
    const auto row = [&](const QString& label, const QString& value, Face face, double labelWidth,
                         double valueWidth, Style style = Style::Grid) -> Row& {
        Row& r = add(style);
        put(r, label, 0, labelWidth, face);
        put(r, value, labelWidth, valueWidth, face, Qt::AlignRight);
        return r;
    };
    addText(QStringLiteral("Итого площадь окраски: %1")
                .arg(areaText(view_.totals.area(), view_.separator)),
            Bold, gap);

    const std::vector<MaterialRow> materials = materialRows(view_);
    if (!materials.empty()) {
        const QString titles[] = {QStringLiteral("Материал"), QStringLiteral("Количество"),
                                  QStringLiteral("Банок"), QStringLiteral("Стоимость, руб.")};
        double widths[4];
        for (int c = 0; c < 4; ++c)
            widths[c] = advance(Bold, titles[c]);
        for (const MaterialRow& m : materials) {
            const QString* texts[] = {&m.name, &m.quantity, &m.cans, &m.cost};
            for (int c = 0; c < 4; ++c)
                widths[c] = std::max(widths[c], advance(Body, *texts[c]));
        }
        widths[0] = std::min(widths[0], 90 * unit_);
        double x[4] = {0};
        for (int c = 0; c < 4; ++c) {
            widths[c] += 2 * padX_;
            if (c)
                x[c] = x[c - 1] + widths[c - 1];
        }
        addText(QStringLiteral("Материалы"), Bold, gap).keepWithNext = true;
        Row& header = add(Style::Header);
        for (int c = 0; c < 4; ++c)
            put(header, titles[c], x[c], widths[c], Bold, Qt::AlignHCenter);
        header.keepWithNext = true;
        for (const MaterialRow& m : materials) {
            Row& r = add(Style::Grid);
            r.header = &header;
            const QString* texts[] = {&m.name, &m.quantity, &m.cans, &m.cost};
            for (int c = 0; c < 4; ++c)
                put(r, *texts[c], x[c], widths[c], Body, c ? Qt::AlignRight : Qt::AlignLeft);
        }
    }

    // The money, the sum in words and the signatures stay together on the last page.
    const Money money = moneyOf(view_);
    const QString label = QStringLiteral("Стоимость");
    addText(label, Bold, gap).keepWithNext = true;
    QList<std::pair<QString, Decimal>> sums{{QStringLiteral("Материалы"), money.materials},
                                            {QStringLiteral("Работы"), money.work}};
    if (money.vat)
        sums << std::pair{QStringLiteral("Итого без НДС"), money.subtotal}
             << std::pair{QStringLiteral("НДС %1%").arg(money.vatRate->text(view_.separator)),
                          *money.vat};
    const double labelWidth = 60 * unit_;
    double valueWidth = 30 * unit_;
    for (const auto& [name, value] : sums)
        valueWidth = std::max(valueWidth, advance(Bold, moneyText(value, view_.separator)));
    valueWidth = std::max(valueWidth, advance(Bold, moneyText(money.total, view_.separator)));
    valueWidth += 2 * padX_;
    for (const auto& [name, value] : sums)
        row(name, moneyText(value, view_.separator), Body, labelWidth, valueWidth).keepWithNext =
            true;
    row(QStringLiteral("Всего"), moneyText(money.total, view_.separator), Bold, labelWidth,
        valueWidth, Style::Subtotal)
        .keepWithNext = true;
    Row& words = add(Style::Plain, 2 * unit_);
    const QString wordsLabel = QStringLiteral("Сумма прописью:");
    const double wordsLabelWidth = advance(Bold, wordsLabel) + 2 * padX_;
    put(words, wordsLabel, 0, wordsLabelWidth, Bold);
    put(words, roublesInWords(money.total), wordsLabelWidth, width_ - wordsLabelWidth);
    words.keepWithNext = true;
    const QString estimator = view_.sheet.properties.estimator.trimmed();
    const QString line = QStringLiteral("____________________");
    addText(
        QStringLiteral("Составил  %1  /%2/")
            .arg(line, estimator.isEmpty() ? QStringLiteral("____________________") : estimator),
        Body, 10 * unit_)
        .keepWithNext = true;
    addText(QStringLiteral("Проверил  %1  /____________________/").arg(line), Body, 8 * unit_);
}

// One line where the text fits; otherwise it is laid out once, and only where its lines break
// is kept for painting.
void Layout::measure(Box& box, double& height) {
    const QFontMetricsF& metrics = faces_.metrics[box.face];
    const double inner = std::max(1.0, box.width - 2 * padX_);
    int lines = 1;
    if (box.text.contains(QChar::LineSeparator) || metrics.horizontalAdvance(box.text) > inner) {
        QTextLayout layout(box.text, faces_.fonts[box.face], &device_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(inner);
            if (lines++)
                box.breaks.push_back(line.textStart());
        }
        layout.endLayout();
    }
    height = std::max(height, std::max(1, lines) * metrics.lineSpacing() + 2 * padY_);
}

void Layout::measure(Row& row) {
    double height = faces_.metrics[Body].lineSpacing() + 2 * padY_;
    for (Box& box : row.boxes)
        measure(box, height);
    row.height = height;
}

bool Layout::build(const QDate& today, const std::function<bool(int, int)>& progress) {
    width_ = device_.width();
    const QFontMetricsF& small = faces_.metrics[Small];
    bodyHeight_ = device_.height() - small.lineSpacing() - 3 * unit_;
    collectCells();
    planColumns(width_);
    addTitleBlock(today);
    addLines();
    addTotals();
    const int total = int(rows_.size()) * 2;
    int done = 0;
    for (Row& row : rows_) {
        measure(row);
        if (++done % 64 == 0 && progress && !progress(done, total))
            return false;
    }
    paginate();
    return true;
}

const Row& Layout::continuation(int group) {
    if (const Row* row = continuationOf_.value(group))
        return *row;
    Row row = *groupRows_[std::size_t(group)];
    row.boxes.front().text = roomTitle(groups_[group]) + QStringLiteral(" (продолжение)");
    row.boxes.front().breaks.clear();
    row.opensGroup = false;
    measure(row);
    continuations_.push_back(std::move(row));
    continuationOf_.insert(group, &continuations_.back());
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

void Layout::paintRow(QPainter& painter, const Row& row, double y) const {
    if (row.boxes.empty())
        return;
    const double left = row.boxes.front().x;
    const double right = row.boxes.back().x + row.boxes.back().width;
    if (row.style == Style::Header || row.style == Style::Subtotal)
        painter.fillRect(QRectF(left, y, right - left, row.height), row.style == Style::Header
                                                                        ? QColor(0xdd, 0xdd, 0xdd)
                                                                        : QColor(0xee, 0xee, 0xee));
    Face face = kFaces;
    for (const Box& box : row.boxes) {
        if (box.text.isEmpty())
            continue;
        if (box.face != face) {
            face = box.face;
            painter.setFont(faces_.fonts[face]);
        }
        const QFontMetricsF& metrics = faces_.metrics[face];
        double baseline = y + padY_ + metrics.ascent();
        for (std::size_t line = 0; line <= box.breaks.size(); ++line) {
            const qsizetype start = line ? box.breaks[line - 1] : 0;
            const qsizetype end = line < box.breaks.size() ? box.breaks[line] : box.text.size();
            QString piece = box.text.mid(start, end - start);
            while (!piece.isEmpty() &&
                   (piece.back().isSpace() || piece.back() == QChar::LineSeparator))
                piece.chop(1);
            double x = box.x + padX_;
            if (box.align & (Qt::AlignRight | Qt::AlignHCenter)) {
                const double free = box.width - 2 * padX_ - metrics.horizontalAdvance(piece);
                x += box.align & Qt::AlignRight ? free : free / 2;
            }
            painter.drawText(QPointF(x, baseline), piece);
            baseline += metrics.lineSpacing();
        }
    }
    if (row.style == Style::Plain)
        return;
    std::vector<QLineF> rules{{left, y, right, y}, {left, y + row.height, right, y + row.height}};
    for (const Box& box : row.boxes)
        rules.emplace_back(box.x, y, box.x, y + row.height);
    rules.emplace_back(right, y, right, y + row.height);
    const QPen text = painter.pen();
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), device_.logicalDpiX() * 0.5 / 72));
    painter.drawLines(rules.data(), int(rules.size()));
    painter.setPen(text);
}

bool Layout::paint(QPagedPaintDevice& device, const std::function<bool(int, int)>& progress) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setPen(Qt::black);
    const int total = int(rows_.size()) * 2;
    int done = int(rows_.size());
    const int pages = int(pages_.size());
    const QString object = view_.sheet.properties.object.trimmed();
    const QString footer = object.isEmpty() ? kHeading : kHeading + QStringLiteral(": ") + object;
    const QFontMetricsF& small = faces_.metrics[Small];
    const double footerBaseline = device.height() - small.descent();
    for (int page = 0; page < pages; ++page) {
        if (page && !device.newPage()) {
            painter.end();
            return false;
        }
        const std::vector<Placed>& placed = pages_[std::size_t(page)];
        const bool overflows =
            !placed.empty() && placed.back().y + placed.back().row->height > bodyHeight_;
        if (overflows)
            painter.setClipRect(QRectF(0, 0, width_, bodyHeight_));
        for (const Placed& p : placed)
            paintRow(painter, *p.row, p.y);
        if (overflows)
            painter.setClipping(false);
        painter.setFont(faces_.fonts[Small]);
        const QString number = QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages);
        painter.drawText(QPointF(width_ - small.horizontalAdvance(number), footerBaseline), number);
        if (page)
            painter.drawText(QPointF(0, footerBaseline),
                             small.elidedText(footer, Qt::ElideRight, width_ / 2));
        done += int(placed.size());
        if (progress && !progress(std::min(done, total), total)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

QPageLayout pageLayout(bool landscape) {
    return QPageLayout(
        QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

} // namespace

void setUpPages(QPagedPaintDevice& device, const SheetView& view) {
    device.setPageLayout(pageLayout(false));
    Layout layout(view, device);
    if (!layout.fitsPortrait())
        device.setPageLayout(pageLayout(true));
}

bool paintSheet(const SheetView& view, QPagedPaintDevice& device, const QDate& today,
                const std::function<bool(int done, int total)>& progress) {
    Layout layout(view, device);
    return layout.build(today, progress) && layout.paint(device, progress);
}

QString writePdf(const SheetView& view, const QString& path, const ExportProgress& progress) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const QString object = view.sheet.properties.object.trimmed();
    writer.setTitle(object.isEmpty() ? QStringLiteral("Ведомость окраски") : object);
    writer.setCreator(QStringLiteral("Velaro"));
    setUpPages(writer, view);
    if (!paintSheet(view, writer, QDate::currentDate(), progress))
        return QStringLiteral("прервано");
    return writeFileWhole(path, bytes);
}

} // namespace velaro
