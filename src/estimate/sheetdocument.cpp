#include "estimate/sheetdocument.h"

#include "estimate/export.h"
#include "estimate/record.h"
#include "estimate/safefile.h"
#include "estimate/sheetpages.h"
#include "estimate/xlsxexport.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

#include <new>

namespace velaro {
namespace {

constexpr int kRecoveryDelayMs = 400; // every change reaches the recovery file within a second
constexpr int kRecoveryRetryMs = 10000;
const QString kOutOfMemory = QStringLiteral("не хватило памяти");

} // namespace

SheetDocument::SheetDocument(QChar decimalSeparator, const QString& recoveryFolder,
                             QObject* parent)
    : QObject(parent), estimate_(decimalSeparator), recovery_(recoveryFolder) {
    recoveryTimer_.setSingleShot(true);
    connect(&recoveryTimer_, &QTimer::timeout, this, &SheetDocument::writeRecovery);
    connect(&estimate_, &Estimate::changed, this, &SheetDocument::scheduleRecovery);
    connect(&undo_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        emit modifiedChanged(!clean);
        scheduleRecovery(); // the recovery file keeps whether the document is saved
    });
    connect(&recoveryWatcher_, &QFutureWatcherBase::finished, this,
            &SheetDocument::collectRecovery);
}

SheetDocument::~SheetDocument() {
    flushRecovery();
    // The members going away tell of it (a stack not clean says it is clean as it dies).
    undo_.disconnect(this);
    estimate_.disconnect(this);
}

QString SheetDocument::displayName() const {
    return path_.isEmpty() ? QStringLiteral("Без имени") : QFileInfo(path_).fileName();
}

void SheetDocument::restore() {
    recovery_.claim();
    std::optional<LoadedSheet> restored;
    try {
        restored = recovery_.restore();
    } catch (const std::bad_alloc&) {
        emit notice(QStringLiteral("Резервную копию ведомости не удалось прочитать: %1.")
                        .arg(kOutOfMemory));
    }
    if (restored) {
        // An unnamed sheet kept by a version that kept no document state counts as unsaved too.
        const DocumentState& kept = restored->document;
        const bool unsaved =
            kept.modified || (kept.path.isEmpty() && !restored->sheet.lines.isEmpty());
        editor_.reset(std::move(restored->sheet));
        setPath(restored->document.path);
        if (restored->document.modified)
            undo_.resetClean();
        if (unsaved)
            unsavedRestored_ = recovery_.restoredWritten();
    }
    restored_ = true;
    writtenChanges_ = changes_;
    if (restored && restored->document.modified)
        scheduleRecovery(); // lines taken back from other files reach this one
    for (const QString& text : recovery_.takeNotices())
        emit notice(text);
    if (unsavedRestored_.isValid())
        emit restoredUnsaved(unsavedRestored_);
}

SheetDocument::RecordOutcome SheetDocument::record(const QString& element,
                                                   const QString& calculator,
                                                   const FormState& state,
                                                   const Results& results) {
    const Sheet& sheet = estimate_.sheet();
    if (!sheet.recording)
        return {Recording::Off};
    std::optional<Line> line = lineOfCompute(element, calculator, state, results);
    if (!line)
        return {Recording::Nothing};
    if (const auto result = Decimal::parse(line->result); result && result->isZero()) {
        emit zeroNotRecorded();
        return {Recording::Zero};
    }
    for (int row = int(sheet.lines.size()) - 1; row >= 0; --row)
        if (sheet.lines[row].calculator == calculator) {
            const Line& last = sheet.lines[row];
            if (last.inputs == line->inputs && last.result == line->result &&
                last.room == sheet.lastRoom) {
                emit repeated(row);
                return {Recording::Repeat, row};
            }
            break;
        }
    if (sheet.lines.size() >= kMaxLines) {
        emit nearlyFull(QStringLiteral("Ведомость заполнена: в ней %1 строк, больше её файл не "
                                       "вмещает. Расчёт не записан; начните новую ведомость.")
                            .arg(kMaxLines));
        return {Recording::Full};
    }
    editor_.addLine(std::move(*line));
    const int row = estimate_.lineCount() - 1;
    if (!warnedNearlyFull_ && row + 1 >= kMaxLines / 10 * 9) {
        warnedNearlyFull_ = true;
        emit nearlyFull(QStringLiteral("В ведомости %1 строк из %2, которые вмещает её файл. "
                                       "Начните новую ведомость для следующих расчётов.")
                            .arg(row + 1)
                            .arg(kMaxLines));
    }
    emit recorded(row, sheet.lines[row].room);
    return {Recording::Recorded, row};
}

QString SheetDocument::saveTo(const QString& path) {
    QString error;
    try {
        error = writeFileWhole(path, sheetToJson(estimate_.sheet()));
    } catch (const std::bad_alloc&) {
        error = kOutOfMemory;
    }
    if (!error.isEmpty())
        return error;
    setPath(path);
    undo_.setClean();
    scheduleRecovery(); // the recovery file learns the document's name
    return {};
}

QString SheetDocument::openFrom(const QString& path) {
    try {
        auto bytes = readFileAtMost(path, kLargestSheetFile);
        if (const auto* error = std::get_if<QString>(&bytes))
            return *error;
        auto loaded = sheetFromJson(std::get<QByteArray>(bytes));
        if (const auto* error = std::get_if<LoadError>(&loaded))
            return error->reason;
        editor_.reset(std::move(std::get<LoadedSheet>(loaded).sheet));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    setPath(path);
    undo_.setClean();
    warnedNearlyFull_ = false;
    return {};
}

void SheetDocument::newSheet() {
    editor_.reset(Sheet{});
    setPath({});
    undo_.setClean();
    warnedNearlyFull_ = false;
}

void SheetDocument::revertToSaved() {
    if (undo_.cleanIndex() >= 0)
        undo_.setIndex(undo_.cleanIndex());
    else if (path_.isEmpty() || !openFrom(path_).isEmpty())
        newSheet();
}

QString SheetDocument::exportCsv(const QString& path) const {
    try {
        return writeFileWhole(path, sheetCsv(estimate_.view()));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

QString SheetDocument::exportXlsx(const QString& path) const {
    try {
        return writeXlsx(estimate_.view(), path);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

QString SheetDocument::exportPdf(const QString& path, const ExportProgress& progress) const {
    try {
        return writePdf(estimate_.view(), path, progress);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

bool SheetDocument::flushRecovery() {
    if (!restored_)
        return true;
    if (recoveryWrite_) {
        recoveryWrite_->waitForFinished();
        collectRecovery();
    }
    if (changes_ != writtenChanges_) {
        writeRecovery();
        if (recoveryWrite_) {
            recoveryWrite_->waitForFinished();
            collectRecovery();
        }
    }
    return recoveryError_.isEmpty();
}

void SheetDocument::scheduleRecovery() {
    ++changes_;
    if (restored_ && !recoveryTimer_.isActive() && !recoveryWrite_)
        recoveryTimer_.start(kRecoveryDelayMs);
}

void SheetDocument::writeRecovery() {
    recoveryTimer_.stop();
    if (recoveryWrite_)
        return; // one write at a time; the next starts when this one is collected
    // The sheet's lists are shared, not copied: the thread reads this state of them while the
    // interface goes on editing its own.
    recoveryWrite_ = QtConcurrent::run([path = recovery_.path(), sheet = estimate_.sheet(),
                                        state = DocumentState{path_, isModified()},
                                        generation = changes_]() -> Written {
        try {
            return {writeFileWhole(path, sheetToJson(sheet, state), Links::Replace), generation};
        } catch (const std::bad_alloc&) {
            return {kOutOfMemory, generation};
        }
    });
    recoveryWatcher_.setFuture(*recoveryWrite_);
}

void SheetDocument::collectRecovery() {
    if (!recoveryWrite_ || !recoveryWrite_->isFinished())
        return;
    const Written written = recoveryWrite_->result();
    recoveryWrite_.reset();
    if (written.error.isEmpty()) {
        writtenChanges_ = written.generation;
        recovery_.dropTakenFiles();
        if (!recoveryError_.isEmpty()) {
            recoveryError_.clear();
            emit recoveryRestored();
        }
    } else {
        const bool first = recoveryError_.isEmpty();
        recoveryError_ = written.error;
        if (first)
            emit recoveryFailed(
                QStringLiteral("Ведомость не удаётся записать в резервный файл «%1»: %2. Строки "
                               "остаются в памяти программы и будут записаны, когда это станет "
                               "возможно; сохраните ведомость в другое место, чтобы не потерять "
                               "их при сбое.")
                    .arg(QDir::toNativeSeparators(recovery_.path()), written.error));
    }
    if (writtenChanges_ != changes_ && !recoveryTimer_.isActive())
        recoveryTimer_.start(recoveryError_.isEmpty() ? kRecoveryDelayMs : kRecoveryRetryMs);
}

void SheetDocument::setPath(const QString& path) {
    if (path_ == path)
        return;
    path_ = path;
    emit pathChanged(path_);
}

} // namespace velaro
