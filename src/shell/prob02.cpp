#include "shell/prob02.h"

#include "calculators/catalog.h"
#include "core/fonts.h"
#include "core/messages.h"
#include "core/windowframe.h"
#include "estimate/estimatesheet.h"
#include "shell/registry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <array>

namespace velaro {
namespace {

const std::array<const char*, TForm1::kCalculatorCount> kButtonCaptions{
    "Площадь окраски труб без фасонных частей...",
    "Площадь окраски стальных труб с выступами, креплениями...",
    "Площадь окраски чугунных труб, включая выступы, крепления...",
    "Площадь окраски моек и раковин",
    "Площадь окраски ванн",
    "Площадь окраски смывного бачка",
    "Площадь окраски чугунного радиатора МС-140 500",
    "Площадь окраски чугунного радиатора МС-140 300",
    "Площадь окраски лепных потолков",
    "Площадь окраски кесонных потолков",
    "Площадь окраски ребристых перекрытий",
    "Площадь окраски вагонки (евровагонки)",
    "Площадь окраски бревенчатых стен",
    "Площадь окраски лепных изделий",
    "Площадь окраски стальных решеток с заполнением до 20%",
    "Площадь окраски стальных решеток с заполнением до 30%",
    "Площадь окраски стальных решеток с заполнением более 30%",
    "Площадь окраски волнистых поверхностей асболистов и стали",
    "Площадь окраски оконных проемов с раздельными переплетами",
    "Площадь окраски оконных проемов со спаренными переплетами",
    "Площадь окраски оконных проемов промышленных зданий",
    "Площадь окраски балконных дверей",
    "Площадь окраски дверных проемов с глухими полотнами",
    "Площадь окраски дверных проемов с остекленными полотнами",
    "Площадь окраски шкафных дверей",
    "Площадь окраски обрамлений дверных проемов (арка)",
};

constexpr QSize kOuterSize(412, 743);
constexpr QSize kButtonSize(369, 25);
constexpr int kButtonStep = 24;
constexpr int kFirstButtonTop = 34;
constexpr int kStatusBarHeight = 25;
// The colour of an inactive title bar's gradient.
const QColor kMainBackground(215, 228, 242);

} // namespace

const QString TForm1::kCreditLine =
    QStringLiteral("Velaro: площади окраски строительных элементов по нормам расхода");
const QString TForm1::kAboutText =
    QStringLiteral("Velaro Калькулятор окраски, версия 1.0: расчёт площадей окраски для сметчиков.");

TForm1::TForm1(WindowRegistry& registry, QWidget* parent)
    : QMainWindow(parent), registry_(registry) {
    setUpTopLevelWindow(*this, "TForm1", kApplicationTitle, QStringLiteral(":/icons/prob02.png"),
                        kMainBackground);
    QAction* sheet =
        addMenuCommand(*this, QStringLiteral("&Файл"), "N1", QStringLiteral("Ведомость окраски…"),
                       "EstimateSheet", [this] { emit estimateRequested(); });
    sheet->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    addMenuCommand(*this, QStringLiteral("&Файл"), "N1", QStringLiteral("Выход"), "N2",
                   [this] { N2Click(); });
    addMenuCommand(*this, QStringLiteral("&Справка"), "N3", QStringLiteral("О программе"), "N4",
                   [this] { N4Click(); });

    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);

    auto* title = new QLabel(QStringLiteral("Калькуляторы площади окраски"), client);
    title->setObjectName("Label1");
    title->setFont(serifFont(15, true));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setGeometry(0, 8, kOuterSize.width(), title->sizeHint().height());

    const int left = (kOuterSize.width() - kButtonSize.width()) / 2;
    QWidget* previous = nullptr;
    for (int n = 1; n <= kCalculatorCount; ++n) {
        auto* button = new QPushButton(QString::fromUtf8(kButtonCaptions[n - 1]), client);
        button->setObjectName(QStringLiteral("Button%1").arg(n));
        button->setFont(serifFont());
        button->setAutoDefault(false);
        button->setGeometry(QRect(QPoint(left, kFirstButtonTop + (n - 1) * kButtonStep),
                                  kButtonSize));
        connect(button, &QPushButton::clicked, this,
                [this, n] { runGuarded([this, n] { openCalculator(n); }); });
        if (previous)
            QWidget::setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
    }

    auto* credit = new QLabel(kCreditLine);
    credit->setObjectName("StatusPanel");
    credit->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(credit, 1);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setFixedHeight(kStatusBarHeight);

    setFixedSize(kOuterSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::openCalculator(int buttonNumber) {
    const int chosenNumber = buttonNumber + 1;
    for (int n = WindowRegistry::kFirstCalculator; n <= WindowRegistry::kLastForm; ++n)
        if (n != chosenNumber)
            if (QWidget* other = registry_.builtForm(n)) // one not built yet is hidden
                other->close();
    QWidget* chosen = registry_.Form(chosenNumber);
    if (!chosen)
        return;
    chosen->show();
    chosen->raise();
    chosen->activateWindow();
    const QRect outer = frameGeometry();
    chosen->move(outer.left() + outer.width(), outer.top());
}

void TForm1::N2Click() { close(); }

void TForm1::N4Click() { messageBoxes().showAbout(kAboutText); }

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever calculator is open.
    event->accept();
    QCoreApplication::exit(0);
}

namespace {

// The element a calculator measures, as its button on the main window names it, without the
// words every button shares: the name of its lines on the estimate sheet.
QString elementName(const TForm1& mainWindow, int formNumber) {
    const auto* button =
        mainWindow.findChild<QPushButton*>(QStringLiteral("Button%1").arg(formNumber - 1));
    QString name = button ? button->text() : QString();
    const QString shared = QStringLiteral("Площадь окраски ");
    if (name.startsWith(shared))
        name.remove(0, shared.size());
    while (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

} // namespace

Program::Program(char decimalSeparator)
    : estimate_(std::make_unique<EstimateSheet>(decimalSeparator)),
      registry_(std::make_unique<WindowRegistry>()) {
    form1_ = std::make_unique<TForm1>(*registry_);
    registry_->add(1, form1_.get());
    for (const CalculatorEntry& entry : allCalculators())
        registry_->addFactory(entry.formNumber, [this, create = entry.create, decimalSeparator,
                                                 number = entry.formNumber] {
            CalculatorWindow* calculator = create(decimalSeparator);
            // Each successful Compute becomes a line of the sheet, named after its button.
            QObject::connect(calculator, &CalculatorWindow::computed, estimate_.get(),
                             [this, calculator, element = elementName(*form1_, number)](
                                 const FormState& state, const Results& results) {
                                 estimate_->record(element, calculator->objectName(), state,
                                                   results);
                             });
            return calculator;
        });
    QObject::connect(form1_.get(), &TForm1::estimateRequested, estimate_.get(),
                     [this] { estimate_->open(); });
    estimate_->guardExit(*form1_);
}

void Program::start() { form1_->show(); }

Program::~Program() { registry_.reset(); }

char systemDecimalSeparator() {
    const QString separator = QLocale::system().decimalPoint();
    if (separator.size() == 1 && separator[0].unicode() < 0x80)
        return static_cast<char>(separator[0].unicode());
    return ','; // a separator the fields cannot hold as one byte: fall back to the comma
}

} // namespace velaro
