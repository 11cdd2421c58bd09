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
    // The empty-field rule: an empty field is 0 and is not parsed.
    long double numberOrZero(const std::string& field) const {
        return isEmpty(field) ? 0.0L : number(field);
    }
    char separator() const { return separator_; }

    // The result text of a working value rounded at `digit`.
    std::string shown(long double value, std::int8_t digit) const {
        return RoundedText(value, digit, separator_);
    }

private:
    char separator_;
    std::map<std::string, std::string> texts_;
    std::map<std::string, bool> ticks_;
};

// The texts to write, field by field, in order.
struct Results {
    std::vector<std::pair<std::string, std::string>> texts;
};

// A refusal: the message for the validation box, the field that takes the focus before the box
// opens (empty: the focus stays), and the field emptied after it closes.
struct Refusal {
    std::string message;
    std::string focus;
    std::string cleared;
};

using Outcome = std::variant<Results, Refusal>;

} // namespace velaro
