#include "reference/calculators.h"

#include "reference/draw.h"

#include <utility>

namespace reference {
namespace {

// "2.5*1.5*0.3" → the three coefficients in that order.
std::vector<const Coefficient*> chain(std::string_view text) {
    std::vector<const Coefficient*> coefficients;
    while (!text.empty()) {
        const std::size_t star = text.find('*');
        coefficients.push_back(&Coefficient::of(text.substr(0, star)));
        text = star == std::string_view::npos ? std::string_view{} : text.substr(star + 1);
    }
    return coefficients;
}

Term product(std::string first, const std::vector<const Coefficient*>& coefficients) {
    Term term{std::move(first), {}, {}};
    for (const Coefficient* c : coefficients)
        term.factors.push_back(Factor{false, {}, c});
    return term;
}

// ---- One field times one coefficient; an empty field shows 0.

CalculatorModel oneInput(int form, std::string what, const char* coefficient) {
    CalculatorModel model;
    model.form = form;
    model.what = std::move(what);
    model.amounts = {"Edit2"};
    model.emptyAmountsCount = true;
    const Coefficient* c = &Coefficient::of(coefficient);
    model.plan = [c](const Inputs&, const Setting*, char) {
        Plan plan;
        Term term = product("Edit2", {c});
        term.zeroWhenEmpty = {"Edit2"};
        plan.terms.push_back(term);
        plan.shown.push_back(Shown{"Edit1", {0}, -2});
        return plan;
    };
    return model;
}

// ---- Pipes: π × diameter × length / 1000 per row at three decimals, the total at two.

CalculatorModel pipes() {
    struct Row {
        const char *diameter, *length, *area;
    };
    static const std::vector<Row> rows{
        {"Edit3", "Edit1", "Edit19"},  {"Edit4", "Edit2", "Edit20"},
        {"Edit5", "Edit12", "Edit21"}, {"Edit6", "Edit13", "Edit22"},
        {"Edit7", "Edit14", "Edit23"}, {"Edit8", "Edit15", "Edit24"},
        {"Edit9", "Edit10", "Edit11"}, {"Edit16", "Edit17", "Edit18"},
        {"Edit25", "Edit26", "Edit27"}};
    CalculatorModel model;
    model.form = 2;
    model.what = "pipes";
    for (const Row& row : rows) {
        model.amounts.push_back(row.diameter);
        model.amounts.push_back(row.length);
    }
    model.amountsPerEntry = 2;
    model.emptyAmountsCount = true;
    model.plan = [](const Inputs&, const Setting*, char) {
        const Coefficient* pi = &Coefficient::pi();
        const Coefficient* thousand = &Coefficient::of("1000");
        Plan plan;
        Shown total{"Edit28", {}, -2};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            // Rows 1 to 8 start from the length, row 9 from the diameter.
            const bool last = i + 1 == rows.size();
            const std::string first = last ? rows[i].diameter : rows[i].length;
            const std::string second = last ? rows[i].length : rows[i].diameter;
            Term term{
                first,
                {Factor{false, {}, pi}, Factor{false, second, nullptr}, Factor{true, {}, thousand}},
                {rows[i].diameter, rows[i].length}};
            plan.terms.push_back(term);
            plan.shown.push_back(Shown{rows[i].area, {i}, -3});
            total.terms.push_back(i);
        }
        plan.shown.push_back(total);
        return plan;
    };
    return model;
}

// ---- Pipelines: each length times its painted area per metre, summed.

CalculatorModel pipeline(int form, std::string what,
                         std::vector<std::pair<const char*, const char*>> rows) {
    CalculatorModel model;
    model.form = form;
    model.what = std::move(what);
    for (const auto& row : rows)
        model.amounts.push_back(row.first);
    model.emptyAmountsCount = true;
    model.plan = [rows](const Inputs&, const Setting*, char) {
        Plan plan;
        Shown total{"Edit1", {}, -2};
        for (const auto& [field, coefficient] : rows) {
            Term term = product(field, {&Coefficient::of(coefficient)});
            term.zeroWhenEmpty = {field};
            total.terms.push_back(plan.terms.size());
            plan.terms.push_back(term);
        }
        plan.shown.push_back(total);
        return plan;
    };
    return model;
}

// ---- Windows whose ticks (and sash count) pick a row of coefficients for Edit2 → Edit4.

struct TableRow {
    std::vector<std::string> ticked;
    const char* sashes; // "" where the window has no sash count
    const char* coefficients;
};

CalculatorModel ticked(int form, std::string what, std::vector<std::string> boxes,
                       const std::vector<TableRow>& table) {
    CalculatorModel model;
    model.form = form;
    model.what = std::move(what);
    model.boxes = std::move(boxes);
    model.amounts = {"Edit2"};
    for (const TableRow& row : table) {
        Setting setting;
        for (const std::string& box : row.ticked)
            setting.name += box + " ";
        if (*row.sashes != '\0') {
            setting.texts["Edit3"] = row.sashes;
            setting.name += "n=" + std::string(row.sashes) + " ";
        }
        setting.name += "× " + std::string(row.coefficients);
        setting.ticked = row.ticked;
        setting.chain = chain(row.coefficients);
        model.settings.push_back(setting);
    }
    model.plan = [](const Inputs&, const Setting* setting, char) {
        Plan plan;
        plan.terms.push_back(product("Edit2", setting->chain));
        plan.shown.push_back(Shown{"Edit4", {0}, -2});
        return plan;
    };
    return model;
}

// Two rows per condition, without and with the oiled-parts box.
void withOiled(std::vector<TableRow>& table, std::vector<std::string> ticked, const char* sashes,
               const char* plain, const char* oiled, const char* oiledBox = "CheckBox4") {
    table.push_back({ticked, sashes, plain});
    ticked.push_back(oiledBox);
    table.push_back({ticked, sashes, oiled});
}

CalculatorModel separateSashes() {
    std::vector<TableRow> t;
    withOiled(t, {"CheckBox1"}, "1", "1.5", "1.5*0.3");
    withOiled(t, {"CheckBox1"}, "2", "2.8", "2.8*0.3");
    withOiled(t, {"CheckBox2"}, "1", "1.2", "1.2*1");
    withOiled(t, {"CheckBox2"}, "2", "2.5", "2.5*1");
    withOiled(t, {"CheckBox3"}, "1", "2.2", "2.2*0.6");
    withOiled(t, {"CheckBox3"}, "2", "3.5", "3.5*0.5");
    return ticked(20, "separate sashes", {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"}, t);
}

CalculatorModel pairedSashes() {
    std::vector<TableRow> t;
    withOiled(t, {"CheckBox1"}, "1", "1", "1*1");
    withOiled(t, {"CheckBox1"}, "2", "2.5", "2.5*0.3");
    withOiled(t, {"CheckBox1", "CheckBox5"}, "2", "2.5*1.5", "2.5*1.5*0.3");
    withOiled(t, {"CheckBox2"}, "1", "1", "1*1");
    withOiled(t, {"CheckBox2"}, "2", "2.2", "2.2*1");
    withOiled(t, {"CheckBox2", "CheckBox6"}, "2", "2.2*1.5", "2.2*1.5");
    withOiled(t, {"CheckBox3"}, "1", "1.6", "1.6*0.7");
    withOiled(t, {"CheckBox3"}, "2", "1", "1*1");
    withOiled(t, {"CheckBox7"}, "1", "1.75", "1.75*0.45");
    withOiled(t, {"CheckBox7"}, "2", "3.5", "3.5*0.9");
    return ticked(
        21, "paired sashes",
        {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7"},
        t);
}

CalculatorModel industrialWindows() {
    std::vector<TableRow> t;
    withOiled(t, {"CheckBox1"}, "1", "2.1", "2.1*0.3");
    withOiled(t, {"CheckBox1"}, "2", "3.2", "3.2*0.3");
    withOiled(t, {"CheckBox2"}, "1", "1.7", "1.7*0.2");
    withOiled(t, {"CheckBox2"}, "2", "2.6", "2.6*0.2");
    return ticked(22, "industrial windows", {"CheckBox1", "CheckBox2", "CheckBox4"}, t);
}

CalculatorModel balconyDoors() {
    const std::vector<TableRow> t{{{"CheckBox1"}, "1", "2.1"},
                                  {{"CheckBox1"}, "2", "3.5"},
                                  {{"CheckBox2"}, "1", "1"},
                                  {{"CheckBox2"}, "2", "2.6"},
                                  {{"CheckBox2", "CheckBox6"}, "2", "2.6*1.5"}};
    return ticked(23, "balcony doors", {"CheckBox1", "CheckBox2", "CheckBox6"}, t);
}

CalculatorModel solidLeaves() {
    std::vector<TableRow> t;
    withOiled(t, {"CheckBox1"}, "", "2.4", "2.4*1");
    withOiled(t, {"CheckBox1", "CheckBox5"}, "", "2.6", "2.6*1");
    withOiled(t, {"CheckBox1", "CheckBox7"}, "", "2.8", "2.8*1");
    withOiled(t, {"CheckBox2"}, "", "2.7", "2.7*0.3");
    withOiled(t, {"CheckBox3"}, "", "2.7", "2.7*0.3");
    withOiled(t, {"CheckBox3", "CheckBox6"}, "", "2.9", "2.9*0.3");
    return ticked(
        24, "solid leaves",
        {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7"},
        t);
}

CalculatorModel glazedLeaves() {
    std::vector<TableRow> t;
    withOiled(t, {"CheckBox1"}, "", "1.8", "1.8*1");
    withOiled(t, {"CheckBox1", "CheckBox5"}, "", "2", "2*1");
    withOiled(t, {"CheckBox1", "CheckBox7"}, "", "2.2", "2.2*1");
    withOiled(t, {"CheckBox3"}, "", "2.1", "2.1*0.3");
    withOiled(t, {"CheckBox3", "CheckBox6"}, "", "2.3", "2.3*0.3");
    return ticked(25, "glazed leaves",
                  {"CheckBox1", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7"},
                  t);
}

CalculatorModel cabinetDoors() {
    std::vector<TableRow> t;
    withOiled(t, {}, "", "2.1", "2.1*0.3");
    return ticked(26, "cabinet doors", {"CheckBox4"}, t);
}

CalculatorModel openDoorway() {
    std::vector<TableRow> t;
    withOiled(t, {"CheckBox3"}, "", "0.9", "0.9*0.4");
    withOiled(t, {"CheckBox3", "CheckBox6"}, "", "1.1", "1.1*0.4");
    return ticked(27, "open doorway", {"CheckBox3", "CheckBox4", "CheckBox6"}, t);
}

// ---- Stucco ceilings: the band of the percentage picks the coefficient; past 100 % refused.

CalculatorModel stuccoCeilings() {
    CalculatorModel model;
    model.form = 10;
    model.what = "stucco ceilings";
    model.amounts = {"Edit2"};
    model.selectors.push_back(
        {"Edit1", [](Rng& rng, char separator) {
             static const char* bounds[] = {"2.05", "10.05", "40.05", "70.05", "100"};
             if (rng() % 3 == 0)
                 return nearBound(rng, bounds[rng() % 5], separator);
             return drawBetween(rng, 0, 100, separator);
         }});
    model.plan = [](const Inputs& inputs, const Setting*, char separator) {
        struct Band {
            const char* below; // the band holds percentages below this bound
            const char* coefficient;
        };
        static const Band bands[] = {
            {"2.05", "1"}, {"10.05", "1.1"}, {"40.05", "1.5"}, {"70.05", "2.1"}};
        const Real percentage = readExtended(inputs.texts.at("Edit1"), separator);
        Plan plan;
        const char* coefficient = nullptr;
        for (const Band& band : bands) {
            if (mpfr_less_p(percentage.get(), decimal(band.below, kExtendedBits).get())) {
                coefficient = band.coefficient;
                break;
            }
        }
        if (!coefficient) {
            if (mpfr_cmp_ui(percentage.get(), 100) > 0) {
                plan.refused = Refused{"Не более 100%", "Edit4", "Edit4"};
                return plan;
            }
            coefficient = "2.8";
        }
        plan.terms.push_back(product("Edit2", {&Coefficient::of(coefficient)}));
        plan.shown.push_back(Shown{"Edit4", {0}, -2});
        return plan;
    };
    return model;
}

// ---- Stucco products: the pattern and whether the relief passes 30 mm pick the coefficient.

CalculatorModel stuccoProducts() {
    CalculatorModel model;
    model.form = 15;
    model.what = "stucco products";
    model.boxes = {"CheckBox1", "CheckBox2"};
    model.amounts = {"Edit2"};
    model.selectors.push_back({"Edit3", [](Rng& rng, char separator) {
                                   if (rng() % 3 == 0)
                                       return nearBound(rng, "30", separator);
                                   return drawBetween(rng, 0, 60, separator);
                               }});
    model.settings.push_back(Setting{"sparse", {"CheckBox1"}, {}, {}});
    model.settings.push_back(Setting{"dense", {"CheckBox2"}, {}, {}});
    model.plan = [](const Inputs& inputs, const Setting*, char separator) {
        const Real relief = readExtended(inputs.texts.at("Edit3"), separator);
        const bool high = mpfr_cmp_ui(relief.get(), 30) > 0;
        const bool dense = inputs.isTicked("CheckBox2");
        const char* coefficient = dense ? (high ? "5" : "3") : (high ? "3" : "1.5");
        Plan plan;
        plan.terms.push_back(product("Edit2", {&Coefficient::of(coefficient)}));
        plan.shown.push_back(Shown{"Edit4", {0}, -2});
        return plan;
    };
    return model;
}

} // namespace

std::vector<CalculatorModel> allCalculators() {
    return {
        pipes(),
        pipeline(3, "steel pipelines",
                 {{"Edit3", "0.11"},
                  {"Edit2", "0.13"},
                  {"Edit4", "0.16"},
                  {"Edit5", "0.18"},
                  {"Edit6", "0.21"},
                  {"Edit7", "0.26"},
                  {"Edit8", "0.31"},
                  {"Edit9", "0.36"},
                  {"Edit10", "0.46"}}),
        pipeline(4, "cast-iron pipelines",
                 {{"Edit3", "0.28"},
                  {"Edit2", "0.37"},
                  {"Edit4", "0.48"},
                  {"Edit5", "0.59"},
                  {"Edit6", "0.72"}}),
        oneInput(5, "sinks", "2"),
        oneInput(6, "baths", "3"),
        oneInput(7, "flush cisterns", "0.7"),
        oneInput(8, "radiators 500", "0.244"),
        oneInput(9, "radiators 300", "0.208"),
        stuccoCeilings(),
        oneInput(11, "coffered ceilings", "1.75"),
        oneInput(12, "ribbed slabs", "1.6"),
        oneInput(13, "clapboard", "1.2"),
        oneInput(14, "log walls", "1.05"),
        stuccoProducts(),
        oneInput(16, "simple grilles", "0.5"),
        oneInput(17, "medium grilles", "1"),
        oneInput(18, "complex grilles", "2.5"),
        oneInput(19, "corrugated sheets", "1.2"),
        separateSashes(),
        pairedSashes(),
        industrialWindows(),
        balconyDoors(),
        solidLeaves(),
        glazedLeaves(),
        cabinetDoors(),
        openDoorway(),
    };
}

} // namespace reference
