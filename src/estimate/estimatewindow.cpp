#include "estimate/estimatewindow.h"

#include "estimate/export.h"
#include "estimate/materialsdialog.h"
#include "estimate/record.h"
#include "estimate/sheetfile.h"
#include "estimate/sheetmodel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QMenuBar>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velaro {
namespace {

constexpr int kAutosaveDelayMs = 400; // every change reaches the recovery file within a second
const QString kFileFilter = QStringLiteral("Ведомость окраски (*.velaro-estimate)");

// Count as a spin box from 1, material as a list of the sheet's materials.
class LineDelegate final : public QStyledItemDelegate {
  public:
    LineDelegate(const SheetModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (Column(index.column()) == Column::Count) {
            auto* spin = new QSpinBox(parent);
            spin->setRange(1, kMaxCount);
            return spin;
        }
        if (Column(index.column()) == Column::Material) {
            auto* list = new QComboBox(parent);
            list->addItem(QStringLiteral("(нет)"), QString());
            for (const Material& material : model_.sheet().materials)
                list->addItem(material.name, material.name);
            return list;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor))
            list->setCurrentIndex(std::max(0, list->findData(index.data(Qt::EditRole))));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor))
            model->setData(index, list->currentData(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

  private:
    const SheetModel& model_;
};

bool writeAtomically(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

EstimatePrompts realPrompts;

} // namespace

QString EstimatePrompts::openFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть ведомость"), {},
                                        kFileFilter);
}

QString EstimatePrompts::saveFileName(QWidget* parent, const QString& caption,
                                      const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

void EstimatePrompts::error(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, EstimateWindow::kTitle, text);
}

bool EstimatePrompts::confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, EstimateWindow::kTitle, text) == QMessageBox::Yes;
}

EstimatePrompts::ExitChoice EstimatePrompts::autosaveFailed(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, EstimateWindow::kTitle, text, QMessageBox::NoButton,
                    parent);
    QPushButton* save =
        box.addButton(QStringLiteral("Сохранить в другом месте…"), QMessageBox::AcceptRole);
    QPushButton* quit =
        box.addButton(QStringLiteral("Выйти без сохранения"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == save)
        return ExitChoice::SaveElsewhere;
    return box.clickedButton() == quit ? ExitChoice::Quit : ExitChoice::Stay;
}

bool EstimatePrompts::print(QWidget* parent, const QString& html, QString& error) {
    // Beside the program in the build tree, or where it is installed.
    const QString here = QCoreApplication::applicationDirPath();
    QLibrary module;
    for (const QString& path :
         {here + QStringLiteral("/velaro-print"), here + QStringLiteral("/../velaro-print"),
          here + QStringLiteral("/../" VELARO_PRINT_DIR "/velaro-print")}) {
        module.setFileName(path);
        if (module.load())
            break;
    }
    using Print = int (*)(const QString*, QWidget*);
    const auto print = reinterpret_cast<Print>(module.resolve("velaro_print_html"));
    if (!print) {
        error = module.errorString();
        return false;
    }
    return print(&html, parent) != 0;
}

EstimateWindow::EstimateWindow(char decimalSeparator, QWidget* parent)
    : QMainWindow(parent), separator_(decimalSeparator),
      model_(new SheetModel(undo_, QChar(decimalSeparator), this)), table_(new QTableView),
      recording_(new QCheckBox(QStringLiteral("Записывать расчёты"))), total_(new QLabel),
      rooms_(new QTreeWidget), materials_(new QTreeWidget), prompts_(&realPrompts) {
    setObjectName("EstimateWindow");
    setAttribute(Qt::WA_QuitOnClose, false);

    table_->setObjectName("lines");
    table_->setModel(model_);
    table_->setItemDelegate(new LineDelegate(*model_, table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = table_->horizontalHeader();
    header->setStretchLastSection(false);
    const int em = fontMetrics().horizontalAdvance(u'M');
    const std::array<int, kColumnCount> widths{3, 9, 14, 16, 12, 16, 5, 9, 9, 8};
    for (int c = 0; c < kColumnCount; ++c)
        table_->setColumnWidth(c, widths[std::size_t(c)] * em);

    recording_->setObjectName("recording");
    recording_->setChecked(true);
    connect(recording_, &QCheckBox::toggled, model_, &SheetModel::setRecording);

    buildMenus();
    auto* bar = new QHBoxLayout;
    bar->addWidget(recording_);
    bar->addStretch();
    for (const char* name : {"moveUp", "moveDown", "removeLines", "editMaterials"}) {
        auto* button = new QToolButton;
        button->setDefaultAction(findChild<QAction*>(QLatin1String(name)));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        bar->addWidget(button);
    }

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(table_);
    splitter->addWidget(buildTotalsPanel());
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({104 * em, 36 * em});
    splitter->setChildrenCollapsible(false);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    statusBar()->setObjectName("statusBar");
    resize(140 * em, 56 * em);

    autosave_.setSingleShot(true);
    autosave_.setInterval(kAutosaveDelayMs);
    connect(&autosave_, &QTimer::timeout, this, &EstimateWindow::writeRecovery);
    connect(model_, &SheetModel::changed, this, &EstimateWindow::onChanged);

    loadRecovery();
    refreshTotals();
    refreshTitle();
}

EstimateWindow::~EstimateWindow() {
    if (autosave_.isActive())
        writeRecovery();
}

QString EstimateWindow::recoveryFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery.") + kSheetSuffix;
}

void EstimateWindow::setPrompts(EstimatePrompts* prompts) {
    prompts_ = prompts ? prompts : &realPrompts;
}

void EstimateWindow::buildMenus() {
    const auto command = [this](QMenu* menu, const QString& text, const char* name,
                                const QKeySequence& keys, auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    command(file, QStringLiteral("Новая"), "newSheet", QKeySequence::New, [this] { newSheet(); });
    command(file, QStringLiteral("Открыть…"), "openSheet", QKeySequence::Open, [this] { open(); });
    command(file, QStringLiteral("Сохранить"), "saveSheet", QKeySequence::Save, [this] { save(); });
    command(file, QStringLiteral("Сохранить как…"), "saveSheetAs",
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { saveAs(); });
    file->addSeparator();
    command(file, QStringLiteral("Экспорт в CSV…"), "exportCsv", {}, [this] {
        const QString path = prompts_->saveFileName(this, QStringLiteral("Экспорт в CSV"), {},
                                                    QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty())
            exportCsv(path);
    });
    command(file, QStringLiteral("Экспорт в PDF…"), "exportPdf", {}, [this] {
        const QString path = prompts_->saveFileName(this, QStringLiteral("Экспорт в PDF"), {},
                                                    QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty())
            exportPdf(path);
    });
    command(file, QStringLiteral("Печать…"), "printSheet", QKeySequence::Print,
            [this] { print(); });
    file->addSeparator();
    command(file, QStringLiteral("Закрыть"), "closeSheet", QKeySequence::Close,
            [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Правка"));
    QAction* undo = undo_.createUndoAction(this, QStringLiteral("Отменить"));
    undo->setObjectName("undo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = undo_.createRedoAction(this, QStringLiteral("Повторить"));
    redo->setObjectName("redo");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    command(edit, QStringLiteral("Вверх"), "moveUp", QKeySequence(Qt::CTRL | Qt::Key_Up),
            [this] { moveSelected(-1); });
    command(edit, QStringLiteral("Вниз"), "moveDown", QKeySequence(Qt::CTRL | Qt::Key_Down),
            [this] { moveSelected(+1); });
    command(edit, QStringLiteral("Удалить строки"), "removeLines", QKeySequence::Delete,
            [this] { model_->removeLines(selectedRows()); });
    edit->addSeparator();
    command(edit, QStringLiteral("Материалы…"), "editMaterials", {}, [this] { editMaterials(); });
}

QWidget* EstimateWindow::buildTotalsPanel() {
    auto* panel = new QWidget;
    panel->setObjectName("totals");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(QStringLiteral("Итого площадь окраски:"));
    total_->setObjectName("total");
    total_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont large = total_->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    total_->setFont(large);
    heading->setBuddy(total_);
    total_->setAccessibleName(heading->text());

    rooms_->setObjectName("roomTotals");
    rooms_->setHeaderLabels(
        {QStringLiteral("Помещение"), QStringLiteral("Строк"), QStringLiteral("Площадь")});
    rooms_->setRootIsDecorated(false);
    materials_->setObjectName("materialTotals");
    materials_->setHeaderLabels({QStringLiteral("Материал"), QStringLiteral("Количество"),
                                 QStringLiteral("Банок"), QStringLiteral("Стоимость")});
    materials_->setRootIsDecorated(false);
    for (QTreeWidget* tree : {rooms_, materials_})
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    layout->addWidget(heading);
    layout->addWidget(total_);
    layout->addWidget(new QLabel(QStringLiteral("По помещениям:")));
    layout->addWidget(rooms_, 1);
    layout->addWidget(new QLabel(QStringLiteral("По материалам:")));
    layout->addWidget(materials_, 1);
    return panel;
}

bool EstimateWindow::record(const QString& element, const QString& calculator,
                            const FormState& state, const Results& results) {
    if (!model_->sheet().recording)
        return false;
    std::optional<Line> line = lineOfCompute(element, calculator, state, results);
    if (!line)
        return false;
    const QList<Line>& lines = model_->sheet().lines;
    for (auto previous = lines.rbegin(); previous != lines.rend(); ++previous)
        if (previous->calculator == calculator) {
            if (previous->inputs == line->inputs && previous->result == line->result)
                return false;
            break;
        }
    model_->addLine(std::move(*line));
    return true;
}

void EstimateWindow::onChanged() {
    modified_ = true;
    if (!autosave_.isActive())
        autosave_.start();
    recording_->setChecked(model_->sheet().recording);
    refreshTotals();
    refreshTitle();
}

void EstimateWindow::refreshTotals() {
    const QChar separator(separator_);
    total_->setText(areaText(model_->totals().area(), separator));
    rooms_->clear();
    const auto& rooms = model_->totals().rooms();
    for (auto room = rooms.begin(); room != rooms.end(); ++room) {
        auto* item =
            new QTreeWidgetItem(rooms_, {roomTitle(room.key()), QString::number(room.value().lines),
                                         areaText(room.value().value, separator)});
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
    }
    materials_->clear();
    for (const MaterialRow& row : materialRows(model_->view())) {
        auto* item = new QTreeWidgetItem(materials_, {row.name, row.quantity, row.cans, row.cost});
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight);
    }
}

void EstimateWindow::refreshTitle() {
    setWindowTitle(path_.isEmpty()
                       ? kTitle + QStringLiteral("[*]")
                       : QStringLiteral("%1 — %2[*]").arg(kTitle, QFileInfo(path_).fileName()));
    setWindowModified(modified_ && !path_.isEmpty());
}

QList<int> EstimateWindow::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty() && table_->currentIndex().isValid())
        rows << table_->currentIndex().row();
    return rows;
}

void EstimateWindow::moveSelected(int delta) {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    if (row + delta < 0 || row + delta >= model_->rowCount())
        return;
    model_->moveLine(row, delta);
    table_->setCurrentIndex(model_->index(row + delta, current.column()));
}

void EstimateWindow::editMaterials() {
    MaterialsDialog dialog(model_->sheet().materials, this);
    if (dialog.exec() == QDialog::Accepted)
        model_->editMaterials(dialog.materials());
}

bool EstimateWindow::saveTo(const QString& path) {
    QString error;
    if (!writeAtomically(path, sheetToJson(model_->sheet()), error)) {
        prompts_->error(this, QStringLiteral("Не удалось сохранить ведомость в файл «%1»: %2.")
                                  .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    path_ = path;
    modified_ = false;
    autosave_.start(); // the recovery file learns the document's name
    refreshTitle();
    statusBar()->showMessage(QStringLiteral("Сохранено: %1").arg(QDir::toNativeSeparators(path)),
                             5000);
    return true;
}

bool EstimateWindow::save() {
    return path_.isEmpty() ? saveAs() : saveTo(path_);
}

bool EstimateWindow::saveAs() {
    QString path = prompts_->saveFileName(
        this, QStringLiteral("Сохранить ведомость"),
        path_.isEmpty() ? QStringLiteral("Ведомость.") + kSheetSuffix : path_, kFileFilter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + kSheetSuffix;
    return saveTo(path);
}

bool EstimateWindow::replaceAllowed(const QString& question) {
    if (!modified_ || model_->sheet().lines.isEmpty())
        return true;
    return prompts_->confirm(this, question);
}

bool EstimateWindow::openFrom(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts_->error(
            this,
            QStringLiteral("Не удалось открыть файл «%1»: %2.").arg(shown, file.errorString()));
        return false;
    }
    auto loaded = sheetFromJson(file.readAll());
    if (const auto* error = std::get_if<LoadError>(&loaded)) {
        prompts_->error(this, QStringLiteral("Не удалось открыть файл «%1»: %2. Ведомость на "
                                             "экране осталась прежней.")
                                  .arg(shown, error->reason));
        return false;
    }
    model_->resetSheet(std::move(std::get<LoadedSheet>(loaded).sheet));
    path_ = path;
    modified_ = false;
    refreshTitle();
    return true;
}

bool EstimateWindow::open() {
    if (!replaceAllowed(QStringLiteral("Ведомость на экране не сохранена в файл. Открыть другую "
                                       "вместо неё?")))
        return false;
    const QString path = prompts_->openFileName(this);
    return !path.isEmpty() && openFrom(path);
}

bool EstimateWindow::newSheet() {
    if (!replaceAllowed(QStringLiteral("Ведомость на экране не сохранена в файл. Начать новую?")))
        return false;
    model_->resetSheet(Sheet{});
    path_.clear();
    modified_ = false;
    refreshTitle();
    return true;
}

bool EstimateWindow::exportCsv(const QString& path) {
    QString error;
    if (!writeAtomically(path, sheetCsv(model_->view()), error)) {
        prompts_->error(this, QStringLiteral("Не удалось записать файл «%1»: %2.")
                                  .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}

QString EstimateWindow::html() const {
    const QString title =
        path_.isEmpty() ? QStringLiteral("без имени") : QFileInfo(path_).completeBaseName();
    return sheetHtml(model_->view(), title, QDate::currentDate());
}

std::unique_ptr<QTextDocument> EstimateWindow::document() const {
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(html());
    return document;
}

bool EstimateWindow::exportPdf(const QString& path) {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        prompts_->error(this, QStringLiteral("Не удалось записать файл «%1»: %2.")
                                  .arg(QDir::toNativeSeparators(path), probe.errorString()));
        return false;
    }
    probe.close();
    QPdfWriter writer(path);
    writer.setTitle(kTitle);
    writer.setCreator(QStringLiteral("Velaro"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    document()->print(&writer);
    return true;
}

void EstimateWindow::print() {
    QString error;
    if (!prompts_->print(this, html(), error) && !error.isEmpty())
        prompts_->error(this, QStringLiteral("Печать недоступна: %1.").arg(error));
}

bool EstimateWindow::writeRecovery() {
    autosave_.stop();
    const QString path = recoveryFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    autosaveFailed_ = !writeAtomically(
        path, sheetToJson(model_->sheet(), DocumentState{path_, modified_}), error);
    if (autosaveFailed_) {
        autosaveError_ = error;
        statusBar()->showMessage(
            QStringLiteral("Не удалось записать резервную копию ведомости: %1").arg(error));
    }
    return !autosaveFailed_;
}

void EstimateWindow::loadRecovery() {
    const QString path = recoveryFilePath();
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return; // a fresh user starts with an empty sheet
    auto loaded = sheetFromJson(file.readAll());
    file.close();
    if (const auto* error = std::get_if<LoadError>(&loaded)) {
        // Kept aside rather than overwritten, so that nothing is lost without a trace.
        const QString aside = path + QStringLiteral(".damaged");
        QFile::remove(aside);
        QFile::rename(path, aside);
        statusBar()->showMessage(QStringLiteral("Резервная копия ведомости не прочитана (%1); "
                                                "она сохранена как %2")
                                     .arg(error->reason, QDir::toNativeSeparators(aside)));
        return;
    }
    LoadedSheet& sheet = std::get<LoadedSheet>(loaded);
    model_->resetSheet(std::move(sheet.sheet));
    autosave_.stop(); // nothing new to write
    path_ = sheet.document.path;
    modified_ = sheet.document.modified;
    recording_->setChecked(model_->sheet().recording);
}

bool EstimateWindow::flushAutosave() {
    if (autosave_.isActive())
        return writeRecovery();
    return !autosaveFailed_;
}

bool EstimateWindow::mayExit() {
    if (flushAutosave())
        return true;
    const QString text = QStringLiteral("Ведомость не удалось сохранить в резервный файл «%1»: "
                                        "%2. Без сохранения её строки будут потеряны.")
                             .arg(QDir::toNativeSeparators(recoveryFilePath()), autosaveError_);
    switch (prompts_->autosaveFailed(this, text)) {
    case EstimatePrompts::ExitChoice::SaveElsewhere:
        return saveAs();
    case EstimatePrompts::ExitChoice::Quit:
        return true;
    case EstimatePrompts::ExitChoice::Stay:
        return false;
    }
    return false;
}

} // namespace velaro
