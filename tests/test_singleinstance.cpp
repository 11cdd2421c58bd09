// Starts of the real program in one private user session: a later start hands over and ends, and
// the socket a killed program leaves behind does not stop the next start.

#include <QDir>
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
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_singleinstance.moc"
