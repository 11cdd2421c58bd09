#pragma once
// Texts set in columns on paper. A line breaks after a blank, or after a hyphen, a slash or «×»
// that a letter follows, and nowhere else: a figure (0,01952), a norm (15-04-030-01) or a name
// such as МС-140-500 stays whole, where Unicode's rules, and so QTextLayout, would break a
// decimal after its comma; a figure keeps its unit («5,99 м2»). A word too long for its column
// takes a smaller size of its face rather than break; only a word too long even at the smallest
// size is broken where it must be. Each word is shaped once, and each text's measures and line
// breaks are kept by face, text and width: a sheet's lines repeat their words and texts.

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

class QPaintDevice;

namespace velaro {

// A text set within a width.
struct FittedText {
    int size = 0;              // which of its face's sizes: 0 the face's own, then each smaller
    std::vector<int> starts;   // where each line starts in the text
    std::vector<qreal> widths; // each line's width, without the blanks at its end
    int lines() const { return int(starts.size()); }
};

class TextFitter {
  public:
    explicit TextFitter(QPaintDevice& device) : device_(device) {}

    // A face in its sizes, largest first; returns its number.
    int addFace(const QFont& font, const std::vector<qreal>& points);
    const QFont& font(int face, int size = 0) const { return sized(face, size).font; }
    const QFontMetricsF& metrics(int face, int size = 0) const { return sized(face, size).metrics; }

    // The text on one line (its widest line where it holds line separators), and its widest
    // piece that no line break may split.
    struct Natural {
        qreal width = 0, widestWord = 0;
    };
    Natural natural(int face, const QString& text);
    // The text within `width`; the reference holds until the next call.
    const FittedText& fit(int face, const QString& text, qreal width);
    // One line of text at one of the face's sizes, shaped, its baseline at 0: painted as it is,
    // a text repeated down the pages is shaped once.
    const QList<QGlyphRun>& shaped(int face, int size, const QString& line);
    // How tall the text stands when fitted.
    qreal height(const FittedText& fitted, int face) const {
        return fitted.lines() * metrics(face, fitted.size).lineSpacing();
    }

  private:
    struct Sized {
        QFont font;
        QFontMetricsF metrics;
        qreal blank; // a space's width
    };
    struct Key {
        int face;
        int size;
        int width; // in the device's pixels
        QString text;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.face, key.size, key.width, key.text);
    }
    const Sized& sized(int face, int size) const {
        return faces_[std::size_t(face)][std::size_t(size)];
    }
    qreal wordWidth(int face, int size, const QString& text, qsizetype from, qsizetype to);
    // The text's lines at one size; `anywhere` breaks a word wider than the line where it must.
    FittedText fill(int face, int size, const QString& text, qreal width, bool anywhere,
                    bool& overflows);

    QPaintDevice& device_;
    std::vector<std::vector<Sized>> faces_;
    QHash<Key, qreal> words_;
    QHash<Key, Natural> naturals_;
    QHash<Key, FittedText> fitted_;
    QHash<Key, QList<QGlyphRun>> shaped_;
};

} // namespace velaro
