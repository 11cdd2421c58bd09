// Starts of the real program in one private user session: a later start hands over and ends, and
// the socket a killed program leaves behind does not stop the next start; a conversion from the
// command line runs on its own beside it.

#include "estimate/sheetfile.h"
#include "shell/mainwindow.h"
#include "shell/singleinstance.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <QTest>

#include <csignal>
#include <cstring>
#include <ctime>
#include <atomic>
#include <memory>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

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

    // A connection to the socket of the program listening in `runtime`; -1 where none takes it.
    static int connectTo(const QString& runtime, int flags = 0) {
        const QByteArray name =
            QFile::encodeName(runtime + "/velaro-paint-" + QString::number(::getuid()));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return fd;
        ::close(fd);
        return -1;
    }
    // Whether a program takes connections on the session's socket now: a killed program's
    // socket is still there, but refuses them.
    bool listening() {
        const int fd = connectTo(session.filePath("XDG_RUNTIME_DIR"));
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    }

  private slots:
    void laterStartsHandOver() {
        QProcess first, later, next;
        start(first);
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
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

    // A start never hangs on a program that takes no more starts: one stopped with its queue of
    // starts full. It goes on alone within the time it waits for an answer.
    void laterStartDoesNotHangOnAStoppedProgram() {
        QProcess first;
        start(first);
        const QString runtime = session.filePath("XDG_RUNTIME_DIR");
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
        ::kill(pid_t(first.processId()), SIGSTOP);
        std::vector<int> queued; // until the stopped program's queue takes no more
        for (int fd = 0; queued.size() < 64 && (fd = connectTo(runtime, SOCK_NONBLOCK)) >= 0;)
            queued.push_back(fd);
        const QByteArray ownRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        QElapsedTimer clock;
        clock.start();
        // On a thread of Qt's, as a start's own: it may go on to listen there.
        std::atomic_bool handedOver = true;
        std::unique_ptr<QThread> later(QThread::create([&handedOver] {
            velaro::SingleInstance instance;
            handedOver = instance.handOver();
        }));
        later->start();
        const bool answered = later->wait(QDeadlineTimer(10000));
        const qint64 took = clock.elapsed();
        ::kill(pid_t(first.processId()), SIGKILL); // frees a start still waiting, if any
        first.waitForFinished(10000);
        for (int fd : queued)
            ::close(fd);
        qputenv("XDG_RUNTIME_DIR", ownRuntime);
        QVERIFY2(answered, "the start hangs on the stopped program");
        later->wait();
        QVERIFY(!handedOver); // on its own
        QVERIFY2(took < 5000, qPrintable(QString::number(took)));
    }

    // The running program drops a start that says nothing, in the time a start waits for its
    // answer, rather than holding it for ever.
    void silentStartDropped() {
        QProcess first;
        start(first);
        const QString runtime = session.filePath("XDG_RUNTIME_DIR");
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
        const int fd = connectTo(runtime);
        QVERIFY(fd >= 0);
        pollfd wait{fd, POLLIN, 0};
        char byte = 0;
        const bool closed = ::poll(&wait, 1, 5000) == 1 && ::read(fd, &byte, 1) == 0;
        ::close(fd);
        first.kill();
        first.waitForFinished(10000);
        QVERIFY2(closed, "a silent start is held");
    }

    // Out of descriptors, the running program waits before it tries again instead of spinning
    // on the start it cannot take.
    void outOfDescriptorsDoesNotSpin() {
#if defined(__SANITIZE_ADDRESS__)
        // Their runtime opens files of its own to check a call, and finds none left here.
        QSKIP("the sanitizers need descriptors of their own; the plain build runs this");
#endif
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray ownRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        velaro::SingleInstance running;
        QVERIFY(!running.handOver()); // none before it: it listens
        const int fd = connectTo(runtime.path(), SOCK_NONBLOCK);
        QVERIFY(fd >= 0);
        // A new descriptor takes the lowest free number: at the limit, none is left.
        const QStringList open = QDir("/proc/self/fd").entryList(QDir::System);
        int lowestFree = 0;
        while (open.contains(QString::number(lowestFree)))
            ++lowestFree;
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_NOFILE, &before), 0);
        rlimit none = before;
        none.rlim_cur = rlim_t(lowestFree);
        QCOMPARE(setrlimit(RLIMIT_NOFILE, &none), 0);
        timespec cpuBefore{}, cpuAfter{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuBefore);
        QTest::qWait(1000);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuAfter);
        setrlimit(RLIMIT_NOFILE, &before);
        ::close(fd);
        qputenv("XDG_RUNTIME_DIR", ownRuntime);
        const double cpuMs = double(cpuAfter.tv_sec - cpuBefore.tv_sec) * 1e3 +
                             double(cpuAfter.tv_nsec - cpuBefore.tv_nsec) / 1e6;
        QVERIFY2(cpuMs < 300, qPrintable(QString("%1 ms of processor in 1 s").arg(cpuMs)));
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

    // A sheet named on the command line is opened: by this start, or by the program already
    // running, to which a later start hands it. The running program's recovery file, which names
    // the document shown, tells which it opened.
    void sheetNamedOnTheCommandLineOpens_data() {
        QTest::addColumn<bool>("laterStart");
        QTest::newRow("the first start") << false;
        QTest::newRow("a later start") << true;
    }
    void sheetNamedOnTheCommandLineOpens() {
        QFETCH(bool, laterStart);
        QTemporaryDir folder;
        velaro::Sheet sheet;
        sheet.lines.append(velaro::Line());
        sheet.lines[0].result = "2";
        const QString path = folder.filePath("смета с пробелом.velaro-estimate");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(velaro::sheetToJson(sheet)) > 0);
        file.close();
        QProcess running, later;
        start(running, laterStart ? QStringList{} : QStringList{path});
        if (laterStart) {
            QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
            start(later, {path});
            QVERIFY(later.waitForFinished(10000));
            QCOMPARE(later.exitCode(), 0);
        }
        const auto names = [&] {
            QFile recovery(session.filePath("XDG_DATA_HOME/velaro-paint/recovery.velaro-estimate"));
            return recovery.open(QIODevice::ReadOnly) &&
                   QString::fromUtf8(recovery.readAll()).contains(path);
        };
        QTRY_VERIFY_WITH_TIMEOUT(names(), 10000);
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
    // Options answered in Russian; wrong ones refused with status 2, a sheet that is not there
    // with 1, as the manual page says.
    void commandLineOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says"); // on standard output for 0, on standard error else
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Использование: velaro-paint";
        QTest::newRow("help with Qt's") << QStringList{"--help-all"} << 0 << "Параметры:";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "velaro-paint " VELARO_VERSION;
        QTest::newRow("unknown format")
            << QStringList{"--convert-to", "odt", "a.velaro-estimate"} << 2 << "неизвестный формат";
        QTest::newRow("unknown option")
            << QStringList{"--convert-to", "pdf", "--bogus", "a.velaro-estimate"} << 2
            << "неизвестный параметр «--bogus»";
        QTest::newRow("no value") << QStringList{"--outdir"} << 2 << "не указано значение";
        QTest::newRow("no files") << QStringList{"--convert-to", "pdf"} << 2 << "не указаны";
        QTest::newRow("a sheet that is not there")
            << QStringList{"/nonexistent/smeta.velaro-estimate"} << 1 << "такого файла нет";
    }
    void commandLineOptions() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        QProcess program;
        start(program, arguments);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), status);
        const QString said = QString::fromUtf8(status ? program.readAllStandardError()
                                                      : program.readAllStandardOutput());
        QVERIFY2(said.contains(says), qPrintable(said));
        for (const char* english : {"Usage:", "Options:", "Displays", "Unknown option"})
            QVERIFY2(!said.contains(english), qPrintable(said));
    }

    // About and --version show one number: the project's.
    void aboutShowsTheVersionThatVersionPrints() {
        QProcess program;
        start(program, {"--version"});
        QVERIFY(program.waitForFinished(30000));
        const QString printed = QString::fromUtf8(program.readAllStandardOutput()).trimmed();
        QVERIFY2(printed.startsWith("velaro-paint "), qPrintable(printed));
        const QString number = printed.section(' ', 1);
        QVERIFY2(velaro::MainWindow::kAboutText.contains("версия " + number + ':'),
                 qPrintable(velaro::MainWindow::kAboutText));
    }

    // Without a display the start says in Russian how to run it, and ends with 2.
    void withoutADisplay() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(name);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(VELARO_PROGRAM, QStringList());
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 2);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        for (const char* words : {"нет дисплея", "xvfb-run -a velaro-paint",
                                  "QT_QPA_PLATFORM=offscreen velaro-paint"})
            QVERIFY2(said.contains(QString::fromUtf8(words)), qPrintable(said));
        QVERIFY2(!said.contains("display"), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_singleinstance.moc"
