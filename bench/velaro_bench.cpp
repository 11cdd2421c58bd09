// The program itself, started exactly as velaro-paint starts, with the first-frame reporter
// attached. With "--compute" it also times Compute on the largest calculators once at rest.

#include "firstframe.h"

#include "core/calculatorwindow.h"
#include "core/messages.h"
#include "shell/application.h"
#include "shell/mainwindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

// Boxes are counted, not shown, while clicks are timed.
class SilentBoxes final : public velaro::MessageBoxes {
  public:
    void showMessage(const QString&) override {}
    void showError(const QString&) override {}
    void showAbout(const QString&) override {}
};

// Opens the calculator, fills every field with a number and ticks the first box, then times
// Compute.
void timeCompute(velaro::MainWindow& mainWindow, int formNumber) {
    mainWindow.openCalculator(formNumber - 1);
    const QString className = QStringLiteral("TForm%1").arg(formNumber);
    velaro::CalculatorWindow* calculator = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == className)
            calculator = qobject_cast<velaro::CalculatorWindow*>(top);
    if (!calculator)
        return;
    int i = 1;
    const QChar separator(calculator->decimalSeparator());
    for (QLineEdit* edit : calculator->findChildren<QLineEdit*>())
        edit->setText(QStringLiteral("%1%225").arg(10 + i++).arg(separator));
    if (auto* box = calculator->findChild<QCheckBox*>("CheckBox1"))
        box->setChecked(true);
    SilentBoxes silent;
    velaro::installMessageBoxes(&silent);
    std::vector<double> micros;
    for (int run = 0; run < 200; ++run) {
        const auto start = std::chrono::steady_clock::now();
        calculator->compute();
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    velaro::installMessageBoxes(nullptr);
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    std::printf("compute_us %s=%.1f\n", qPrintable(className), micros[micros.size() / 2]);
}

} // namespace

int main(int argc, char** argv) {
    const bool compute = argc > 1 && std::strcmp(argv[1], "--compute") == 0;
    // Timed Computes are recorded on the estimate sheet: its recovery file goes to a temporary
    // folder, not the user's.
    QTemporaryDir dataHome;
    if (compute)
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    return velaro::runApplication(argc, argv, [compute](QWidget& mainWindow) {
        auto& form1 = static_cast<velaro::MainWindow&>(mainWindow);
        new bench::FirstFrameReporter(mainWindow, [compute, &form1] {
            if (!compute)
                return;
            for (int form : {2, 3, 15, 21, 24})
                timeCompute(form1, form);
        });
    });
}
