#pragma once
// The main window: one button per calculator, File ▸ Exit and Help ▸ About.

#include <QMainWindow>

#include <memory>

namespace velaro {

class EstimateSheet;
class WindowRegistry;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(WindowRegistry& registry, QWidget* parent = nullptr);

    static constexpr int kCalculatorCount = 26;
    static const QString kCreditLine;
    static const QString kAboutText;

    // Button N opens TForm<N+1>: hides every other calculator, shows the chosen one and places
    // it flush against this window's right edge, top edges level.
    void openCalculator(int buttonNumber);
    void N2Click(); // File ▸ Exit: ends the program
    void N4Click(); // Help ▸ About

signals:
    // File ▸ «Ведомость окраски…»
    void estimateRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WindowRegistry& registry_;
};

// Start-up: the main window, then the 26 calculators in ascending order, all hidden: each
// calculator is registered with the means to build it and built when first opened.
class Program {
public:
    explicit Program(char decimalSeparator);
    ~Program();

    TForm1& mainWindow() { return *form1_; }
    WindowRegistry& registry() { return *registry_; }
    EstimateSheet& estimateSheet() { return *estimate_; }

    // Shows the main window.
    void start();

private:
    // Declared first: it outlives the calculators that record into it.
    std::unique_ptr<EstimateSheet> estimate_;
    std::unique_ptr<WindowRegistry> registry_;
    std::unique_ptr<TForm1> form1_;
};

// The regional decimal separator, read once at start-up.
char systemDecimalSeparator();

} // namespace velaro
