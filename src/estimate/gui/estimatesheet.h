#pragma once
// The program's one estimate sheet as the shell sees it: cheap to hold. The document is built
// (and takes back the sheet of the last run) when first needed, the window when first opened, so
// that start-up never pays for either. It tells the user what the document reports: a line
// recorded, lines taken back, a recovery file that cannot be written.

#include "core/rule.h"

#include <QObject>

#include <memory>

class QMimeData;
class QWidget;

namespace velaro {

// The sheet files among what is dragged onto a window: local files named *.velaro-estimate.
QStringList sheetFilesOf(const QMimeData* data);

class EstimatePrompts;
class EstimateWindow;
class SheetDocument;

class EstimateSheet : public QObject {
    Q_OBJECT
  public:
    explicit EstimateSheet(char decimalSeparator, QObject* parent = nullptr);
    ~EstimateSheet() override;

    bool isBuilt() const { return window_ != nullptr; }
    SheetDocument& document();
    EstimateWindow& window();
    // Shows the sheet in front.
    void open();
    // Opens sheets named from outside, one after another in the one sheet window, each asked
    // about unsaved changes as «Открыть» asks; one that cannot be read is named in a box. The
    // sheet shows the last opened.
    void openFiles(const QStringList& files);
    // A successful Compute of a calculator whose button names `element`.
    void record(const QString& element, const QString& calculator, const FormState& state,
                const Results& results);
    // Watches the main window's closing, which ends the program: it goes ahead unless the user
    // chooses to stay (unsaved changes, a recovery file that cannot be written). The main window
    // is also where the sheet's messages appear while its own window is not open.
    void guardExit(QWidget& mainWindow);

  signals:
    // A line for the main window's status bar; 0 ms: until the next.
    void status(const QString& text, int milliseconds);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EstimatePrompts& prompts();
    QWidget* dialogParent();
    bool mayExit();

    char separator_;
    std::unique_ptr<SheetDocument> document_;
    std::unique_ptr<EstimateWindow> window_;
    QWidget* mainWindow_ = nullptr;
};

} // namespace velaro
