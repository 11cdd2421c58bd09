#pragma once
// The 26 calculators' arithmetic as the reference knows it: for each window, which fields hold
// measured amounts, which tick combinations give a result and with which coefficients, and how a
// set of inputs becomes a plan. Written out here on their own, not taken from the program's
// tables, so that a slip in either shows as a mismatch.

#include "reference/plan.h"

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace reference {

using Rng = std::mt19937_64;

// One valid row of a coefficient table: the boxes ticked, fixed texts (the sash count) and the
// coefficients the area is multiplied by, left to right.
struct Setting {
    std::string name;
    std::vector<std::string> ticked;
    std::map<std::string, std::string> texts;
    std::vector<const Coefficient*> chain;
};

// A field whose value selects a coefficient (a percentage, a relief height), drawn by its own
// distribution.
struct Selector {
    std::string field;
    std::function<std::string(Rng&, char separator)> draw;
};

struct CalculatorModel {
    int form = 0;
    std::string what;                 // for reports
    std::vector<std::string> boxes;   // every check box the rule reads
    std::vector<std::string> amounts; // fields holding measured amounts
    std::size_t amountsPerEntry = 1;  // consecutive amounts that make one entry (a pipe run)
    bool emptyAmountsCount = false;   // an empty amount is 0 (else the rule refuses it)
    std::vector<Selector> selectors;
    std::vector<Setting> settings; // empty: the window has no ticks
    std::function<Plan(const Inputs&, const Setting*, char separator)> plan;
};

std::vector<CalculatorModel> allCalculators();

} // namespace reference
