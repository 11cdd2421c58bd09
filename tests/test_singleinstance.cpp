// Starts of the real program in one private user session: a later start hands over and ends, and
// the socket a killed program leaves behind does not stop the next start; a conversion from the
// command line runs on its own beside it.

#include "estimate/sheetfile.h"

#include <QDir>
#include <QHash>
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

    // A document that would replace one of the sheets converted, or one another sheet is
    // written to, is refused naming both files; every other sheet is still converted.
    void conversionNeverOverwritesItsOwnFiles_data() {
        QTest::addColumn<QStringList>("inputs");   // sheets, relative to a fresh folder
        QTest::addColumn<QStringList>("refused");  // what standard error names, each
        QTest::addColumn<QStringList>("written");  // documents there afterwards, with their sheet
        QTest::newRow("the sheet itself") << QStringList{"self.csv", "other.velaro-estimate"}
                                          << QStringList{"self.csv"}
                                          << QStringList{"other.csv=other.velaro-estimate"};
        QTest::newRow("another sheet given") << QStringList{"a.velaro-estimate", "a.csv"}
                                             << QStringList{"a.velaro-estimate", "a.csv"}
                                             << QStringList{};
        QTest::newRow("two of one name")
            << QStringList{"a/smeta.velaro-estimate", "b/smeta.velaro-estimate", "c.velaro-estimate"}
            << QStringList{"a/smeta.velaro-estimate", "b/smeta.velaro-estimate"}
            << QStringList{"smeta.csv=a/smeta.velaro-estimate", "c.csv=c.velaro-estimate"};
    }
    void conversionNeverOverwritesItsOwnFiles() {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, refused);
        QFETCH(QStringList, written);
        QTemporaryDir folder;
        const QDir here(folder.path());
        QHash<QString, QByteArray> sheets;
        for (const QString& input : inputs) {
            velaro::Sheet sheet;
            sheet.lines.append(velaro::Line());
            sheet.lines[0].element = input; // tells the documents apart
            sheet.lines[0].result = "1";
            here.mkpath(QFileInfo(input).path());
            QFile file(here.filePath(input));
            sheets.insert(input, velaro::sheetToJson(sheet));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheets[input]) > 0);
        }
        QProcess conversion;
        start(conversion, QStringList{"--convert-to", "csv", "--outdir", folder.path()} + [&] {
            QStringList paths;
            for (const QString& input : inputs)
                paths << here.filePath(input);
            return paths;
        }());
        QVERIFY(conversion.waitForFinished(30000));
        QCOMPARE(conversion.exitCode(), 1);
        const QString error = QString::fromUtf8(conversion.readAllStandardError());
        for (const QString& name : refused)
            QVERIFY2(error.contains(here.filePath(name)), qPrintable(error));
        for (const QString& input : inputs) { // the sheets stay as they were
            QFile file(here.filePath(input));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), sheets[input]);
        }
        for (const QString& pair : written) {
            QFile file(here.filePath(pair.section('=', 0, 0)));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            QVERIFY(QString::fromUtf8(file.readAll()).contains(pair.section('=', 1)));
        }
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
