#pragma once
// A calculator's rule kept apart from its widgets: a plain function from the window's field
// texts and ticks to an outcome. The frame maps the controls to a FormState and applies the
// Outcome; a malformed number read by the rule throws EConvertError, which the frame reports.

#include "core/numbers.h"

#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace velaro {

// Control names and what the estimate sheet calls them.
using ShortNames = std::vector<std::pair<std::string, std::string>>;

class FormState {
  public:
    explicit FormState(char decimalSeparator = ',') : separator_(decimalSeparator) {}

    void setText(const std::string& field, std::string text) { texts_[field] = std::move(text); }
    void setTicked(const std::string& box, bool ticked) { ticks_[box] = ticked; }

    // Unknown names are programming errors and throw std::out_of_range.
    const std::string& text(const std::string& field) const { return texts_.at(field); }
    bool isEmpty(const std::string& field) const { return text(field).empty(); }
    bool ticked(const std::string& box) const { return ticks_.at(box); }
    // Parses the field's text; malformed text throws EConvertError naming it.
    long double number(const std::string& field) const {
        return StrToFloat(text(field), separator_);
    }
    char separator() const { return separator_; }

    // What a field or box is called on screen, and a field's unit; empty where not known (a
    // state made without a window). Trails and records of a Compute speak in these words.
    void setLabel(const std::string& name, std::string label) { labels_[name] = std::move(label); }
    void setUnit(const std::string& field, std::string unit) { units_[field] = std::move(unit); }
    std::string label(const std::string& name) const { return lookup(labels_, name); }
    std::string unit(const std::string& field) const { return lookup(units_, field); }
    // What the estimate sheet calls a field or box whose on-screen name is a prompt or a long
    // sentence («Площадь проемов»), in the order the window gives them: the sheet lists the
    // measurements so. Empty where it has none; the trails keep the on-screen names.
    void setShortName(const std::string& name, std::string shortName);
    std::string shortName(const std::string& name) const;
    const ShortNames& shortNames() const { return shortNames_; }
    const std::map<std::string, std::string>& texts() const { return texts_; }
    const std::map<std::string, bool>& ticks() const { return ticks_; }

  private:
    static std::string lookup(const std::map<std::string, std::string>& map,
                              const std::string& name) {
        const auto found = map.find(name);
        return found == map.end() ? std::string() : found->second;
    }

    char separator_;
    std::map<std::string, std::string> texts_;
    std::map<std::string, bool> ticks_;
    std::map<std::string, std::string> labels_;
    std::map<std::string, std::string> units_;
    ShortNames shortNames_;
};

// How a result was reached, in the order of the arithmetic: each term starts from a measured
// value and applies its factors left to right; the terms are summed in order; the sum is rounded
// at `digit`. Replaying the trail is the arithmetic itself, so it gives the shown digits.
struct TrailFactor {
    enum class Op { Times, DividedBy };
    long double value;
    std::string words = {}; // what chose it, e.g. the ticked condition's text; may be empty
    std::string unit = {};  // e.g. "мм"; may be empty
    Op op = Op::Times;
    bool constant = false; // a named constant such as π: its words are its name
    // The words on the estimate sheet where they differ: a condition by its short name, never
    // a label that tells the user what to tick.
    std::string sheetWords = {};
};

// How a trail writes a named constant: by its value with its name in brackets, «3,14159265358979
// (π)», as the result's tooltip shows what was multiplied; or by its name alone, «π», as the
// estimate sheet reads.
enum class Constants { Values, Names };

struct TrailTerm {
    long double measured;
    std::string unit = {};
    std::vector<TrailFactor> factors = {};

    long double value() const;
};

struct Trail {
    std::string field; // the field that shows the result
    std::vector<TrailTerm> terms;
    std::int8_t digit = -2;
    std::string unit = "м2";

    // The terms applied and summed in order, unrounded.
    long double value() const;
    // One line: «10 м2 × 2,6 (спаренные переплеты) × 1,5 = 39 м2», factors joined by « × »,
    // terms by « + », the words in brackets after their factor, the shown result after « = ».
    std::string written(char decimalSeparator, Constants constants = Constants::Values) const;
};

// The texts to write, field by field, in order, and the trails of the results that have one
// (the main result's first).
struct Results {
    std::vector<std::pair<std::string, std::string>> texts;
    std::vector<Trail> trails = {};

    // Writes the trail's value at its digit into its field and keeps the trail.
    void add(const FormState& state, Trail trail);
};

// A field's number as the start of a term, in the field's unit. Malformed text throws.
TrailTerm measured(const FormState& state, const std::string& field);
// The trail of these terms summed and shown in `field` at two decimals, in the field's unit (м2
// where the state does not know it).
Trail trailOf(const FormState& state, const std::string& field, std::vector<TrailTerm> terms);
// A rule's only result: that one-term trail, run and shown.
Results resultOf(const FormState& state, const std::string& field, TrailTerm term);

// A refusal: the message for the validation box, the field that takes the focus before the box
// opens (empty: the focus stays), and the field emptied after it closes.
struct Refusal {
    std::string message;
    std::string focus;
    std::string cleared;
};

using Outcome = std::variant<Results, Refusal>;

} // namespace velaro
