#pragma once
// The widths of the sheet's columns on paper: the number's and each figure's the width of its
// widest, never wrapped; the texts share what is left by weight, none below its widest word (up
// to a bound past which a word takes a smaller type) nor above its longest text.

#include "estimate/papercolumns.h"

#include <functional>
#include <vector>

namespace velaro {

class Report;
class TextFitter;

class PaperWidths {
  public:
    struct Faces {
        int body, bold, small;
    };
    // `millimetre` and `padding` (a cell's on either side) in the device's units.
    PaperWidths(const Report& report, TextFitter& fitter, Faces faces, double millimetre,
                double padding);

    // Reads every line once; stops, and returns false, where `goOn(lines read)` says so.
    bool measure(const std::function<bool(int)>& goOn);
    // Whether every text column reads well across `width`: a few millimetres a share of its
    // weight, or its longest text.
    bool readWell(double width) const;
    // The widths for a table `width` wide.
    void plan(double width);

    const std::vector<PaperColumn>& columns() const { return columns_; }
    // Of the number's column at 0, then of each of columns().
    double x(std::size_t at) const { return x_[at]; }
    double width(std::size_t at) const { return widths_[at]; }
    // A heading's widest word: a heading breaks only between words, «Кол-во» whole.
    double headingWord(const QString& title);

  private:
    const Report& report_;
    TextFitter& fitter_;
    Faces faces_;
    double millimetre_, padding_;
    std::vector<PaperColumn> columns_;
    double number_ = 0;           // the number's width
    std::vector<double> natural_; // per column: its longest text, or its widest figure
    std::vector<double> minimum_; // per column: its widest word, within bounds
    std::vector<double> x_, widths_;
};

} // namespace velaro
