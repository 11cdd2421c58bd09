// Starts of the real program in one private user session: a later start hands over and ends, and
// the socket a killed program leaves behind does not stop the next start; a conversion from the
// command line runs on its own beside it.

#include "estimate/sheetfile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir session;

    void start(QProcess& program, const QStringList& arguments = {}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        for (const char* folder : {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_DATA_HOME"}) {
            QDir(session.path())
                .mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            environment.insert(folder, session.filePath(folder));
        }
        environment.remove("DISPLAY");
        program.setProcessEnvironment(environment);
        program.start(VELARO_PROGRAM, arguments);
    }

  private slots:
    void laterStartsHandOver() {
        QProcess first, later, next;
        start(first);
        const QDir runtime(session.filePath("XDG_RUNTIME_DIR"));
        QTRY_VERIFY_WITH_TIMEOUT(!runtime.entryList(QDir::System).isEmpty(), 20000); // listens
        start(later);
        QVERIFY(later.waitForFinished(10000) && later.exitStatus() == QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill(); // SIGKILL: its socket is left behind
        QVERIFY(first.waitForFinished(10000));
        start(next);
        QVERIFY(!next.waitForFinished(3000)); // it runs: nobody answered on the old socket
        next.kill();
        next.waitForFinished(10000);
    }

    // Sheets become documents without a display, each damaged one named and the others still
    // written, beside a running program whose recovery file stays as it was.
    void convertsBesideARunningProgram_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("pdf") << "pdf";
        QTest::newRow("csv") << "csv";
        QTest::newRow("xlsx") << "xlsx";
    }
    void convertsBesideARunningProgram() {
        QFETCH(QString, format);
        QProcess running, conversion;
        start(running);
        QVERIFY(running.waitForStarted(10000));
        const QDir data(session.filePath("XDG_DATA_HOME/velaro-paint"));
        const QStringList recovery = data.entryList(QDir::Files);

        QTemporaryDir folder;
        velaro::Sheet sheet;
        sheet.lines.append(velaro::Line());
        sheet.lines[0].element = "Стены";
        sheet.lines[0].result = "33,9";
        QFile good(folder.filePath("Кухня.velaro-estimate")), bad(folder.filePath("bad.velaro-estimate"));
        QVERIFY(good.open(QIODevice::WriteOnly) && good.write(velaro::sheetToJson(sheet)) > 0);
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("{\"format\": \"velaro-estimate\"") > 0);
        good.close();
        bad.close();
        start(conversion, {"--convert-to", format, "--outdir", folder.filePath("out"), bad.fileName(),
                           good.fileName()});
        QVERIFY(conversion.waitForFinished(30000));
        QCOMPARE(conversion.exitCode(), 1);
        QVERIFY(QString::fromUtf8(conversion.readAllStandardError()).contains("bad.velaro-estimate"));
        QVERIFY(QFileInfo(folder.filePath("out/Кухня." + format)).size() > 0);
        QCOMPARE(data.entryList(QDir::Files), recovery);
        QCOMPARE(running.state(), QProcess::Running);
        running.kill();
        running.waitForFinished(10000);
    }

    // Wrong options are refused with a word on standard error; help answers.
    void commandLineOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("unknown format") << QStringList{"--convert-to", "odt", "a.velaro-estimate"} << 2;
        QTest::newRow("no files") << QStringList{"--convert-to", "pdf"} << 2;
    }
    void commandLineOptions() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QProcess program;
        start(program, arguments);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), status);
        QVERIFY(!(status ? program.readAllStandardError() : program.readAllStandardOutput()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_singleinstance.moc"
