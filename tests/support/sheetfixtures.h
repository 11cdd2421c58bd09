#pragma once
// What the sheet's tests share: a document in its window with questions answered by the test,
// lines and materials made in a line, the CSV read back as a spreadsheet would, the workbook read
// back by LibreOffice, and the recovery folder of the test's own user.

#include "core/calculatorwindow.h"
#include "estimate/export.h"
#include "estimate/gui/estimateprompts.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/gui/catalogueactions.h"
#include "estimate/gui/cataloguedialog.h"
#include "estimate/gui/estimatewindow.h"
#include "estimate/gui/materialsdialog.h"
#include "estimate/gui/roomdialog.h"
#include "estimate/gui/systemsdialog.h"
#include "estimate/priceupdate.h"
#include "estimate/sheetdocument.h"
#include "estimate/sheetfile.h"
#include "estimate/sheeteditor.h"
#include "estimate/sheetmodel.h"
#include "estimate/xlsxexport.h"
#include "estimate/report.h"
#include "estimate/roomgroups.h"
#include "estimate/sheetpages.h"
#include "print/printjob.h"
#include "shell/mainwindow.h"
#include "shell/quitonsignals.h"
#include "shell/registry.h"
#include "core/settings.h"
#include "support/sheets.h"
#include "support/testsupport.h"

#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QBuffer>
#include <QTimer>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLibrary>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QScreen>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>


namespace velaro::test {

// Answers the window's questions and records its messages.
class FakePrompts final : public EstimatePrompts {
  public:
    QString fileName;
    bool confirmAnswer = true;
    Unsaved unsavedAnswer = Unsaved::Cancel;
    ExitChoice exitChoice = ExitChoice::Stay;
    QStringList errors, unsavedQuestions;
    int exitQuestions = 0;

    QString openedIn; // the folder the open dialog started in
    QString openFileName(QWidget*, const QString& folder) override {
        openedIn = folder;
        return fileName;
    }
    QString openFileName(QWidget*, const QString&, const QString& folder, const QString&) override {
        openedIn = folder;
        return fileName;
    }
    QString folder; // the folder chosen
    QString folderName(QWidget*, const QString&, const QString&) override { return folder; }
    QStringList ticked; // what chooseSeveral answers, of what it offered
    QStringList chooseSeveral(QWidget*, const QString&, const QStringList& items) override {
        offered = items;
        QStringList chosen;
        for (const QString& item : items)
            if (ticked.contains(item))
                chosen << item;
        return chosen;
    }
    // Each preview shown: its problems, its changes and its sum; applied where `apply` says.
    struct Preview {
        QStringList problems, changes;
        QString summary;
    };
    QList<Preview> previews;
    bool applyPreview = true;
    bool preview(QWidget*, const QString&, const QStringList& problems,
                 const QStringList& changes, const QString& summary) override {
        previews.append({problems, changes, summary});
        return applyPreview && !changes.isEmpty();
    }
    QString suggested;
    QString saveFileName(QWidget*, const QString&, const QString& suggestion, const QString&,
                         const QString&) override {
        suggested = suggestion;
        return fileName;
    }
    int errorShownMs = 0; // how long the box stays open, its own event loop running
    void error(QWidget*, const QString& text) override {
        errors << text;
        if (errorShownMs)
            QTest::qWait(errorShownMs);
    }
    QStringList noticesShown;
    void notice(QWidget*, const QString& text) override { noticesShown << text; }
    int confirms = 0;
    bool confirm(QWidget*, const QString&) override {
        ++confirms;
        return confirmAnswer;
    }
    QString choice;
    QStringList offered;
    QString choose(QWidget*, const QString&, const QStringList& items) override {
        offered = items;
        return choice;
    }
    std::optional<QString> typed; // nullopt: the question given up
    std::optional<QString> typeOrChoose(QWidget*, const QString&, const QStringList& items,
                                        const QString&) override {
        offered = items;
        return typed;
    }
    Unsaved unsavedChanges(QWidget*, const QString& name) override {
        unsavedQuestions << name;
        return unsavedAnswer;
    }
    ExitChoice autosaveFailed(QWidget*, const QString&) override {
        ++exitQuestions;
        return exitChoice;
    }
    // The pages the window hands over, painted into a PDF as a printer would get them.
    QByteArray printed;
    bool print(QWidget*, const PrintJob& job, QString&) override {
        QBuffer buffer(&printed);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(job.title);
        job.setUp(writer);
        return job.paint(writer);
    }
};

inline Line lineWith(const QString& result, int count = 1, const QString& room = {}) {
    Line line;
    line.element = QStringLiteral("моек и раковин");
    line.calculator = QStringLiteral("TForm5");
    line.result = result;
    line.count = count;
    line.room = room;
    return line;
}

// Adds lines straight into a model, each in its room.
inline void fillModel(SheetModel& model, const QStringList& results, const QStringList& rooms = {},
               const QList<int>& counts = {}) {
    for (qsizetype i = 0; i < results.size(); ++i) {
        model.editor().insertLines(model.rowCount(), {lineWith(results[i], i < counts.size() ? counts[i] : 1,
                                                      i < rooms.size() ? rooms[i] : QString())});
    }
}

inline Material paint(const QString& consumption, const QString& waste, const QString& can,
               const QString& price, const QString& name = QStringLiteral("ПФ-115")) {
    Material m;
    m.name = name;
    m.consumption = consumption;
    m.waste = waste;
    m.cans = {{can, price}};
    return m;
}

// The materials, and for each a system of its name: one layer of `coats`.
inline void paintWith(SheetModel& model, const QList<Material>& materials, int coats = 1) {
    model.editor().editMaterials(materials);
    QList<PaintSystem> systems;
    for (const Material& m : model.estimate().sheet().materials)
        systems.append({0, m.name, {{m.id, coats}}});
    model.editor().editSystems(systems);
}

// RFC 4180 reading, for reading the exported file back as a spreadsheet would.
inline QList<QStringList> parseCsv(const QString& text, QChar separator) {
    QList<QStringList> rows{{}};
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            rows.back() << cell;
            cell.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            rows.back() << cell;
            cell.clear();
            rows.append(QStringList{});
            ++i;
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !rows.back().isEmpty())
        rows.back() << cell;
    if (rows.back().isEmpty())
        rows.removeLast();
    return rows;
}

// The workbook as LibreOffice Calc works it out: each sheet's rows by the sheet's name. Calc runs
// headless in a throwaway profile told to recalculate every formula on opening, so the figures
// are its own and not the results the workbook carries. Empty, with `failure` said, when it
// could not be read.
inline QHash<QString, QList<QStringList>> recalculatedByCalc(const QString& soffice,
                                                      const QString& workbook, QString& failure) {
    QTemporaryDir folder;
    const QString profile = folder.filePath("profile");
    QDir().mkpath(profile + "/user");
    QFile settings(profile + "/user/registrymodifications.xcu");
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\">\n"
                       "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\">"
                       "<prop oor:name=\"OOXMLRecalcMode\" oor:op=\"fuse\"><value>0</value>"
                       "</prop></item>\n"
                       "</oor:items>\n") < 0) {
        failure = settings.errorString();
        return {};
    }
    settings.close();
    // UTF-8, values as stored rather than as formatted (no grouping, every decimal), and the
    // last token -1: each sheet to a file of its own, <name>-<sheet>.csv.
    const QString filter =
        "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1";
    QProcess calc;
    calc.setProcessChannelMode(QProcess::MergedChannels);
    calc.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(profile).toString(),
                         "--headless", "--norestore", "--convert-to", filter, "--outdir",
                         folder.path(), workbook});
    if (!calc.waitForFinished(180000) || calc.exitCode() != 0) {
        calc.kill();
        failure = "soffice: " + QString::fromUtf8(calc.readAll());
        return {};
    }
    const QString output = QString::fromUtf8(calc.readAll());
    QHash<QString, QList<QStringList>> sheets;
    const QString stem = QFileInfo(workbook).completeBaseName() + u'-';
    for (const QFileInfo& csv : QDir(folder.path()).entryInfoList({stem + "*.csv"}, QDir::Files)) {
        QFile file(csv.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // Calc ends its rows with a bare line feed.
        QString text = QString::fromUtf8(file.readAll());
        text.replace(u'\n', QStringLiteral("\r\n"));
        sheets.insert(csv.completeBaseName().mid(stem.size()), parseCsv(text, u','));
    }
    if (sheets.isEmpty())
        failure = "soffice wrote no sheet: " + output;
    return sheets;
}

inline QString recoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

inline QString recoveryPath() {
    return recoveryFolder() + u'/' + RecoveryStore::sharedFileName();
}

// Restores the document, returning what it said.
inline QStringList restoreNotices(SheetDocument& document) {
    QStringList notices;
    const auto connection = QObject::connect(&document, &SheetDocument::notice,
                                             [&](const QString& text) { notices << text; });
    document.restore();
    QObject::disconnect(connection);
    return notices;
}

// What the program does at start that the sheet's tests rely on: windows and doors are
// openings. False where a run under Russian settings would get C's numbers in their place, and
// so prove nothing (scripts/install-deps.sh generates ru_RU.UTF-8).
inline bool startLikeTheProgram() {
    tellSheetTheOpenings();
    if (!qgetenv("LC_ALL").startsWith("ru_RU"))
        return true;
    char half[8];
    std::snprintf(half, sizeof half, "%.1f", 0.5);
    return qstrcmp(half, "0,5") == 0;
}

inline void removeRecovery() {
    QDir folder(recoveryFolder());
    for (const QString& name : folder.entryList({"recovery*"}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

// A document in its own recovery folder, restored, shown in its window.
struct Workspace {
    QTemporaryDir folder;
    SheetDocument document{u',', folder.path()};
    EstimateWindow window{document};
    Workspace() { document.restore(); }
    SheetModel& model() { return document.model(); }
};

inline CalculatorWindow* openCalculator(Program& program, int form) {
    program.mainWindow().openCalculator(form - 1);
    return qobject_cast<CalculatorWindow*>(program.registry().Form(form));
}


} // namespace velaro::test

Q_DECLARE_METATYPE(velaro::Material)
Q_DECLARE_METATYPE(velaro::PaintSystem)

