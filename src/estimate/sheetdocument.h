#pragma once
// The estimate sheet as a document, without a window: its lines (the model) and their undo
// history, the file it belongs to and whether it is saved (the undo stack's clean state), the
// file commands, recording a Compute, and the recovery file kept up to date off the interface
// thread. The window shows it and asks the questions; tests, the fuzzer and the benchmark use
// it alone.

#include "core/rule.h"
#include "estimate/export.h"
#include "estimate/recovery.h"
#include "estimate/sheeteditor.h"
#include "estimate/sheetmodel.h"

#include <QDateTime>
#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <QUndoStack>

#include <functional>
#include <optional>

namespace velaro {

class SheetDocument : public QObject {
    Q_OBJECT
  public:
    // `recoveryFolder` empty: the user's data folder.
    explicit SheetDocument(QChar decimalSeparator, const QString& recoveryFolder = {},
                           QObject* parent = nullptr);
    ~SheetDocument() override; // writes what the recovery file lacks

    // The lines and what follows from them; the one writer of them; the table of them.
    const Estimate& estimate() const { return estimate_; }
    SheetEditor& editor() { return editor_; }
    SheetModel& model() { return model_; }
    const SheetModel& model() const { return model_; }
    QUndoStack& undoStack() { return undo_; }
    const QString& path() const { return path_; }
    bool isModified() const { return !undo_.isClean(); }
    // The file's name, or «Без имени».
    QString displayName() const;

    // Claims this run's recovery file and takes back the sheet kept there; what the user must be
    // told of it comes as `notice`s.
    void restore();
    // Where restore() took back a sheet that was not saved (no file, or changes since): when its
    // recovery file was written. Invalid otherwise.
    const QDateTime& unsavedRestored() const { return unsavedRestored_; }

    // A successful Compute. Not recorded: with recording off, when the results show nothing or
    // nothing to paint (a result of zero: a field left empty), when the sheet is full, and when it repeats the last line of the same calculator (same
    // texts, ticks and room).
    enum class Recording { Recorded, Repeat, Off, Nothing, Zero, Full };
    struct RecordOutcome {
        Recording result;
        int row = -1; // the line recorded or repeated
    };
    RecordOutcome record(const QString& element, const QString& calculator, const FormState& state,
                         const Results& results);

    // File commands. Each returns why it failed, empty when it did what it says; a failure
    // changes nothing.
    QString saveTo(const QString& path);
    QString openFrom(const QString& path);
    void newSheet();
    QString exportCsv(const QString& path) const;
    // The pages as printed; progress(done, total) may return false to stop, the file untouched.
    QString exportPdf(const QString& path, const ExportProgress& progress = {}) const;
    // A workbook whose quantities, work, paint and totals are formulas (see xlsxexport.h).
    QString exportXlsx(const QString& path) const;

    // Writes what the recovery file lacks now, waiting for a write under way. False where the
    // recovery file cannot be written.
    bool flushRecovery();
    bool recoveryFailing() const { return !recoveryError_.isEmpty(); }
    const QString& recoveryError() const { return recoveryError_; }
    QString recoveryPath() const { return recovery_.path(); }
    // The saved state comes back (the user chose not to keep the changes).
    void revertToSaved();

  signals:
    void modifiedChanged(bool modified);
    void pathChanged(const QString& path);
    void recorded(int row, const QString& room);
    void zeroNotRecorded();
    void repeated(int row);
    // The sheet is near the most lines its file holds, or at it.
    void nearlyFull(const QString& message);
    // The recovery file could not be written (said once until it can be again), or can again.
    void recoveryFailed(const QString& message);
    void recoveryRestored();
    // Something the user must read: a recovery file set aside, lines taken back.
    void notice(const QString& message);
    // restore() took back a sheet that was not saved, kept in a recovery file written then.
    void restoredUnsaved(const QDateTime& written);

  private:
    struct Written {
        QString error;
        int generation;
    };
    void scheduleRecovery();
    void writeRecovery();
    void collectRecovery();
    void setPath(const QString& path);

    QUndoStack undo_;
    Estimate estimate_;
    SheetEditor editor_{estimate_, undo_};
    SheetModel model_{estimate_, editor_};
    QString path_;
    RecoveryStore recovery_;
    bool restored_ = false;
    QDateTime unsavedRestored_;
    QTimer recoveryTimer_;
    QFutureWatcher<Written> recoveryWatcher_;
    std::optional<QFuture<Written>> recoveryWrite_;
    int changes_ = 0;      // counts the changes, so a write knows what it holds
    int writtenChanges_ = 0;
    QString recoveryError_;
    bool warnedNearlyFull_ = false;
};

} // namespace velaro
