// Fills the estimate sheet through real calculators and grabs it, for looking at it:
//   velaro-estimate-screenshot <output-dir>
// writes estimate.png (the window) and estimate.pdf (its printed form). Run it under Xvfb or
// with QT_QPA_PLATFORM=offscreen; it keeps its recovery file in a temporary folder.

#include "core/calculatorwindow.h"
#include "core/fonts.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/gui/estimatewindow.h"
#include "estimate/sheeteditor.h"
#include "estimate/sheetmodel.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

void compute(velaro::Program& program, int form, const QList<QPair<QString, QString>>& texts,
             const QStringList& ticks = {}) {
    program.mainWindow().openCalculator(form - 1);
    QWidget* window = program.registry().Form(form);
    for (const auto& [field, text] : texts)
        window->findChild<QLineEdit*>(field)->setText(text);
    for (const QString& box : ticks)
        window->findChild<QCheckBox*>(box)->setChecked(true);
    window->findChild<QPushButton*>("Button1")->click();
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    velaro::installFontSubstitutions();
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);

    velaro::Program program(',');
    program.start();
    compute(program, 5, {{"Edit2", "3,5"}});
    compute(program, 2, {{"Edit3", "57"}, {"Edit1", "10"}, {"Edit4", "76"}, {"Edit2", "2,5"}});
    compute(program, 20, {{"Edit2", "10"}, {"Edit3", "1"}}, {"CheckBox1"});
    velaro::EstimateWindow& sheet = program.estimateSheet().window();
    velaro::SheetModel& model = sheet.model();
    model.editor().editMaterials({{0, QStringLiteral("ПФ-115"), QStringLiteral("кг"),
                                   QStringLiteral("0,11"), QStringLiteral("10"),
                                   {{QStringLiteral("0,9"), QStringLiteral("250,5")}}}});
    model.editor().editSystems({{0, QStringLiteral("Эмаль ×2"), {{1, 2, QStringLiteral("180")}}}});
    const auto set = [&](int row, velaro::Column column, const QVariant& value) {
        model.setData(model.index(row, int(column)), value, Qt::EditRole);
    };
    set(0, velaro::Column::Room, QStringLiteral("Кухня"));
    set(1, velaro::Column::Room, QStringLiteral("Подвал"));
    set(2, velaro::Column::Room, QStringLiteral("Кухня"));
    set(2, velaro::Column::Count, 2);
    set(0, velaro::Column::System, QStringLiteral("Эмаль ×2"));
    set(2, velaro::Column::System, QStringLiteral("Эмаль ×2"));
    program.estimateSheet().open();
    QApplication::processEvents();
    sheet.grab().save(outDir + "/estimate.png");
    sheet.exportPdf(outDir + "/estimate.pdf");
    return 0;
}
