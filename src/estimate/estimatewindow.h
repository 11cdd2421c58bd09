#pragma once
// «Ведомость окраски»: the sheet as a document window. One line per recorded Compute in a
// table, the totals beside it, the materials, undo and redo of every edit, the file commands,
// CSV, print and PDF, and the recovery file written within a second of every change.
// Unlike the calculators it is laid out by Qt and follows the system palette and scale.

#include "core/rule.h"

#include <QMainWindow>
#include <QTimer>
#include <QUndoStack>

#include <memory>

class QCheckBox;
class QLabel;
class QTableView;
class QTextDocument;
class QTreeWidget;

namespace velaro {

class SheetModel;

// The questions and file choices the window asks; tests answer them without showing anything.
class EstimatePrompts {
  public:
    enum class ExitChoice { SaveElsewhere, Quit, Stay };
    virtual ~EstimatePrompts() = default;
    virtual QString openFileName(QWidget* parent);
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filter);
    virtual void error(QWidget* parent, const QString& text);
    virtual bool confirm(QWidget* parent, const QString& text);
    virtual ExitChoice autosaveFailed(QWidget* parent, const QString& text);
    // The print dialog and the printing, from the printing module; false where nothing was
    // printed, with `error` set where the module could not be loaded.
    virtual bool print(QWidget* parent, const QString& html, QString& error);
};

class EstimateWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Reopens the sheet left in the recovery file, if there is one.
    explicit EstimateWindow(char decimalSeparator, QWidget* parent = nullptr);
    ~EstimateWindow() override;

    static inline const QString kTitle = QStringLiteral("Ведомость окраски");
    // Where the sheet is kept between runs: the user's data folder.
    static QString recoveryFilePath();

    SheetModel& model() { return *model_; }
    QUndoStack& undoStack() { return undo_; }
    // Replaces the real dialogs (nullptr restores them); the window does not own it.
    void setPrompts(EstimatePrompts* prompts);

    // A successful Compute: one line, unless recording is off or it repeats the last line of
    // the same calculator with the same texts and ticks. True when a line was added.
    bool record(const QString& element, const QString& calculator, const FormState& state,
                const Results& results);

    // The file commands; each reports its own failure and returns false.
    bool saveTo(const QString& path);
    bool openFrom(const QString& path);
    bool save();
    bool saveAs();
    bool open();
    bool newSheet();
    bool exportCsv(const QString& path);
    bool exportPdf(const QString& path);
    void print();
    void editMaterials();

    const QString& documentPath() const { return path_; }
    bool isModified() const { return modified_; }

    // Writes a pending recovery save now. False where the recovery file cannot be written.
    bool flushAutosave();
    bool autosaveFailed() const { return autosaveFailed_; }
    // Whether the program may end: asks only where the recovery file could not be written.
    bool mayExit();

    // The HTML page print and PDF are drawn from.
    QString html() const;

  private:
    void buildMenus();
    QWidget* buildTotalsPanel();
    void onChanged();
    void refreshTotals();
    void refreshTitle();
    bool writeRecovery();
    void loadRecovery();
    bool replaceAllowed(const QString& question);
    std::unique_ptr<QTextDocument> document() const;
    QList<int> selectedRows() const;
    void moveSelected(int delta);

    char separator_;
    QUndoStack undo_;
    SheetModel* model_;
    QTableView* table_;
    QCheckBox* recording_;
    QLabel* total_;
    QTreeWidget* rooms_;
    QTreeWidget* materials_;
    QTimer autosave_;
    QString path_;
    bool modified_ = false;
    bool autosaveFailed_ = false;
    QString autosaveError_;
    EstimatePrompts* prompts_;
};

} // namespace velaro
