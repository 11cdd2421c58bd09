// The user guide: a page for every calculator and task, every link and picture found, and F1 in
// each kind of window opening the page of where the user is, in the guide's one window.

#include "calculators/catalog.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/gui/estimatewindow.h"
#include "help/helpwindow.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

using namespace velaro;
using namespace velaro::test;

namespace {

QString guideText(const QString& page) {
    QFile file(kGuideFolder + u'/' + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString titleOf(const QString& page) {
    static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"));
    return title.match(guideText(page)).captured(1);
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

  private slots:
    // A missing page, or one swapped with its neighbour's (three grille windows share a
    // caption), shows the wrong calculator or none.
    void pageForEveryCalculatorAndTask_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("title");
        for (const CalculatorEntry& entry : allCalculators()) {
            const QString window = QStringLiteral("TForm%1").arg(entry.formNumber);
            QTest::newRow(qPrintable(window)) << guidePageOf(window) << entry.sheetName;
        }
        for (const GuideTopic& topic : guideTopics())
            QTest::newRow(qPrintable(topic.page)) << topic.page << topic.title;
    }
    void pageForEveryCalculatorAndTask() {
        QFETCH(QString, page);
        QFETCH(QString, title);
        QCOMPARE(titleOf(page), title);
        HelpWindow window;
        window.showPage(page);
        QCOMPARE(window.findChild<QTextBrowser*>("helpBrowser")->documentTitle(), title);
        QVERIFY(window.windowTitle().endsWith(title));
    }

    // From the contents, every link and picture names a file of the guide (and an anchor it
    // has), and every file of the guide is reached.
    void linksResolve() {
        static const QRegularExpression reference(
            QStringLiteral("(?:href|src)=\"([^\"#]*)#?([^\"]*)\""));
        const QStringList files = QDir(kGuideFolder).entryList(QDir::Files);
        QSet<QString> reached{kGuideContents};
        QStringList toRead{kGuideContents}, broken;
        while (!toRead.isEmpty()) {
            const QString page = toRead.takeFirst(), text = guideText(page);
            for (const auto& match : reference.globalMatch(text)) {
                const QString file = match.captured(1), anchor = match.captured(2);
                if (file.startsWith(QLatin1String("http")))
                    continue;
                if ((!file.isEmpty() && !files.contains(file)) ||
                    (!anchor.isEmpty() && !(file.isEmpty() ? text : guideText(file))
                                               .contains(QStringLiteral("id=\"%1\"").arg(anchor))))
                    broken << page + QStringLiteral(": ") + match.captured(0);
                else if (!file.isEmpty() && !reached.contains(file)) {
                    reached.insert(file);
                    if (file.endsWith(QLatin1String(".html")))
                        toRead << file;
                }
            }
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
        QStringList unreached;
        for (const QString& file : files)
            if (!reached.contains(file))
                unreached << file;
        QVERIFY2(unreached.isEmpty(), qPrintable(unreached.join(u' ')));
        QVERIFY(reached.contains(kSheetGuidePage));
    }

    // F1 where the user is: the main window's contents, a calculator's own page (by its window,
    // not its button), the sheet's page; all in the one guide window, which Esc closes.
    void f1OpensThePageOfWhereYouAre_data() {
        QTest::addColumn<int>("form"); // 0: the sheet window
        QTest::addColumn<QString>("page");
        QTest::newRow("main window") << 1 << kGuideContents;
        QTest::newRow("pipes") << 2 << "TForm2.html";
        QTest::newRow("grilles up to 30 %") << 17 << "TForm17.html";
        QTest::newRow("window openings") << 20 << "TForm20.html";
        QTest::newRow("framing") << 27 << "TForm27.html";
        QTest::newRow("sheet") << 0 << kSheetGuidePage;
    }
    void f1OpensThePageOfWhereYouAre() {
        QFETCH(int, form);
        QFETCH(QString, page);
        Program program(',');
        program.start();
        QWidget* window = &program.mainWindow();
        if (form > 1) {
            program.mainWindow().openCalculator(form - 1);
            window = program.registry().Form(form);
        } else if (form == 0) {
            program.estimateSheet().open();
            window = &program.estimateSheet().window();
        }
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        HelpWindow* before = guideWindow();
        QTest::keyClick(window, Qt::Key_F1);
        HelpWindow* help = guideWindow();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->source().fileName(), page);
        QVERIFY(!before || help == before); // one window, reused
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help->findChild<QTextBrowser*>("helpBrowser"), Qt::Key_Escape);
        QVERIFY(!help->isVisible());
    }

    // The sheet's Help menu: each page by task opens its own page (a handler that captured the
    // loop's variable would open the last one from every item).
    void sheetHelpMenu() {
        Program program(',');
        EstimateWindow& sheet = program.estimateSheet().window();
        QMenu* menu = nullptr;
        for (QAction* item : sheet.menuBar()->actions())
            if (item->text() == QStringLiteral("&Справка"))
                menu = item->menu();
        QVERIFY(menu);
        QList<QAction*> topics;
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->objectName() != QLatin1String("actionHelp"))
                topics << action;
        QCOMPARE(topics.size(), guideTopics().size());
        for (qsizetype i = 0; i < topics.size(); ++i) {
            topics[i]->trigger();
            QCOMPARE(guideWindow()->source().fileName(), guideTopics()[i].page);
        }
        guideWindow()->close();
    }
};

VELARO_TEST_MAIN(HelpTest)
#include "test_help.moc"
