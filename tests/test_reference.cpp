// Every calculator's rule against an independent model of the arithmetic (MPFR: 64-bit
// round-to-nearest for the extended type, 53-bit for the double, the rounding routine's four steps
// on top), on at least 100 000 drawn inputs per rule: amounts from 0 to 10^6 with 0 to 4 decimals,
// every tick combination that gives a result, and amounts built to land on a rounding half. The
// same comparison is then run against programs with one deliberate fault each, to show that it
// would catch a `double` literal, a pre-multiplied coefficient or a rounding by an exact
// hundredth.
//
// VELARO_REFERENCE_CASES scales the number of cases per rule (default 100 000), for slow builds.

#include "core/calculatorwindow.h"
#include "reference/calculators.h"
#include "reference/draw.h"
#include "reference/faulty.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <sstream>

using namespace reference;

namespace {

constexpr char kSeparator = ',';
constexpr long kDefaultCases = 100000;

long casesPerRule() {
    if (const char* text = std::getenv("VELARO_REFERENCE_CASES")) {
        const long cases = std::atol(text);
        if (cases > 0)
            return cases;
    }
    return kDefaultCases;
}

struct FaultTally {
    Fault fault;
    long tried = 0;    // cases whose plan the fault touches
    long nearHalf = 0; // of those, cases with a result within one double ulp of a rounding half
    double closestToMidpoint = 1e9; // of those results, the least distance in extended ulps from
                                    // a midpoint between doubles
    long caught = 0;                // cases whose displayed text differs from the reference
    std::string example;
};

// Where a result sits: within one double ulp of a rounding half, and how far from the midpoint
// between two doubles (in extended ulps), the only place where a few extended ulps more or less
// change the double the rounding starts from.
struct Nearness {
    bool nearHalf = false;
    bool exactHalf = false;
    double toMidpoint = 1e9;
};

// Whether a fault can change a displayed digit for the drawn inputs at all.
enum class Visibility {
    Unchanged,     // it changes no value: a literal a double holds exactly, a power of two
    NoHalfInReach, // no result it touches comes within a double ulp of a rounding half, and it
                   // moves a result by less than that
    MidpointGap,   // a folded constant moves the extended product by a few extended ulps, and
                   // every result it touches near a half lies at least 8 extended ulps from a
                   // midpoint between doubles, so the double the rounding starts from is the same
    Visible,
};

Visibility visibility(const FaultTally& tally) {
    if (tally.fault.provablyHarmless())
        return Visibility::Unchanged;
    if (tally.nearHalf == 0)
        return Visibility::NoHalfInReach;
    if (tally.fault.kind == Fault::Kind::PreMultiplied && tally.closestToMidpoint > 8.0)
        return Visibility::MidpointGap;
    return Visibility::Visible;
}

const char* describe(Visibility visibility) {
    switch (visibility) {
    case Visibility::Unchanged:
        return "changes no value";
    case Visibility::NoHalfInReach:
        return "no half in reach";
    case Visibility::MidpointGap:
        return "halves too far from a double midpoint";
    case Visibility::Visible:
        break;
    }
    return "";
}

struct RuleRun {
    long cases = 0;
    long built = 0;        // cases whose amount was built to land on a half
    long nearHalf = 0;     // cases with a result within one double ulp of a rounding half
    long exactHalf = 0;    // … exactly on it
    long nearMidpoint = 0; // … and within 4 extended ulps of a midpoint between doubles
    long refusals = 0;
    long mismatches = 0;
    long controlMismatches = 0; // the fault-free long double program against the reference
    std::vector<std::string> firstMismatches;
    std::map<std::string, FaultTally> faults;
    double seconds = 0;
};

std::string describe(const Inputs& inputs) {
    std::ostringstream out;
    for (const auto& [field, text] : inputs.texts)
        if (!text.empty())
            out << field << "='" << text << "' ";
    for (const std::string& box : inputs.ticked)
        out << box << " ";
    return out.str();
}

std::string describe(const Texts& texts) {
    std::string out;
    for (const auto& [field, text] : texts)
        out += field + "=" + text + " ";
    return out;
}

class RuleRunner {
  public:
    RuleRunner(const CalculatorModel& model, velaro::CalculatorWindow& window)
        : model_(model), window_(window), template_(window.formState()),
          rng_(0x7e57ed00u + static_cast<unsigned>(model.form)) {}

    RuleRun run(long cases) {
        QElapsedTimer timer;
        timer.start();
        // Half the cases drawn freely, half built on a rounding half; in a quarter of them one
        // entry alone is filled where empty fields count as 0.
        for (long i = 0; i < cases; ++i)
            checkOne(i % 2 == 1, i % 8 >= 6);
        result_.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        return result_;
    }

  private:
    void checkOne(bool buildNearHalf, bool oneEntry) {
        const Setting* setting =
            model_.settings.empty() ? nullptr : &model_.settings[rng_() % model_.settings.size()];
        Inputs inputs = draw(setting, oneEntry);
        Plan plan = model_.plan(inputs, setting, kSeparator);
        if (buildNearHalf && !plan.refused &&
            landOnHalf(plan, inputs, model_.amounts, rng_, kSeparator)) {
            ++result_.built;
            plan = model_.plan(inputs, setting, kSeparator);
        }
        ++result_.cases;
        if (plan.refused) {
            ++result_.refusals;
            compareRefusal(*plan.refused, inputs);
            return;
        }
        const Texts expected = referenceTexts(plan, inputs, kSeparator);
        compareResults(expected, inputs);
        const Nearness nearness = nearnessOf(plan, inputs);
        tryFaults(plan, inputs, expected, nearness);
    }

    Inputs draw(const Setting* setting, bool oneEntry) {
        Inputs inputs;
        const std::size_t entries = model_.amounts.size() / model_.amountsPerEntry;
        const std::size_t kept = rng_() % entries;
        for (std::size_t i = 0; i < model_.amounts.size(); ++i) {
            const bool empty = model_.emptyAmountsCount &&
                               (oneEntry ? i / model_.amountsPerEntry != kept : rng_() % 4 == 0);
            inputs.texts[model_.amounts[i]] = empty ? std::string() : drawAmount(rng_, kSeparator);
        }
        for (const Selector& selector : model_.selectors)
            inputs.texts[selector.field] = selector.draw(rng_, kSeparator);
        if (setting) {
            for (const auto& [field, text] : setting->texts)
                inputs.texts[field] = text;
            inputs.ticked.insert(setting->ticked.begin(), setting->ticked.end());
        }
        return inputs;
    }

    velaro::FormState stateOf(const Inputs& inputs) const {
        velaro::FormState state = template_;
        for (const auto& [field, text] : inputs.texts)
            state.setText(field, text);
        for (const std::string& box : model_.boxes)
            state.setTicked(box, inputs.isTicked(box));
        return state;
    }

    void mismatch(const Inputs& inputs, const std::string& expected, const std::string& got) {
        ++result_.mismatches;
        if (result_.firstMismatches.size() < 5)
            result_.firstMismatches.push_back(describe(inputs) + "→ reference " + expected +
                                              "| program " + got);
    }

    void compareResults(const Texts& expected, const Inputs& inputs) {
        try {
            const velaro::Outcome outcome = window_.evaluate(stateOf(inputs));
            const auto* results = std::get_if<velaro::Results>(&outcome);
            if (!results)
                return mismatch(inputs, describe(expected),
                                "refused: " + std::get<velaro::Refusal>(outcome).message);
            Texts got(results->texts.begin(), results->texts.end());
            if (got != expected || got.size() != results->texts.size())
                return mismatch(inputs, describe(expected), describe(got));
            // Each result's trail, replayed, gives what the field shows.
            for (const velaro::Trail& trail : results->trails)
                if (velaro::RoundedText(trail.value(), trail.digit, kSeparator) != got[trail.field])
                    mismatch(inputs, describe(expected), "trail of " + trail.field);
            if (results->trails.size() != results->texts.size())
                mismatch(inputs, describe(expected), "a result without a trail");
        } catch (const std::exception& error) {
            mismatch(inputs, describe(expected), std::string("threw ") + error.what());
        }
    }

    void compareRefusal(const Refused& expected, const Inputs& inputs) {
        const std::string wanted =
            expected.message + " (focus " + expected.focus + ", clears " + expected.cleared + ")";
        try {
            const velaro::Outcome outcome = window_.evaluate(stateOf(inputs));
            const auto* refusal = std::get_if<velaro::Refusal>(&outcome);
            if (!refusal)
                return mismatch(inputs, wanted, "a result");
            if (refusal->message != expected.message || refusal->focus != expected.focus ||
                refusal->cleared != expected.cleared)
                mismatch(inputs, wanted, refusal->message);
        } catch (const std::exception& error) {
            mismatch(inputs, wanted, std::string("threw ") + error.what());
        }
    }

    Nearness nearnessOf(const Plan& plan, const Inputs& inputs) {
        Nearness nearness;
        for (const Shown& shown : plan.shown) {
            const Real value = exactValue(plan, shown, inputs, kSeparator);
            const double ulps = distanceToHalfInUlps(value, shown.digit);
            if (ulps < 0 || ulps > 1.0)
                continue;
            nearness.nearHalf = true;
            nearness.exactHalf = nearness.exactHalf || ulps < 1e-30;
            nearness.toMidpoint = std::min(nearness.toMidpoint, distanceToDoubleMidpoint(value));
        }
        result_.nearHalf += nearness.nearHalf;
        result_.exactHalf += nearness.exactHalf;
        result_.nearMidpoint += nearness.toMidpoint <= 4.0;
        return nearness;
    }

    void tryFaults(const Plan& plan, const Inputs& inputs, const Texts& expected,
                   const Nearness& nearness) {
        if (faultyTexts(plan, inputs, kSeparator, Fault{}) != expected)
            ++result_.controlMismatches;
        for (const Fault& fault : faultsOf(plan)) {
            FaultTally& tally = result_.faults[fault.name()];
            tally.fault = fault;
            ++tally.tried;
            if (nearness.nearHalf) {
                ++tally.nearHalf;
                tally.closestToMidpoint = std::min(tally.closestToMidpoint, nearness.toMidpoint);
            }
            const Texts got = faultyTexts(plan, inputs, kSeparator, fault);
            if (got == expected)
                continue;
            if (tally.caught++ == 0)
                tally.example =
                    describe(inputs) + "→ " + describe(expected) + "| faulty " + describe(got);
        }
    }

    const CalculatorModel& model_;
    velaro::CalculatorWindow& window_;
    const velaro::FormState template_;
    Rng rng_;
    RuleRun result_;
};

} // namespace

class ReferenceTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        program_ = std::make_unique<velaro::Program>(kSeparator);
        for (CalculatorModel& model : allCalculators())
            models_[model.form] = std::move(model);
        QCOMPARE(int(models_.size()), velaro::MainWindow::kCalculatorCount);
    }

    // The reference's own rounding and writing of numbers: values on and near a half, whole
    // numbers, zero and the exponent forms.
    void referenceRoundsAndWritesNumbers_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("digit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0.125 stays below the half") << "0.125" << -2 << "0,12";
        QTest::newRow("2.675 stays below the half") << "2.675" << -2 << "2,67";
        QTest::newRow("1.2345 at three decimals") << "1.2345" << -3 << "1,234";
        QTest::newRow("1.7907078 at three decimals") << "1.7907078" << -3 << "1,791";
        QTest::newRow("whole") << "3" << -2 << "3";
        QTest::newRow("zero") << "0" << -2 << "0";
        QTest::newRow("below 0.0001 in exponent form") << "0.00001" << -6 << "1E-5";
        QTest::newRow("16 integer digits in exponent form") << "1.5e16" << -2 << "1,5E16";
    }
    void referenceRoundsAndWritesNumbers() {
        QFETCH(QString, value);
        QFETCH(int, digit);
        QFETCH(QString, shown);
        const Real extended = decimal(value.toStdString(), kExtendedBits);
        QCOMPARE(QString::fromStdString(floatToStr(simpleRoundTo(extended, digit), kSeparator)),
                 shown);
    }

    // Products near a half, worked out through the reference's plans.
    void referenceProductsNearAHalf_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1.75 × 2.7 lies below 4.725") << 24 << "1,75"
                                                     << "CheckBox2 × 2.7"
                                                     << "4,72";
        QTest::newRow("1.5 × 2.1 × 0.3 lies below 0.945") << 25 << "1,5"
                                                          << "CheckBox3 CheckBox4 × 2.1*0.3"
                                                          << "0,94";
        QTest::newRow("12.5 × 3.5 × 0.5 is 21.875") << 20 << "12,5"
                                                    << "CheckBox3 CheckBox4 n=2 × 3.5*0.5"
                                                    << "21,87";
        QTest::newRow("1.75 × 3.5 is 6.125") << 23 << "1,75"
                                             << "CheckBox1 n=2 × 3.5"
                                             << "6,12";
        QTest::newRow("3.33 × 1.75 gives 5.83") << 11 << "3,33"
                                                << ""
                                                << "5,83";
        QTest::newRow("0.333 × 1.5 rounds up") << 15 << "0,333"
                                               << "sparse"
                                               << "0,5";
    }
    void referenceProductsNearAHalf() {
        QFETCH(int, form);
        QFETCH(QString, area);
        QFETCH(QString, setting);
        QFETCH(QString, shown);
        const CalculatorModel& model = models_.at(form);
        const Setting* chosen = nullptr;
        for (const Setting& s : model.settings)
            if (QString::fromStdString(s.name) == setting)
                chosen = &s;
        QVERIFY2(model.settings.empty() || chosen, qPrintable("no setting " + setting));
        Inputs inputs;
        inputs.texts["Edit2"] = area.toStdString();
        inputs.texts["Edit3"] = "10"; // the relief of the stucco products
        if (chosen) {
            for (const auto& [field, text] : chosen->texts)
                inputs.texts[field] = text;
            inputs.ticked.insert(chosen->ticked.begin(), chosen->ticked.end());
        }
        const Texts texts =
            referenceTexts(model.plan(inputs, chosen, kSeparator), inputs, kSeparator);
        QCOMPARE(QString::fromStdString(texts.begin()->second), shown);
    }

    // Pipe runs worked out by the reference: unrounded runs add up to the total.
    void referenceComputesPipeRuns() {
        const CalculatorModel& pipes = models_.at(2);
        Inputs inputs;
        for (const std::string& field : pipes.amounts)
            inputs.texts[field] = "";
        const char* runs[][2] = {{"Edit3", "Edit1"}, {"Edit4", "Edit2"}, {"Edit25", "Edit26"}};
        for (const auto& run : runs) {
            inputs.texts[run[0]] = "57";
            inputs.texts[run[1]] = "10";
        }
        Texts texts = referenceTexts(pipes.plan(inputs, nullptr, kSeparator), inputs, kSeparator);
        QCOMPARE(QString::fromStdString(texts["Edit19"]), QString("1,791"));
        QCOMPARE(QString::fromStdString(texts["Edit27"]), QString("1,791"));
        QCOMPARE(QString::fromStdString(texts["Edit21"]), QString("0"));
        QCOMPARE(QString::fromStdString(texts["Edit28"]), QString("5,37"));
    }

    void programMatchesTheReference_data() { formRows(); }
    void programMatchesTheReference() {
        QFETCH(int, form);
        const RuleRun& run = runOf(form);
        QVERIFY(run.cases >= casesPerRule());
        std::string mismatches;
        for (const std::string& line : run.firstMismatches)
            mismatches += "\n  " + line;
        QVERIFY2(run.mismatches == 0, qPrintable(QString("%1 of %2 cases differ:%3")
                                                     .arg(run.mismatches)
                                                     .arg(run.cases)
                                                     .arg(QString::fromStdString(mismatches))));
        // The long double program without a fault, on the program's number routines, agrees
        // with the reference too: what the faulty programs differ by is their fault alone.
        QCOMPARE(run.controlMismatches, 0L);
    }

    // Amounts built on a half do land there: the rounding's hard cases are really drawn. The
    // ribbed slabs are the exception: 1.6 times an amount of at most four decimals is a multiple
    // of 0.00016, and no half hundredth is (0.00016·n = 0.005·(2k + 1) would make 4n odd).
    void buildsCasesOnARoundingHalf_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<bool>("reachable");
        for (const auto& [form, model] : models_)
            QTest::newRow(rowName(form)) << form << (form != 12);
    }
    void buildsCasesOnARoundingHalf() {
        QFETCH(int, form);
        QFETCH(bool, reachable);
        const RuleRun& run = runOf(form);
        if (!reachable) {
            QCOMPARE(run.nearHalf, 0L);
            return;
        }
        QVERIFY2(run.nearHalf * 10 >= run.cases,
                 qPrintable(
                     QString("only %1 of %2 cases near a half").arg(run.nearHalf).arg(run.cases)));
    }

    // The comparison's power: each fault that can change a displayed digit for these inputs is
    // caught in some drawn case, and the faults that cannot are never "caught" (which would mean
    // the comparison reports differences that are not there).
    void faultsAreCaught_data() { formRows(); }
    void faultsAreCaught() {
        QFETCH(int, form);
        const RuleRun& run = runOf(form);
        QVERIFY(run.faults.count(Fault{Fault::Kind::ExactPowerOfTen}.name()) == 1);
        bool needsFullCount = false;
        for (const auto& [name, tally] : run.faults) {
            const QString what = QString::fromStdString(name);
            if (visibility(tally) != Visibility::Visible) {
                QVERIFY2(tally.caught == 0,
                         qPrintable(what + ": " + QString::fromStdString(tally.example)));
            } else if (casesPerRule() < kDefaultCases) {
                needsFullCount = true; // rare catches need the full count of cases
            } else {
                QVERIFY2(
                    tally.caught > 0,
                    qPrintable(QString("not caught: %1 (%2 cases)").arg(what).arg(tally.tried)));
            }
        }
        if (needsFullCount)
            QSKIP("faults are only required to be caught with the full count of cases");
    }

    void cleanupTestCase() {
        // What was checked, for the record.
        double total = 0;
        for (const auto& [form, run] : runs_) {
            total += run.seconds;
            qInfo("TForm%d %-20s %6ld cases, %6ld built on a half, %6ld within 1 ulp of a half "
                  "(%ld exactly, %ld near a double midpoint), %ld refused, %.2f s",
                  form, models_.at(form).what.c_str(), run.cases, run.built, run.nearHalf,
                  run.exactHalf, run.nearMidpoint, run.refusals, run.seconds);
            for (const auto& [name, tally] : run.faults)
                qInfo("    %-38s caught in %6ld of %6ld (%6ld near a half, %5.0f ulps from a "
                      "midpoint) %s",
                      name.c_str(), tally.caught, tally.tried, tally.nearHalf,
                      tally.closestToMidpoint, describe(visibility(tally)));
        }
        qInfo("%zu rules, %.1f s", runs_.size(), total);
        program_.reset();
    }

  private:
    void formRows() {
        QTest::addColumn<int>("form");
        for (const auto& [form, model] : models_)
            QTest::newRow(rowName(form)) << form;
    }

    const char* rowName(int form) {
        names_[form] = QString("TForm%1 %2").arg(form).arg(models_.at(form).what.c_str()).toUtf8();
        return names_[form].constData();
    }

    const RuleRun& runOf(int form) {
        if (auto it = runs_.find(form); it != runs_.end())
            return it->second;
        auto* window = dynamic_cast<velaro::CalculatorWindow*>(program_->registry().Form(form));
        if (!window)
            qFatal("no calculator window TForm%d", form);
        RuleRunner runner(models_.at(form), *window);
        return runs_[form] = runner.run(casesPerRule());
    }

    std::unique_ptr<velaro::Program> program_;
    std::map<int, CalculatorModel> models_;
    std::map<int, RuleRun> runs_;
    std::map<int, QByteArray> names_;
};

VELARO_TEST_MAIN(ReferenceTest)
#include "test_reference.moc"
