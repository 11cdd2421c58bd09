#pragma once
// The main window: one button per calculator, File ▸ Exit and Help ▸ About.

#include <QMainWindow>
#include <QMargins>
#include <QPointer>

#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QScreen;

namespace velaro {

// The client size the main window takes where `room` is what its screen leaves for the client
// area: `natural` where that fits; else as much as there is, the buttons scrolling, with room
// for the scroll bars (`bars`: the vertical bar's width, the horizontal bar's height).
struct ClientFit {
    QSize size;
    bool scrolls = false;
};
ClientFit fitClient(QSize natural, QSize room, QSize bars);

class EstimateSheet;
class WindowRegistry;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(WindowRegistry& registry);

    static constexpr int kCalculatorCount = 26;
    static const QString kAboutText;

    // Button N opens TForm<N+1>: hides every other calculator, shows the chosen one (restored,
    // in front) and places its frame flush against this window's right frame edge, top edges
    // level, moved left or up only as far as needed to keep it on its screen.
    void openCalculator(int buttonNumber);

  signals:
    // File ▸ «Ведомость окраски…»
    void estimateRequested();
    // Sheet files dropped on the window, to be opened in the sheet.
    void sheetsDropped(const QStringList& files);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The window at its one size where its screen has room for it, else fitted to the screen
    // with its buttons in a scroll area.
    void fitScreen();
    void watchScreen(QScreen* screen);

    WindowRegistry& registry_;
    QWidget* client_ = nullptr; // the title and the buttons
    QMargins frame_;            // the window system's frame, once known
    QPointer<QScreen> watched_;
    QLabel* title_ = nullptr;
    std::array<QPushButton*, kCalculatorCount> buttons_{};
};

// Tells the estimate sheet which calculators' lines are openings, from the catalogue: before
// any sheet is opened, recorded or converted; and how to run a calculator's rule again on a
// line's inputs, for an opening given its size.
void tellSheetTheOpenings();

// Start-up: the main window, and the calculators registered to be built when first opened.
class Program {
  public:
    explicit Program(char decimalSeparator);
    ~Program();

    MainWindow& mainWindow() { return *form1_; }
    WindowRegistry& registry() { return *registry_; }
    EstimateSheet& estimateSheet() { return *estimate_; }

    void start(); // shows the main window

  private:
    // Declared first: it outlives the calculators that record into it.
    std::unique_ptr<EstimateSheet> estimate_;
    std::unique_ptr<WindowRegistry> registry_;
    std::unique_ptr<MainWindow> form1_;
};

} // namespace velaro
