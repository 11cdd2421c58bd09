#include "help/helpwindow.h"

#include "core/windowframe.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

namespace velaro {
namespace {

QPointer<HelpWindow>& theWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

QUrl pageUrl(const QString& page) {
    return QUrl(QStringLiteral("qrc") + kGuideFolder + u'/' + page);
}

// Right of the asking window where the whole frame fits on its screen, else left of it, else
// against the screen's right edge: the asking window's own fields stay in view where they can.
QPoint besideOf(const QRect& asking, QSize frame, const QRect& available) {
    const int right = asking.right() + 1;
    if (right + frame.width() <= available.right() + 1)
        return keptInside({right, asking.top()}, frame, available);
    if (asking.left() - frame.width() >= available.left())
        return keptInside({asking.left() - frame.width(), asking.top()}, frame, available);
    return keptInside({available.right() + 1 - frame.width(), asking.top()}, frame, available);
}

} // namespace

QString guidePageOf(const QString& windowName) {
    return windowName + QStringLiteral(".html");
}

const QList<GuideTopic>& guideTopics() {
    static const QList<GuideTopic> topics{
        {QStringLiteral("Запись расчётов в ведомость"), QStringLiteral("recording.html")},
        {QStringLiteral("Помещения, стены и потолки"), QStringLiteral("rooms.html")},
        {QStringLiteral("Строки, набранные вручную"), QStringLiteral("typed-lines.html")},
        {QStringLiteral("Материалы, системы окраски и слои"), QStringLiteral("systems.html")},
        {QStringLiteral("Каталог фирмы и прайс-листы"), QStringLiteral("catalogue.html")},
        {QStringLiteral("Стоимость работ и НДС"), QStringLiteral("money.html")},
        {QStringLiteral("Документы и командная строка"), QStringLiteral("documents.html")},
        {QStringLiteral("Таблица и электронные таблицы"), QStringLiteral("spreadsheet.html")},
    };
    return topics;
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), browser_(new QTextBrowser) {
    setObjectName("HelpWindow");
    setAttribute(Qt::WA_QuitOnClose, false); // the guide left open does not keep the program
    browser_->setObjectName("helpBrowser");
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({kGuideFolder});
    setCentralWidget(browser_);

    QToolBar* bar = addToolBar(QStringLiteral("Справка"));
    bar->setObjectName("helpTools");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setEnabled(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto command = [&](QStyle::StandardPixmap icon, const QString& text, const char* name,
                             const QList<QKeySequence>& keys) {
        QAction* action = bar->addAction(style()->standardIcon(icon), text);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        return action;
    };
    QAction* back = command(QStyle::SP_ArrowBack, QStringLiteral("Назад"), "helpBack",
                            QKeySequence::keyBindings(QKeySequence::Back));
    QAction* forward = command(QStyle::SP_ArrowForward, QStringLiteral("Вперёд"), "helpForward",
                               QKeySequence::keyBindings(QKeySequence::Forward));
    QAction* contents = command(QStyle::SP_DirHomeIcon, QStringLiteral("Содержание"),
                                "helpContents", {QKeySequence(Qt::ALT | Qt::Key_Home)});
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contents, &QAction::triggered, this, [this] { showPage(kGuideContents); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::refreshTitle);

    auto* close = new QAction(this);
    close->setObjectName("helpClose");
    close->setShortcut(Qt::Key_Escape);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

void HelpWindow::showPage(const QString& page) {
    browser_->setSource(pageUrl(page));
}

QUrl HelpWindow::source() const {
    return browser_->source();
}

void HelpWindow::refreshTitle() {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Справка")
                                   : QStringLiteral("Справка — %1").arg(title));
}

void showGuide(QWidget* asking, const QString& page) {
    QPointer<HelpWindow>& window = theWindow();
    if (!window) {
        window = new HelpWindow;
        // Deleted while the application still stands, not left to its teardown.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window,
                         [] { delete theWindow().data(); });
        const QRect available = (asking ? asking->screen() : window->screen())->availableGeometry();
        const int em = window->fontMetrics().horizontalAdvance(u'M');
        window->resize(QSize(46 * em, 70 * em).boundedTo(available.size() * 9 / 10));
    }
    window->showPage(page);
    if (asking) {
        const QRect frame = asking->window()->frameGeometry();
        placeFrame(
            *window, asking->screen(),
            [frame](QSize size, const QRect& available) {
                return besideOf(frame, size, available);
            },
            knownFrameMargins(*asking->window()));
    }
    bringToFront(*window);
}

HelpWindow* guideWindow() {
    return theWindow().data();
}

void addGuideKey(QWidget& window, const QString& page) {
    auto* key = new QAction(&window);
    key->setObjectName("guideKey");
    key->setShortcut(Qt::Key_F1);
    QObject::connect(key, &QAction::triggered, &window,
                     [&window, page] { showGuide(&window, page); });
    window.addAction(key);
}

} // namespace velaro
