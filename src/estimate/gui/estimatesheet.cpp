#include "estimate/gui/estimatesheet.h"

#include "core/windowframe.h"
#include "estimate/export.h"
#include "estimate/gui/estimateprompts.h"
#include "estimate/gui/estimatewindow.h"
#include "estimate/sheetdocument.h"
#include "estimate/sheetfile.h"
#include "estimate/rooms.h"
#include "estimate/sheetmodel.h"

#include <QEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <new>

namespace velaro {

EstimateSheet::EstimateSheet(char decimalSeparator, QObject* parent)
    : QObject(parent), separator_(decimalSeparator) {}

EstimateSheet::~EstimateSheet() {
    window_.reset(); // the window shows the document: it goes first
}

SheetDocument& EstimateSheet::document() {
    if (document_)
        return *document_;
    document_ = std::make_unique<SheetDocument>(QChar(separator_));
    SheetDocument* document = document_.get();
    connect(document, &SheetDocument::recorded, this, [this](int row, const QString& room) {
        emit status(QStringLiteral("Записано в ведомость: строка %1, %2")
                        .arg(row + 1)
                        .arg(roomTitle(room)),
                    10000);
    });
    connect(document, &SheetDocument::repeated, this, [this](int row) {
        emit status(QStringLiteral("Не записано: расчёт повторяет строку %1 ведомости").arg(row + 1),
                    10000);
    });
    connect(&document->estimate(), &Estimate::openingsExceedWallsOf, this,
            [this](const QString& room) { emit status(wallsAtZeroNotice(room), 10000); });
    connect(document, &SheetDocument::zeroNotRecorded, this, [this] {
        emit status(QStringLiteral("Нулевой результат в ведомость не записан"), 10000);
    });
    connect(document, &SheetDocument::nearlyFull, this,
            [this](const QString& text) { emit status(text, 0); });
    connect(document, &SheetDocument::notice, this,
            [this](const QString& text) { prompts().notice(dialogParent(), text); });
    // Said once where the user is working: a box, and the main window's status line until the
    // file can be written again.
    connect(document, &SheetDocument::recoveryFailed, this, [this](const QString& text) {
        emit status(text, 0);
        prompts().error(dialogParent(), text);
    });
    connect(document, &SheetDocument::recoveryRestored, this, [this] {
        emit status(QStringLiteral("Резервная копия ведомости снова записывается."), 10000);
    });
    document->restore();
    return *document_;
}

EstimateWindow& EstimateSheet::window() {
    if (!window_)
        window_ = std::make_unique<EstimateWindow>(document());
    return *window_;
}

void EstimateSheet::open() {
    bringToFront(window());
}

QStringList sheetFilesOf(const QMimeData* data) {
    QStringList files;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile() && url.toLocalFile().endsWith(u'.' + kSheetSuffix))
                files << url.toLocalFile();
    return files;
}

void EstimateSheet::openFiles(const QStringList& files) {
    open();
    for (const QString& file : files)
        window().openAsked(file);
}

void EstimateSheet::record(const QString& element, const QString& calculator,
                           const FormState& state, const Results& results) {
    // The calculator has shown its result whatever becomes of the line.
    try {
        document().record(element, calculator, state, results);
    } catch (const std::bad_alloc&) {
        emit status(QStringLiteral("Расчёт не записан в ведомость: не хватило памяти."), 0);
    }
}

void EstimateSheet::guardExit(QWidget& mainWindow) {
    mainWindow_ = &mainWindow;
    mainWindow.installEventFilter(this);
}

EstimatePrompts& EstimateSheet::prompts() {
    return window_ ? window_->prompts() : EstimatePrompts::real();
}

QWidget* EstimateSheet::dialogParent() {
    if (window_ && window_->isVisible())
        return window_.get();
    return mainWindow_;
}

bool EstimateSheet::mayExit() {
    if (!document_)
        return true;
    const bool unsaved = document_->isModified() && !document_->path().isEmpty();
    if (!unsaved && document_->flushRecovery())
        return true;
    return window().mayExit();
}

bool EstimateSheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == mainWindow_ && !mayExit()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velaro
