#include "estimate/textfit.h"

#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace velaro {
namespace {

constexpr qreal kTolerance = 0.01; // of a device pixel: sums of the same widths may differ so

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// A figure keeps its unit on its line: «5,99 м2», «10 штук», «20 мм;».
bool isUnitAfterFigure(const QString& text, qsizetype blank, qsizetype next) {
    if (blank == 0 || !text[blank - 1].isDigit() || next >= text.size() || !text[next].isLower())
        return false;
    qsizetype end = next;
    while (end < text.size() && text[end].isLetterOrNumber())
        ++end;
    return end - next <= 4;
}

// A word, the blanks after it, and whether a line ends there whatever the width.
struct Piece {
    qsizetype start, end, next;
    bool lineEnds;
};

std::vector<Piece> piecesOf(const QString& text) {
    std::vector<Piece> pieces;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size;) {
        const QChar c = text[i];
        if (c == QChar::LineSeparator) {
            pieces.push_back({start, i, i + 1, true});
            start = ++i;
        } else if (isBlank(c)) {
            qsizetype next = i;
            while (next < size && isBlank(text[next]))
                ++next;
            if (!isUnitAfterFigure(text, i, next)) {
                pieces.push_back({start, i, next, false});
                start = next;
            }
            i = next;
        } else if (++i < size && (c == u'-' || c == u'/' || c == u'×') && text[i].isLetter()) {
            pieces.push_back({start, i, i, false});
            start = i;
        }
    }
    if (start < size)
        pieces.push_back({start, size, size, false});
    return pieces;
}

// A crafted sheet of texts all different must not grow a cache without end.
template <class Cache> void keepBounded(Cache& cache, qsizetype most = 50000) {
    if (cache.size() >= most)
        cache.clear();
}

} // namespace

int TextFitter::addFace(const QFont& font, const std::vector<qreal>& points) {
    std::vector<Sized> sizes;
    for (const qreal point : points) {
        QFont sized(font);
        sized.setPointSizeF(point);
        const QFont onDevice(sized, &device_);
        const QFontMetricsF metrics(onDevice, &device_);
        sizes.push_back({onDevice, metrics, metrics.horizontalAdvance(u' ')});
    }
    faces_.push_back(std::move(sizes));
    return int(faces_.size()) - 1;
}

qreal TextFitter::wordWidth(int face, int size, const QString& text, qsizetype from, qsizetype to) {
    if (from == to)
        return 0;
    const Key key{face, size, 0, from == 0 && to == text.size() ? text : text.mid(from, to - from)};
    if (const auto found = words_.constFind(key); found != words_.cend())
        return *found;
    keepBounded(words_);
    return *words_.insert(key, sized(face, size).metrics.horizontalAdvance(key.text));
}

TextFitter::Natural TextFitter::natural(int face, const QString& text) {
    const Key key{face, 0, -1, text};
    if (const auto found = naturals_.constFind(key); found != naturals_.cend())
        return *found;
    keepBounded(naturals_);
    Natural natural;
    qreal line = 0, pending = 0;
    for (const Piece& piece : piecesOf(text)) {
        const qreal word = wordWidth(face, 0, text, piece.start, piece.end);
        natural.widestWord = std::max(natural.widestWord, word);
        line += pending + word;
        natural.width = std::max(natural.width, line);
        pending = piece.lineEnds ? 0 : sized(face, 0).blank * qreal(piece.next - piece.end);
        if (piece.lineEnds)
            line = 0;
    }
    return *naturals_.insert(key, natural);
}

const QList<QGlyphRun>& TextFitter::shaped(int face, int size, const QString& line) {
    const Key key{face, size, 0, line};
    if (const auto found = shaped_.constFind(key); found != shaped_.cend())
        return *found;
    keepBounded(shaped_, 8192); // a line's glyphs weigh more than its measures
    QTextLayout layout(line, sized(face, size).font, &device_);
    layout.beginLayout();
    QTextLine only = layout.createLine();
    only.setNumColumns(int(line.size()));
    layout.endLayout();
    QList<QGlyphRun> runs = layout.glyphRuns();
    for (QGlyphRun& run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& position : positions)
            position.ry() -= only.ascent();
        run.setPositions(positions);
    }
    return *shaped_.insert(key, std::move(runs));
}

const FittedText& TextFitter::fit(int face, const QString& text, qreal width) {
    const Key key{face, 0, int(std::ceil(width)), text};
    if (const auto found = fitted_.constFind(key); found != fitted_.cend())
        return *found;
    keepBounded(fitted_);
    const int sizes = int(faces_[std::size_t(face)].size());
    FittedText fitted;
    bool overflows = true;
    for (int size = 0; overflows && size < sizes; ++size)
        fitted = fill(face, size, text, key.width, false, overflows);
    if (overflows)
        fitted = fill(face, sizes - 1, text, key.width, true, overflows);
    return *fitted_.insert(key, std::move(fitted));
}

FittedText TextFitter::fill(int face, int size, const QString& text, qreal width, bool anywhere,
                            bool& overflows) {
    FittedText fitted;
    fitted.size = size;
    overflows = false;
    qreal line = 0, pending = 0;
    bool open = false; // a line is begun
    // Adds a run of the text [from, to) as wide as `advance`, on a new line where it does not fit.
    const auto place = [&](qsizetype from, qreal advance) {
        if (open && line > 0 && line + pending + advance > width + kTolerance) {
            fitted.widths.push_back(line);
            open = false;
        }
        if (!open) {
            fitted.starts.push_back(int(from));
            line = advance;
            open = true;
        } else {
            line += pending + advance;
        }
        pending = 0;
    };
    for (const Piece& piece : piecesOf(text)) {
        const qreal word = wordWidth(face, size, text, piece.start, piece.end);
        overflows = overflows || word > width + kTolerance;
        if (anywhere && word > width + kTolerance) {
            // Character by character, a surrogate pair as one.
            for (qsizetype at = piece.start; at < piece.end;) {
                const qsizetype next =
                    text[at].isHighSurrogate() && at + 1 < piece.end ? at + 2 : at + 1;
                place(at, wordWidth(face, size, text, at, next));
                at = next;
            }
        } else {
            place(piece.start, word);
        }
        pending = piece.lineEnds ? 0 : sized(face, size).blank * qreal(piece.next - piece.end);
        if (piece.lineEnds) {
            fitted.widths.push_back(line);
            open = false;
        }
    }
    if (open)
        fitted.widths.push_back(line);
    return fitted;
}

} // namespace velaro
