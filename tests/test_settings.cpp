// The user's settings: in ~/.config/velaro/velaro-paint.conf, and those an earlier version kept
// under Qt's stand-in organization moved there once, without loss.

#include "core/settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velaro;

class SettingsTest : public QObject {
    Q_OBJECT
    QTemporaryDir home; // the test's own XDG_CONFIG_HOME, set before Qt reads it

  public:
    SettingsTest() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path())); }

  private slots:
    void movedOnceWithoutLoss() {
        const QString old = home.filePath("Unknown Organization/velaro-paint.conf");
        {
            QSettings earlier(old, QSettings::IniFormat);
            earlier.setValue("systemTemplates/list", "[{\"name\": \"Эмаль\"}]");
            earlier.setValue("sheetWindow/geometry", QByteArray("\x01\x02", 2));
        }
        QVERIFY(QFile::exists(old));
        {
            const auto settings = programSettings();
            QCOMPARE(settings->fileName(), home.filePath("velaro/velaro-paint.conf"));
            QCOMPARE(settings->value("systemTemplates/list").toString(),
                     QString("[{\"name\": \"Эмаль\"}]"));
            QCOMPARE(settings->value("sheetWindow/geometry").toByteArray(),
                     QByteArray("\x01\x02", 2));
            settings->setValue("sheetWindow/splitter", 7);
        }
        QVERIFY(!QFile::exists(old));
        // Once: an old file that comes back later does not overwrite what is kept now.
        {
            QSettings again(old, QSettings::IniFormat);
            again.setValue("sheetWindow/splitter", 1);
        }
        QCOMPARE(programSettings()->value("sheetWindow/splitter").toInt(), 7);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "test_settings.moc"
