// The recovery file: a line kept through a kill and through a log-out, lines another run kept taken
// back within the limit, files that cannot be read set aside, and the exit when it cannot be
// written.

#include "support/sheetfixtures.h"

using namespace velaro;
using namespace velaro::test;

namespace {

// The child of the kill test: computes in a real window and waits to be killed.
int computeAndWait(int argc, char** argv) {
    QApplication app(argc, argv);
    Program program(',');
    const QuitOnSignals quitOnSignals;
    program.start();
    CalculatorWindow* sinks = openCalculator(program, 5);
    typeInto(sinks, "Edit2", "3,5");
    click(sinks, "Button1");
    std::printf("computed %s\n", qPrintable(textOf(sinks, "Edit1")));
    std::fflush(stdout);
    return QApplication::exec();
}


} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY2(startLikeTheProgram(), "ru_RU.UTF-8 is not generated here"); }
    void init() { removeRecovery(); }

    // The child computes in a real window and is ended: killed 1,2 s later, or told to end by
    // a log-out, a shutdown or Ctrl+C 0,1 s later, before its recovery file was due. The line
    // is there at the next start.
    void lineSurvivesTheEnd_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("afterMs");
        QTest::newRow("SIGKILL") << int(SIGKILL) << 1200;
        QTest::newRow("SIGTERM") << int(SIGTERM) << 100;
        QTest::newRow("SIGHUP") << int(SIGHUP) << 100;
        QTest::newRow("SIGINT") << int(SIGINT) << 100;
    }

    void lineSurvivesTheEnd() {
        QFETCH(int, signal);
        QFETCH(int, afterMs);
        QTemporaryDir home;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--compute-and-wait"});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(QString::fromUtf8(child.readLine()).trimmed(), QString("computed 7"));
        QTest::qWait(afterMs);
        ::kill(pid_t(child.processId()), signal);
        QVERIFY(child.waitForFinished(10000));
        // Killed, nothing runs on the way out; told to end, it ends as when closed.
        QCOMPARE(child.exitStatus(), signal == SIGKILL ? QProcess::CrashExit : QProcess::NormalExit);

        const QByteArray ownHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        {
            SheetDocument next(u',');
            next.restore();
            QCOMPARE(next.model().rowCount(), 1);
            QCOMPARE(next.model().estimate().sheet().lines[0].result, QString("7"));
            QCOMPARE(next.model().estimate().sheet().lines[0].element, QString("Мойки и раковины"));
        }
        qputenv("XDG_DATA_HOME", ownHome);
    }

    // Closing and reopening keeps the sheet; a program that finds the sheet taken keeps its
    // lines in a file of its own, and the next start takes them back and drops that file. A
    // link planted where the recovery file goes is replaced, never written through.
    void recoveryAcrossRuns() {
        QTemporaryDir elsewhere; // where a link planted at the recovery file's path points
        QFile target(elsewhere.filePath("sheet.velaro-estimate"));
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("kept") == 4);
        target.close();
        {
            SheetDocument fresh(u',');
            QVERIFY(restoreNotices(fresh).isEmpty());
            QCOMPARE(fresh.model().rowCount(), 0);
            QVERIFY(QFile::link(target.fileName(), recoveryPath()));
            paintWith(fresh.model(), {paint("0,1", "0", "1", "")});
            fillModel(fresh.model(), {"3"});
        } // pending recovery written on the way out, in place of the link, not through it
        QCOMPARE(target.size(), 4);
        {
            SheetDocument first(u',');
            restoreNotices(first);
            QCOMPARE(first.model().rowCount(), 1);
            SheetDocument second(u',');
            QVERIFY(restoreNotices(second).value(0).contains("отдельный файл"));
            QCOMPARE(second.model().rowCount(), 0);
            paintWith(second.model(), {paint("0,2", "0", "3", "", "ВД-АК")}, 2);
            fillModel(second.model(), {"4"});
            second.model().editor().assignSystem({0}, 1);
            QVERIFY(second.flushRecovery());
        }
        SheetDocument next(u',');
        QCOMPARE(restoreNotices(next),
                 QStringList{"В ведомость возвращены строки, записанные другим запуском "
                             "программы: 1."});
        QCOMPARE(next.model().rowCount(), 2);
        // Its system and material under new ids, beside those of the same ids already there.
        QCOMPARE(next.model().index(1, int(Column::System)).data(Qt::ToolTipRole).toString(),
                 QString("ВД-АК ×2"));
        QVERIFY(next.isModified());
        QVERIFY(next.flushRecovery());
        QCOMPARE(QDir(recoveryFolder()).entryList({"recovery-*"}), QStringList());
    }

    // A sheet taken back that was never saved, or changed since, says so in the sheet's status
    // line with when it was kept, whenever its window is opened; a saved one says nothing.
    void unsavedSheetTakenBackIsSaid_data() {
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("windowFirst"); // built before the sheet is taken back
        QTest::addColumn<bool>("said");
        QTest::newRow("unnamed") << "unnamed" << false << true;
        QTest::newRow("unnamed, the window open first") << "unnamed" << true << true;
        QTest::newRow("named, changed") << "changed" << false << true;
        QTest::newRow("named, saved") << "saved" << false << false;
        QTest::newRow("new and empty") << "empty" << false << false;
        QTest::newRow("only another run's lines") << "other run" << false << true;
    }
    void unsavedSheetTakenBackIsSaid() {
        QFETCH(QString, kept);
        QFETCH(bool, windowFirst);
        QFETCH(bool, said);
        QTemporaryDir folder;
        const QString path = kept == "other run"
                                 ? recoveryFolder() + "/recovery-999999-1.velaro-estimate"
                                 : recoveryPath();
        QFile file(path);
        if (kept == "other run") {
            Sheet other;
            other.lines = {lineWith("2")};
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheetToJson(other)) > 0);
            file.close();
        } else {
            SheetDocument before(u',');
            restoreNotices(before);
            if (kept != "empty")
                fillModel(before.model(), {"1"});
            if (kept == "changed" || kept == "saved")
                QVERIFY(before.saveTo(folder.filePath("дом.velaro-estimate")).isEmpty());
            if (kept == "changed")
                fillModel(before.model(), {"2"});
            QVERIFY(before.flushRecovery());
        }
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 31)),
                                 QFileDevice::FileModificationTime));
        file.close();

        SheetDocument next(u',');
        std::unique_ptr<EstimateWindow> window;
        if (windowFirst)
            window = std::make_unique<EstimateWindow>(next);
        restoreNotices(next);
        if (!windowFirst)
            window = std::make_unique<EstimateWindow>(next);
        QCOMPARE(window->statusBar()->currentMessage(),
                 said ? QString("Восстановлена несохранённая ведомость от 05.03.2026 14:07")
                      : QString());
    }

    // Lines another run kept are taken back only where the sheet has room for them; otherwise
    // their file stays, and the user is told.
    void recoveryMergeWithinTheLimit() {
        {
            SheetDocument own(u',');
            restoreNotices(own);
            Sheet full;
            full.lines = QList<Line>(kMaxLines - 1, lineWith("1"));
            own.model().editor().reset(full);
            QVERIFY(own.flushRecovery());
        }
        Sheet other;
        other.lines = {lineWith("2"), lineWith("3")};
        const QString otherPath = recoveryFolder() + "/recovery-999999-1.velaro-estimate";
        QFile file(otherPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheetToJson(other)) > 0);
        file.close();
        {
            SheetDocument next(u',');
            const QStringList notices = restoreNotices(next);
            QCOMPARE(next.model().rowCount(), kMaxLines - 1);
            QVERIFY2(notices.value(0).contains("не возвращены"), qPrintable(notices.join(' ')));
            QVERIFY(notices.value(0).contains(QDir::toNativeSeparators(otherPath)));
            next.model().editor().reset({});
            QVERIFY(next.flushRecovery());
        }
        QVERIFY(QFile::exists(otherPath));
        SheetDocument roomy(u','); // once there is room, they come back
        restoreNotices(roomy);
        QCOMPARE(roomy.model().rowCount(), 2);
        QVERIFY(roomy.flushRecovery()); // kept in its own file: the other goes
        QVERIFY(!QFile::exists(otherPath));
    }

    // A recovery file that cannot be read is set aside, each under a name of its own, and said.
    void recoveryFilesSetAside_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // grown to this, sparse, where not 0
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("aside");
        QTest::newRow("damaged") << QByteArray("{\"format\": \"velaro-estimate\", \"version\": 1, \"lines\": [")
                                 << qint64(0) << "не прочитана (файл обрывается"
                                 << ".damaged-";
        QTest::newRow("newer") << QByteArray("{\"format\": \"velaro-estimate\", \"version\": 9}")
                               << qint64(0) << "более новой версией программы (формат 9)"
                               << ".format-9-";
        QTest::newRow("too large") << QByteArray("{") << kLargestSheetFile + 1
                                   << "файл слишком велик" << ".damaged-";
    }

    void recoveryFilesSetAside() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, notice);
        QFETCH(QString, aside);
        for (int start = 1; start <= 2; ++start) { // the second start keeps the first copy
            QFile file(recoveryPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            if (size)
                QVERIFY(file.resize(size));
            file.close();
            SheetDocument document(u',');
            const QStringList notices = restoreNotices(document);
            QVERIFY2(notices.size() == 1 && notices[0].contains(notice), qPrintable(notices.join(' ')));
            QVERIFY(!QFile::exists(recoveryPath()));
            const QStringList kept = QDir(recoveryFolder())
                                         .entryList({RecoveryStore::sharedFileName() + aside + "*"});
            QCOMPARE(kept.size(), start);
            QVERIFY(notices[0].contains(kept.last()));
        }
    }

    // The program's exit asks only where the recovery file could not be written.
    void exitAsksOnlyWhenAutosaveFailed_data() {
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("exits");
        QTest::addColumn<int>("questions");
        QTest::newRow("written") << false << int(EstimatePrompts::ExitChoice::Stay) << true << 0;
        QTest::newRow("failed, stay")
            << true << int(EstimatePrompts::ExitChoice::Stay) << false << 1;
        QTest::newRow("failed, quit")
            << true << int(EstimatePrompts::ExitChoice::Quit) << true << 1;
        QTest::newRow("failed, saved elsewhere")
            << true << int(EstimatePrompts::ExitChoice::SaveElsewhere) << true << 1;
    }

    void exitAsksOnlyWhenAutosaveFailed() {
        QFETCH(bool, blocked);
        QFETCH(int, choice);
        QFETCH(bool, exits);
        QFETCH(int, questions);
        QTemporaryDir home;
        const QByteArray ownHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        if (blocked) { // a file where the data folder should be: nothing can be written there
            QFile obstacle(QFileInfo(recoveryPath()).absolutePath());
            QVERIFY(obstacle.open(QIODevice::WriteOnly));
        }
        FakePrompts prompts;
        prompts.exitChoice = EstimatePrompts::ExitChoice(choice);
        prompts.fileName = home.filePath("elsewhere.velaro-estimate");
        {
            Program program(',');
            program.start();
            program.estimateSheet().window().setPrompts(&prompts);
            CalculatorWindow* sinks = openCalculator(program, 5);
            typeInto(sinks, "Edit2", "2");
            click(sinks, "Button1");
            QCOMPARE(program.estimateSheet().document().flushRecovery(), !blocked);
            // Said once, in a box, and in the main window's status line.
            QCOMPARE(prompts.errors.size(), blocked ? 1 : 0);
            QCOMPARE(program.mainWindow().statusBar()->currentMessage().contains("резервный файл"),
                     blocked);
            if (exits) // through the sheet alone: closing the main window would end the test
                QVERIFY(program.estimateSheet().window().mayExit());
            else
                QVERIFY(!program.mainWindow().close());
            QCOMPARE(prompts.exitQuestions, questions);
            QCOMPARE(QFile::exists(prompts.fileName),
                     choice == int(EstimatePrompts::ExitChoice::SaveElsewhere) && blocked);
            program.estimateSheet().window().setPrompts(nullptr);
        }
        qputenv("XDG_DATA_HOME", ownHome);
    }
};

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--compute-and-wait") == 0)
        return computeAndWait(argc, argv);
    QApplication app(argc, argv);
    RecoveryTest tests;
    return velaro::test::runTests(argc, argv, &tests);
}

#include "test_recovery.moc"
