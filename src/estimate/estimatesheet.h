#pragma once
// The program's one estimate sheet as the shell sees it: cheap to hold, built when first
// opened or when the first Compute is recorded, so that start-up never pays for it.

#include "core/rule.h"

#include <QObject>

#include <memory>

class QWidget;

namespace velaro {

class EstimateWindow;

class EstimateSheet : public QObject {
    Q_OBJECT
  public:
    explicit EstimateSheet(char decimalSeparator, QObject* parent = nullptr);
    ~EstimateSheet() override;

    bool isBuilt() const { return window_ != nullptr; }
    EstimateWindow& window();
    // Shows the sheet in front.
    void open();
    // A successful Compute of a calculator whose button names `element`.
    void record(const QString& element, const QString& calculator, const FormState& state,
                const Results& results);
    // Watches the main window's closing, which ends the program: it goes ahead unless the
    // sheet could not be kept and the user chooses to stay.
    void guardExit(QWidget& mainWindow);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    char separator_;
    std::unique_ptr<EstimateWindow> window_;
};

} // namespace velaro
