#include "shell/mainwindow.h"

#include "calculators/catalog.h"
#include "core/fonts.h"
#include "core/messages.h"
#include "core/windowframe.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/openingsize.h"
#include "estimate/sheet.h"
#include "help/helpwindow.h"
#include "shell/registry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QWindow>

namespace velaro {
namespace {

constexpr QSize kOuterSize(412, 743);
constexpr QSize kButtonSize(369, 25);
constexpr int kButtonStep = 24;
constexpr int kFirstButtonTop = 34;
constexpr int kStatusBarHeight = 25;
const QKeySequence kSheetKeys(Qt::CTRL | Qt::Key_E);
// The colour of an inactive title bar's gradient.
const QColor kMainBackground(215, 228, 242);

// Whether a window system draws the frames (not the offscreen and minimal platforms, whose
// frame is a stand-in nobody sees).
bool windowSystemDrawsFrames() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

// The version is the project's, the one --version prints.
const QString MainWindow::kAboutText =
    QStringLiteral("Velaro Калькулятор окраски, версия %1: расчёт площадей окраски для сметчиков.")
        .arg(QStringLiteral(VELARO_VERSION));

MainWindow::MainWindow(WindowRegistry& registry) : registry_(registry) {
    setUpTopLevelWindow(*this, "TForm1", kApplicationTitle, QStringLiteral(":/icons/prob02.png"),
                        kMainBackground);
    QAction* sheet =
        addMenuCommand(*this, QStringLiteral("&Файл"), "N1", QStringLiteral("Ведомость окраски…"),
                       "EstimateSheet", [this] { emit estimateRequested(); });
    sheet->setShortcut(kSheetKeys);
    setAcceptDrops(true);
    // F1 without a menu item: the main window's menus are fixed.
    addGuideKey(*this, kGuideContents);
    addMenuCommand(*this, QStringLiteral("&Файл"), "N1", QStringLiteral("Выход"), "N2",
                   [this] { close(); });
    addMenuCommand(*this, QStringLiteral("&Справка"), "N3", QStringLiteral("О программе"), "N4",
                   [] { messageBoxes().showAbout(kAboutText); });

    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    client_ = client;

    title_ = new QLabel(QStringLiteral("Калькуляторы площади окраски"), client);
    title_->setObjectName("Label1");
    title_->setFont(serifFont(15, true));
    title_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    for (const CalculatorEntry& calculator : allCalculators()) {
        const int n = calculator.formNumber - 1; // button N opens TForm<N+1>
        auto* button = new QPushButton(calculator.caption, client);
        button->setObjectName(QStringLiteral("Button%1").arg(n));
        button->setFont(serifFont());
        button->setAutoDefault(false);
        buttons_[n - 1] = button;
        connect(button, &QPushButton::clicked, this,
                [this, n] { runGuarded([this, n] { openCalculator(n); }); });
    }
    buttons_[0]->setFocus(); // made in ascending order, the buttons are in tab order already

    auto* credit = new QLabel(
        QStringLiteral("Velaro: площади окраски строительных элементов по нормам расхода"));
    credit->setObjectName("StatusPanel");
    credit->setAlignment(Qt::AlignCenter);
    // A sunken panel, so the line sits in the bar rather than floating on it.
    credit->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addWidget(credit, 1);
    statusBar()->setSizeGripEnabled(false);
    // The bar keeps two pixels on its left; the same on the right shows the panel's right edge.
    statusBar()->setContentsMargins(0, 0, 2, 0);
    statusBar()->setFixedHeight(kStatusBarHeight);

    // The outer size is the frame's; until the window system reports the frame, the client area
    // takes all of it.
    fitScreen();
    whenFramed(*this, [this](const QMargins& frame) {
        if (windowSystemDrawsFrames()) {
            frame_ = frame;
            fitScreen();
        }
    });
    placeFrame(*this, nullptr, centredInside);
}

ClientFit fitClient(QSize natural, QSize room, QSize bars) {
    if (natural.width() <= room.width() && natural.height() <= room.height())
        return {natural, false};
    // Too low, the vertical bar widens the window where the screen has the room; too narrow,
    // the horizontal bar makes it taller. A second bar that one of them makes needed lies along
    // a side already cut to the screen.
    const QSize wanted(natural.width() + (natural.height() > room.height() ? bars.width() : 0),
                       natural.height() + (natural.width() > room.width() ? bars.height() : 0));
    return {wanted.boundedTo(room), true};
}

void MainWindow::fitScreen() {
    const QSize natural = kOuterSize.shrunkBy(frame_);
    ClientFit fit{natural, false};
    // The offscreen and minimal platforms have a stand-in screen nobody looks at: there the
    // window keeps its one size, for the tests and the screenshots.
    if (windowSystemDrawsFrames() && screen()) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        fit = fitClient(natural, screen()->availableGeometry().size().shrunkBy(frame_),
                        QSize(bar, bar));
    }
    auto* scroller = qobject_cast<QScrollArea*>(centralWidget());
    if (fit.scrolls && !scroller) {
        scroller = new QScrollArea;
        scroller->setObjectName("clientScroller");
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setFocusPolicy(Qt::NoFocus); // Tab goes from button to button, as before
        scroller->setWidget(takeCentralWidget());
        setCentralWidget(scroller);
    } else if (!fit.scrolls && scroller) {
        setCentralWidget(scroller->takeWidget()); // the scroll area goes
    }
    // The title and the buttons are laid out for the window's one size either way; scrolled,
    // they keep the height the menu bar and the status bar leave them there.
    if (fit.scrolls) {
        client_->setFixedSize(natural.width(),
                              natural.height() - menuBar()->sizeHint().height() - kStatusBarHeight);
    } else {
        client_->setMinimumSize(0, 0);
        client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    setFixedSize(fit.size);
    title_->setGeometry(0, 8, natural.width(), title_->sizeHint().height());
    const int left = (natural.width() - kButtonSize.width()) / 2;
    for (int n = 1; n <= kCalculatorCount; ++n)
        buttons_[n - 1]->setGeometry(
            QRect(QPoint(left, kFirstButtonTop + (n - 1) * kButtonStep), kButtonSize));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (windowHandle() && !watched_) {
        connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::watchScreen,
                Qt::UniqueConnection);
        watchScreen(windowHandle()->screen());
    }
}

void MainWindow::watchScreen(QScreen* screen) {
    if (watched_)
        watched_->disconnect(this);
    watched_ = screen;
    if (!screen)
        return;
    // A panel added or a screen changed: fitted again, and kept on the screen where it is.
    connect(screen, &QScreen::availableGeometryChanged, this, [this] {
        fitScreen();
        const QPoint where = frameGeometry().topLeft();
        placeFrame(*this, nullptr, [where](QSize frame, const QRect& available) {
            return keptInside(where, frame, available);
        });
    });
    fitScreen();
}

void MainWindow::openCalculator(int buttonNumber) {
    const int chosenNumber = buttonNumber + 1;
    for (int n = WindowRegistry::kFirstCalculator; n <= WindowRegistry::kLastForm; ++n)
        if (n != chosenNumber)
            if (QWidget* other = registry_.builtForm(n)) // one not built yet is hidden
                other->close();
    QWidget* chosen = registry_.Form(chosenNumber);
    if (!chosen)
        return;
    // A calculator not framed yet is placed as if framed like this window, so that its first
    // opening is flush already.
    const QRect outer = frameGeometry();
    const QPoint beside(outer.left() + outer.width(), outer.top());
    placeFrame(
        *chosen, screen(),
        [beside](QSize frame, const QRect& available) {
            return keptInside(beside, frame, available);
        },
        knownFrameMargins(*this));
    bringToFront(*chosen);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever calculator is open.
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!sheetFilesOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList files = sheetFilesOf(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    emit sheetsDropped(files);
}

void tellSheetTheOpenings() {
    QHash<QString, OpeningSource> openings;
    for (const CalculatorEntry& entry : allCalculators())
        if (entry.opening.kind != Opening::None)
            openings.insert(QStringLiteral("TForm%1").arg(entry.formNumber), entry.opening);
    setOpeningSources(openings);
    setCalculatorRules([](const QString& calculator, char separator) -> std::optional<CalculatorRule> {
        for (const CalculatorEntry& entry : allCalculators()) {
            if (QStringLiteral("TForm%1").arg(entry.formNumber) != calculator)
                continue;
            // A window of its own, never shown: the one on screen keeps what the user typed.
            std::shared_ptr<CalculatorWindow> window(entry.create(separator));
            const FormState state = window->formState();
            FormState blank = state;
            for (const auto& [field, text] : state.texts())
                blank.setText(field, {});
            for (const auto& [box, ticked] : state.ticks())
                blank.setTicked(box, false);
            return CalculatorRule{blank, [window](const FormState& given) {
                                      return window->evaluate(given);
                                  }};
        }
        return std::nullopt;
    });
}

Program::Program(char decimalSeparator)
    : estimate_((tellSheetTheOpenings(), std::make_unique<EstimateSheet>(decimalSeparator))),
      registry_(std::make_unique<WindowRegistry>()) {
    form1_ = std::make_unique<MainWindow>(*registry_);
    registry_->add(1, form1_.get());
    for (const CalculatorEntry& entry : allCalculators())
        registry_->addFactory(entry.formNumber, [this, create = entry.create, decimalSeparator,
                                                 element = entry.sheetName] {
            CalculatorWindow* calculator = create(decimalSeparator);
            // Each successful Compute becomes a line of the sheet, for the catalogue's element.
            QObject::connect(
                calculator, &CalculatorWindow::computed, estimate_.get(),
                [this, calculator, element](const FormState& state, const Results& results) {
                    estimate_->record(element, calculator->objectName(), state, results);
                });
            // The sheet is one key away from every window.
            auto* sheet = new QAction(calculator);
            sheet->setShortcut(kSheetKeys);
            calculator->addAction(sheet);
            QObject::connect(sheet, &QAction::triggered, estimate_.get(),
                             [this] { estimate_->open(); });
            // F1 opens the calculator's own page; its window keeps its specified look.
            addGuideKey(*calculator, guidePageOf(calculator->objectName()));
            return calculator;
        });
    QObject::connect(form1_.get(), &MainWindow::estimateRequested, estimate_.get(),
                     [this] { estimate_->open(); });
    QObject::connect(form1_.get(), &MainWindow::sheetsDropped, estimate_.get(),
                     &EstimateSheet::openFiles);
    estimate_->guardExit(*form1_);
    QObject::connect(estimate_.get(), &EstimateSheet::status, form1_.get(),
                     [this](const QString& text, int milliseconds) {
                         form1_->statusBar()->showMessage(text, milliseconds);
                     });
}

void Program::start() {
    form1_->show();
}

Program::~Program() {
    registry_.reset();
}

} // namespace velaro
