// Starts of the real program in one private user session: a later start hands over and ends, and
// the socket of a killed program does not stand in the way of the next.

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir session;

    void start(QProcess& program) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        for (const char* folder : {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_DATA_HOME"}) {
            QDir(session.path())
                .mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            environment.insert(folder, session.filePath(folder));
        }
        program.setProcessEnvironment(environment);
        program.start(VELARO_PROGRAM);
    }
    // A later start, which must end at once and well.
    bool handsOver() {
        QProcess later;
        start(later);
        return later.waitForFinished(10000) && later.exitStatus() == QProcess::NormalExit &&
               later.exitCode() == 0;
    }
    // Some program answers on a socket in the session's runtime folder.
    bool listening() {
        const QDir folder(session.filePath("XDG_RUNTIME_DIR"));
        for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QTest::qWait(50))
            for (const QFileInfo& file : folder.entryInfoList(QDir::System)) {
                QLocalSocket socket;
                socket.connectToServer(file.filePath());
                if (socket.waitForConnected(100))
                    return true;
            }
        return false;
    }

  private slots:
    void laterStartsHandOver() {
        QProcess first, third;
        start(first);
        QVERIFY(listening());
        QVERIFY(handsOver());
        QCOMPARE(first.state(), QProcess::Running);
        first.kill(); // SIGKILL: its socket is left behind
        QVERIFY(first.waitForFinished(10000));
        start(third);
        QVERIFY(listening());
        QVERIFY(handsOver());
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        third.waitForFinished(10000);
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_singleinstance.moc"
