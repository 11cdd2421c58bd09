#include "estimate/paperwidths.h"

#include "estimate/report.h"
#include "estimate/textfit.h"

#include <algorithm>

namespace velaro {
namespace {

// A text column reads well at this many millimetres a share of its weight.
constexpr double kComfortMmPerWeight = 9;
// A word longer than this does not widen its column: it takes a smaller type instead.
constexpr double kWordMostMm = 35;

} // namespace

PaperWidths::PaperWidths(const Report& report, TextFitter& fitter, Faces faces, double millimetre,
                         double padding)
    : report_(report), fitter_(fitter), faces_(faces), millimetre_(millimetre), padding_(padding),
      columns_(paperColumns(report.view())) {}

double PaperWidths::headingWord(const QString& title) {
    double widest = 0;
    for (const QString& word : title.split(u' '))
        widest = std::max(widest, fitter_.natural(faces_.bold, word).width);
    return widest;
}

bool PaperWidths::measure(const std::function<bool(int)>& goOn) {
    const SheetView& view = report_.view();
    const std::size_t count = columns_.size();
    natural_.assign(count, 0);
    minimum_.assign(count, 0);
    // A figure never wraps; a text wraps past its longest word, up to a bound.
    const auto take = [&](std::size_t c, int face, const QString& text) {
        const TextFitter::Natural natural = fitter_.natural(face, text);
        natural_[c] = std::max(natural_[c], natural.width);
        minimum_[c] = std::max(minimum_[c], columns_[c].weight ? std::min(natural.widestWord,
                                                                          kWordMostMm * millimetre_)
                                                               : natural.width);
    };
    for (std::size_t c = 0; c < count; ++c)
        natural_[c] = minimum_[c] = headingWord(columns_[c].title);
    const int lines = int(view.sheet.lines.size());
    for (int line = 0; line < lines; ++line) {
        for (std::size_t c = 0; c < count; ++c) {
            const PaperText cell = paperCell(view, line, columns_[c].cell);
            take(c, faces_.body, cell.main);
            for (const QString& detail : cell.details)
                take(c, faces_.small, detail);
        }
        if (!goOn(line + 1))
            return false;
    }
    // The rooms' subtotals stand in the quantity's and the work's columns.
    for (const ReportRoom& room : report_.rooms())
        for (std::size_t c = 0; c < count; ++c) {
            if (columns_[c].cell == PaperCell::Quantity)
                take(c, faces_.bold, paperArea(room.area, view.separator));
            if (columns_[c].cell == PaperCell::Work)
                take(c, faces_.bold, room.work.text(view.separator, 2, true));
        }
    for (std::size_t c = 0; c < count; ++c) {
        natural_[c] += 2 * padding_;
        minimum_[c] += 2 * padding_;
    }
    number_ = std::max(fitter_.natural(faces_.bold, kNumberTitle).width,
                       fitter_.natural(faces_.body, QString::number(lines)).width) +
              2 * padding_;
    return true;
}

bool PaperWidths::readWell(double width) const {
    double wanted = number_;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const int weight = columns_[c].weight;
        wanted += weight
                      ? std::max(minimum_[c],
                                 std::min(natural_[c], weight * kComfortMmPerWeight * millimetre_))
                      : natural_[c];
    }
    return wanted <= width;
}

// What one text does not need goes to the others; where not even the least fits, everything
// narrows alike and the words that no longer fit take a smaller type.
void PaperWidths::plan(double width) {
    const std::size_t count = columns_.size();
    std::vector<double> widths(count + 1, 0);
    widths[0] = number_;
    double left = width - number_;
    std::vector<std::size_t> open;
    for (std::size_t c = 0; c < count; ++c) {
        if (columns_[c].weight) {
            widths[c + 1] = minimum_[c];
            open.push_back(c);
        } else {
            widths[c + 1] = natural_[c];
        }
        left -= widths[c + 1];
    }
    // The room left over goes to the texts by weight, each up to its longest.
    while (left > 0.5 && !open.empty()) {
        int weights = 0;
        for (std::size_t c : open)
            weights += columns_[c].weight;
        double given = 0;
        for (auto it = open.begin(); it != open.end();) {
            const double share = left * columns_[*it].weight / weights;
            const double more = std::min(share, natural_[*it] - widths[*it + 1]);
            widths[*it + 1] += more;
            given += more;
            it = more < share ? open.erase(it) : it + 1;
        }
        left -= given;
        if (given < 0.5)
            break;
    }
    // Every text at its longest: the rest of the page widens them alike.
    if (left > 0.5 && open.empty()) {
        int weights = 0;
        for (const PaperColumn& column : columns_)
            weights += column.weight;
        for (std::size_t c = 0; c < count; ++c)
            widths[c + 1] += left * columns_[c].weight / std::max(1, weights);
    }
    double total = 0;
    for (double w : widths)
        total += w;
    if (total > width)
        for (double& w : widths)
            w *= width / total;
    x_.assign(count + 1, 0);
    for (std::size_t c = 1; c <= count; ++c)
        x_[c] = x_[c - 1] + widths[c - 1];
    widths_ = std::move(widths);
}

} // namespace velaro
