#include "estimate/gui/estimatewindow.h"

#include "core/settings.h"
#include "core/windowframe.h"
#include "estimate/gui/catalogueactions.h"
#include "estimate/gui/cataloguedialog.h"
#include "estimate/gui/estimateprompts.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/gui/findbar.h"
#include "estimate/gui/linedelegate.h"
#include "estimate/gui/materialsdialog.h"
#include "estimate/gui/openingsizedialog.h"
#include "estimate/gui/propertiesdialog.h"
#include "estimate/gui/recentsheets.h"
#include "estimate/gui/repeatroomsdialog.h"
#include "estimate/gui/roomdialog.h"
#include "estimate/gui/systemsdialog.h"
#include "estimate/gui/totalspanel.h"
#include "estimate/gui/typedlinedialog.h"
#include "estimate/linesclipboard.h"
#include "estimate/linesearch.h"
#include "estimate/roomgroups.h"
#include "estimate/rooms.h"
#include "estimate/sheetdocument.h"
#include "estimate/sheeteditor.h"
#include "estimate/sheetpages.h"
#include "estimate/xlsxexport.h"
#include "help/helpwindow.h"
#include "print/printjob.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <new>

namespace velaro {
namespace {

const QString kFileFilter = QStringLiteral("Ведомость окраски (*.velaro-estimate)");
const QString kSettingsGroup = QStringLiteral("estimateWindow");
const QString kLastFolderKey = QStringLiteral("lastFolder");
// Column widths in letters, for the first opening; shared out over the table's width.
constexpr std::array<int, kColumnCount> kColumnLetters{9, 14, 16, 12, 16, 5, 9, 9,
                                                       8, 5,  5,  7,  9,  7, 8, 9};

} // namespace

EstimateWindow::EstimateWindow(SheetDocument& document, QWidget* parent)
    : QMainWindow(parent), document_(document), prompts_(&EstimatePrompts::real()),
      table_(new QTableView), recording_(new QCheckBox(QStringLiteral("&Записывать расчёты"))),
      currentRoom_(new QComboBox), totals_(new TotalsPanel(document.model())),
      splitter_(new QSplitter(Qt::Horizontal)), delegate_(new LineDelegate(document.model(), this)),
      findBar_(new FindBar) {
    setAcceptDrops(true);
    setObjectName("EstimateWindow");
    setAttribute(Qt::WA_QuitOnClose, false);
    SheetModel& model = document_.model();

    table_->setObjectName("lines");
    table_->setModel(&model);
    table_->setItemDelegate(delegate_);
    delegate_->setForSelection([this](Column column, const QVariant& value) {
        const bool set = editor().setCells(selectedRows(), column, value);
        if (!set)
            statusBar()->showMessage(
                QStringLiteral("«%1»: значение не подходит ни одной выделенной строке.")
                    .arg(columnTitle(column)),
                10000);
        return set;
    });
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, &EstimateWindow::showLineMenu);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setTabKeyNavigation(false); // Tab goes on to the room, the buttons, the totals
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    table_->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setSectionsMovable(true);
    for (int visual = 0; visual < kColumnCount; ++visual)
        table_->horizontalHeader()->moveSection(
            table_->horizontalHeader()->visualIndex(int(kColumnOrder[visual])), visual);

    recording_->setObjectName("recording");
    buildMenus();

    auto* bar = new QHBoxLayout;
    bar->addWidget(buildRoomBar());
    bar->addSpacing(fontMetrics().horizontalAdvance(u'M') * 2);
    bar->addWidget(recording_);
    bar->addStretch();
    // The line commands as buttons too; on a narrow screen the bar folds the last ones into its
    // extension menu rather than widen the window past the screen.
    QToolBar* tools = addToolBar(QStringLiteral("Строки"));
    tools->setObjectName("lineTools");
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->toggleViewAction()->setEnabled(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char* name : {"addTypedLine", "actionRoomSize", "moveUp", "moveDown",
                             "duplicateLines", "removeLines", "editMaterials", "actionSystems"}) {
        tools->addAction(action(name));
        tools->widgetForAction(action(name))->setFocusPolicy(Qt::TabFocus); // reached by Tab
    }

    splitter_->setObjectName("splitter");
    splitter_->addWidget(table_);
    // On a low screen the totals scroll rather than make the window taller than the screen.
    auto* totalsArea = new QScrollArea;
    totalsArea->setWidget(totals_);
    totalsArea->setWidgetResizable(true);
    totalsArea->setFrameShape(QFrame::NoFrame);
    splitter_->addWidget(totalsArea);
    splitter_->setStretchFactor(0, 1);
    splitter_->setChildrenCollapsible(false);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(bar);
    layout->addWidget(findBar_);
    layout->addWidget(splitter_, 1);
    connect(findBar_, &FindBar::textChanged, this, &EstimateWindow::foundChanged);
    connect(findBar_, &FindBar::next, this, [this] { findAgain(true); });
    connect(findBar_, &FindBar::previous, this, [this] { findAgain(false); });
    connect(findBar_, &FindBar::closed, this, [this] {
        foundChanged(QString());
        table_->setFocus();
    });
    setCentralWidget(central);
    statusBar()->setObjectName("statusBar");

    connect(&document.estimate(), &Estimate::changed, this, &EstimateWindow::refresh);
    connect(&document_, &SheetDocument::modifiedChanged, this, &EstimateWindow::refreshTitle);
    connect(&document_, &SheetDocument::pathChanged, this, &EstimateWindow::refreshTitle);
    connect(&document_, &SheetDocument::repeated, this, [this](int row) {
        statusBar()->showMessage(
            QStringLiteral("Расчёт повторяет строку %1 и не записан: чтобы записать его ещё раз, "
                           "выделите строку и нажмите «Повторить строки».")
                .arg(row + 1),
            10000);
    });
    connect(
        &document.estimate(), &Estimate::openingsExceedWallsOf, this,
        [this](const QString& room) { statusBar()->showMessage(wallsAtZeroNotice(room), 10000); });
    connect(&document_, &SheetDocument::nearlyFull, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    // Said until the next message: the window may be opened long after the sheet came back.
    const auto sayRestored = [this](const QDateTime& written) {
        statusBar()->showMessage(QStringLiteral("Восстановлена несохранённая ведомость от %1")
                                     .arg(written.toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
    };
    connect(&document_, &SheetDocument::restoredUnsaved, this, sayRestored);
    if (document_.unsavedRestored().isValid())
        sayRestored(document_.unsavedRestored());
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EstimateWindow::updateActions);
    connect(&model, &QAbstractItemModel::modelReset, this, &EstimateWindow::updateActions);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &EstimateWindow::updateActions);
    setTabOrder(currentRoom_, recording_);
    // Ctrl+Z in the room box or the VAT rate would undo the field's own typing, and the room
    // box would take the previous room while the sheet's change stayed. Watched application-wide:
    // a combo box hands its line edit the keys directly, past any filter on it. A cell being
    // edited (inside the table) and the dialogs keep their own undo.
    qApp->installEventFilter(this);

    restoreLayout();
    refresh();
    refreshTitle();
    updateActions();
}

EstimateWindow::~EstimateWindow() {
    if (isVisible()) // one never shown has nothing of the user's to keep
        saveLayout();
}

SheetModel& EstimateWindow::model() {
    return document_.model();
}

const Estimate& EstimateWindow::estimate() const {
    return document_.estimate();
}

SheetEditor& EstimateWindow::editor() {
    return document_.editor();
}

void EstimateWindow::setPrompts(EstimatePrompts* prompts) {
    prompts_ = prompts ? prompts : &EstimatePrompts::real();
}

QAction* EstimateWindow::action(const char* name) const {
    return findChild<QAction*>(QLatin1String(name));
}

void EstimateWindow::buildMenus() {
    const auto command = [this](QMenu* menu, const QString& text, const char* name,
                                const QList<QKeySequence>& keys, auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, handler] { guarded(handler); });
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    command(file, QStringLiteral("&Новая"), "newSheet", {QKeySequence::New},
            [this] { newSheet(); });
    command(file, QStringLiteral("&Открыть…"), "openSheet", {QKeySequence::Open},
            [this] { open(); });
    command(file, QStringLiteral("&Сохранить"), "saveSheet", {QKeySequence::Save},
            [this] { save(); });
    command(file, QStringLiteral("Сохранить &как…"), "saveSheetAs",
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, [this] { saveAs(); });
    QMenu* recent = file->addMenu(QStringLiteral("Последние &ведомости"));
    recent->setObjectName("recentMenu");
    recent_ = new RecentSheets(
        *recent,
        [this](const QString& path) {
            guarded([this, path] {
                // A sheet no longer there leaves the list once it has been said.
                if (mayReplace() && !openFrom(path) && !QFileInfo::exists(path))
                    recent_->remove(path);
            });
        },
        this);
    file->addSeparator();
    command(file, QStringLiteral("&Экспорт в CSV…"), "exportCsv", {}, [this] {
        const QString path = askSaveName(QStringLiteral("Экспорт в CSV"), "CSV (*.csv)", "csv");
        if (!path.isEmpty())
            exportCsv(path);
    });
    command(file, QStringLiteral("Экспорт в E&xcel (xlsx)…"), "exportXlsx", {}, [this] {
        const QString path =
            askSaveName(QStringLiteral("Экспорт в Excel"), "Excel (*.xlsx)", "xlsx");
        if (!path.isEmpty())
            exportInBackground(path, [path](const SheetView& view, const ExportProgress& progress) {
                return writeXlsx(view, path, progress);
            });
    });
    command(file, QStringLiteral("Экс&порт в PDF…"), "exportPdf", {}, [this] {
        const QString path = askSaveName(QStringLiteral("Экспорт в PDF"), "PDF (*.pdf)", "pdf");
        if (!path.isEmpty())
            exportPdf(path);
    });
    command(file, QStringLiteral("П&ечать…"), "printSheet", {QKeySequence::Print},
            [this] { print(); });
    file->addSeparator();
    command(file, QStringLiteral("Сво&йства документа…"), "actionProperties", {}, [this] {
        PropertiesDialog dialog(estimate().sheet().properties, this);
        if (dialog.exec() == QDialog::Accepted)
            editor().setProperties(dialog.properties());
    });
    file->addSeparator();
    command(file, QStringLiteral("&Закрыть"), "closeSheet", {QKeySequence::Close},
            [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Правка"));
    QUndoStack& undo = document_.undoStack();
    QAction* undoAction = undo.createUndoAction(this, QStringLiteral("&Отменить"));
    undoAction->setObjectName("undo");
    undoAction->setShortcuts(QKeySequence::Undo);
    QAction* redoAction = undo.createRedoAction(this, QStringLiteral("Пов&торить"));
    redoAction->setObjectName("redo");
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undoAction);
    edit->addAction(redoAction);
    edit->addSeparator();
    // Within the window only: a field's own keys (the room box, the find bar, a cell being
    // typed) still cut, copy and paste its text.
    command(edit, QStringLiteral("Вы&резать"), "cutLines", {QKeySequence::Cut},
            [this] { cutLines(); });
    command(edit, QStringLiteral("&Копировать"), "copyLines", {QKeySequence::Copy},
            [this] { copyLines(); });
    command(edit, QStringLiteral("Вст&авить"), "pasteLines", {QKeySequence::Paste},
            [this] { pasteLines(); });
    command(edit, QStringLiteral("&Найти…"), "find", {QKeySequence::Find}, [this] {
        findBar_->open();
        foundChanged(findBar_->text());
    });
    command(edit, QStringLiteral("Найти &далее"), "findNext", {QKeySequence::FindNext},
            [this] { findAgain(true); });
    command(edit, QStringLiteral("Найти &ранее"), "findPrevious", {QKeySequence::FindPrevious},
            [this] { findAgain(false); });
    edit->addSeparator();
    command(edit, QStringLiteral("&Добавить строку…"), "addTypedLine",
            {QKeySequence(Qt::Key_Insert)}, [this] { addTypedLine(); });
    command(edit, QStringLiteral("В&верх"), "moveUp", {QKeySequence(Qt::CTRL | Qt::Key_Up)},
            [this] { editor().moveLines(selectedRows(), -1); });
    command(edit, QStringLiteral("Вн&из"), "moveDown", {QKeySequence(Qt::CTRL | Qt::Key_Down)},
            [this] { editor().moveLines(selectedRows(), +1); });
    command(edit, QStringLiteral("Повторить &строки"), "duplicateLines",
            {QKeySequence(Qt::CTRL | Qt::Key_D)},
            [this] { refuseIfSaid(editor().duplicateLines(selectedRows())); });
    command(edit, QStringLiteral("Повторить поме&щение…"), "actionRepeatRoom",
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)}, [this] { repeatRooms(); });
    command(edit, QStringLiteral("&Удалить строки"), "removeLines", {QKeySequence::Delete}, [this] {
        removeSelected([this](const QList<int>& rows) { editor().removeLines(rows); });
    });
    command(edit, QStringLiteral("Пере&нести в помещение…"), "setRoom", {},
            [this] { setRoomOfLines(); });
    edit->addSeparator();
    command(edit, QStringLiteral("&Материалы…"), "editMaterials", {}, [this] { editMaterials(); });
    command(edit, QStringLiteral("Системы о&краски…"), "actionSystems", {},
            [this] { editSystems(); });
    command(edit, QStringLiteral("Каталог &фирмы…"), "actionCatalogue", {}, [this] {
        CatalogueDialog dialog(*this);
        dialog.exec();
    });
    command(edit, QStringLiteral("Взять из катало&га…"), "actionTakeFromCatalogue", {},
            [this] { takeFromCatalogue(*this); });
    command(edit, QStringLiteral("Обновить &цены из каталога…"), "actionUpdatePrices", {},
            [this] { updatePricesFromCatalogue(*this); });
    command(edit, QStringLiteral("Окраска в&ыделенных строк…"), "assignSystem", {},
            [this] { assignSystem(selectedRows()); });
    command(edit, QStringLiteral("Окраска всего &помещения…"), "assignRoomSystem", {}, [this] {
        QList<int> rows;
        for (qsizetype row = 0; row < estimate().sheet().lines.size(); ++row)
            if (estimate().sheet().lines[row].room == estimate().sheet().lastRoom)
                rows << int(row);
        assignSystem(rows);
    });
    command(edit, QStringLiteral("&Размеры помещения…"), "actionRoomSize",
            {QKeySequence(Qt::CTRL | Qt::Key_R)}, [this] { editRoomSize(); });
    command(edit, QStringLiteral("Размеры про&ёма…"), "actionOpeningSize", {},
            [this] { editOpeningSize(); });
    QMenu* view = menuBar()->addMenu(QStringLiteral("&Вид"));
    QAction* grouped = view->addAction(QStringLiteral("&Группировать по помещениям"));
    grouped->setObjectName("groupByRoom");
    grouped->setCheckable(true);
    grouped->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(grouped, &QAction::toggled, this, &EstimateWindow::setGrouped);
    // What the painting norms price: quantities in 100 м2 and the norms' codes, shown on demand.
    QAction* norms = view->addAction(QStringLiteral("&Единицы норм и шифры"));
    norms->setObjectName("showNorms");
    norms->setCheckable(true);
    connect(norms, &QAction::toggled, this, [this](bool on) {
        table_->setColumnHidden(int(Column::NormQuantity), !on);
        table_->setColumnHidden(int(Column::Code), !on);
        widenColumnsToHeadings();
    });
    QAction* recording = edit->addAction(QStringLiteral("&Записывать расчёты"));
    recording->setObjectName("recordingAction");
    recording->setCheckable(true);
    connect(recording, &QAction::toggled, this, [this](bool on) { editor().setRecording(on); });
    connect(recording_, &QCheckBox::toggled, recording, &QAction::setChecked);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Справка"));
    command(help, QStringLiteral("&Руководство"), "actionHelp", {QKeySequence(Qt::Key_F1)},
            [this] { showGuide(this, kSheetGuidePage); });
    help->addSeparator();
    for (const GuideTopic& topic : guideTopics())
        connect(help->addAction(topic.title), &QAction::triggered, this,
                [this, page = topic.page] { showGuide(this, page); });
}

QWidget* EstimateWindow::buildRoomBar() {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("&Помещение:"));
    label->setToolTip(QStringLiteral("Помещение, в которое записываются новые строки"));
    label->setBuddy(currentRoom_);
    currentRoom_->setObjectName("currentRoom");
    currentRoom_->setEditable(true);
    currentRoom_->setInsertPolicy(QComboBox::NoInsert);
    currentRoom_->setMinimumContentsLength(14);
    currentRoom_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    currentRoom_->lineEdit()->setPlaceholderText(QStringLiteral("(без помещения)"));
    connect(currentRoom_, &QComboBox::currentTextChanged, this,
            [this](const QString& room) { editor().setCurrentRoom(room); });
    // The room is taken as it is typed; Enter says it is done: back to the lines.
    connect(currentRoom_->lineEdit(), &QLineEdit::returnPressed, table_,
            [this] { table_->setFocus(Qt::OtherFocusReason); });
    layout->addWidget(label);
    layout->addWidget(currentRoom_);
    return box;
}

void EstimateWindow::refresh() {
    totals_->refresh();
    refreshRooms();
    const bool recording = estimate().sheet().recording;
    recording_->setChecked(recording);
    action("recordingAction")->setChecked(recording);
}

void EstimateWindow::refreshRooms() {
    const QStringList rooms = estimate().rooms();
    QStringList shown;
    for (int i = 0; i < currentRoom_->count(); ++i)
        shown << currentRoom_->itemText(i);
    const QString& current = estimate().sheet().lastRoom;
    if (shown == rooms && currentRoom_->currentText() == current)
        return;
    const QSignalBlocker quiet(currentRoom_);
    if (shown != rooms) {
        currentRoom_->clear();
        currentRoom_->addItems(rooms);
    }
    currentRoom_->setEditText(current);
}

void EstimateWindow::refreshTitle() {
    setWindowTitle(QStringLiteral("%1 — %2[*]").arg(kTitle, document_.displayName()));
    setWindowModified(document_.isModified());
}

void EstimateWindow::updateActions() {
    const QList<int> rows = selectedRows();
    const bool any = !rows.isEmpty();
    const int last = model().rowCount() - 1;
    action("removeLines")->setEnabled(any);
    action("cutLines")->setEnabled(any);
    action("copyLines")->setEnabled(any);
    action("setRoom")->setEnabled(any);
    action("duplicateLines")->setEnabled(any);
    action("assignSystem")->setEnabled(any);
    const auto opening = [this](int row) {
        const Line& line = estimate().sheet().lines[row];
        return line.kind == LineKind::Computed && openingOf(line.calculator) != Opening::None;
    };
    action("actionOpeningSize")->setEnabled(rows.size() == 1 && opening(rows.front()));
    // Grouped, a line's neighbour on screen is not its neighbour in the sheet.
    action("moveUp")->setEnabled(any && !groups_ && rows.front() > 0);
    action("moveDown")->setEnabled(any && !groups_ && rows.back() < last);
}

void EstimateWindow::setGrouped(bool on) {
    if (on == (groups_ != nullptr))
        return;
    // The columns keep their order and widths, the actions their wiring to the selection.
    QHeaderView* header = table_->horizontalHeader();
    const QByteArray columns = header->saveState();
    QItemSelectionModel* selection = table_->selectionModel();
    if (on)
        groups_ = new RoomGroupsModel(model(), this);
    table_->setModel(on ? static_cast<QAbstractItemModel*>(groups_) : &model());
    delete selection;
    if (!on) {
        delete groups_;
        groups_ = nullptr;
    }
    header->restoreState(columns);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EstimateWindow::updateActions);
    updateActions();
}

QList<int> EstimateWindow::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        // A room's subtotal row stands for no line.
        const QModelIndex line = groups_ ? groups_->mapToSource(index) : index;
        if (line.isValid())
            rows << line.row();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void EstimateWindow::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::bad_alloc&) {
        prompts_->error(this, QStringLiteral("Не хватило памяти; ведомость осталась прежней."));
    } catch (const std::exception& error) {
        prompts_->error(this, QString::fromUtf8(error.what()));
    }
    updateActions();
}

void EstimateWindow::fitToScreen() {
    // Within nine tenths of the screen, so that the totals and the buttons are on it.
    const QRect available = screen()->availableGeometry();
    const int em = fontMetrics().horizontalAdvance(u'M');
    const QSize wanted = QSize(140 * em, 56 * em).boundedTo(available.size() * 9 / 10);
    resize(wanted);
    placeFrame(*this, nullptr, centredInside);
    splitter_->setSizes({wanted.width() * 2 / 3, wanted.width() / 3});
    int letters = 0;
    for (int width : kColumnLetters)
        letters += width;
    const int tableWidth = wanted.width() * 2 / 3 - table_->verticalHeader()->sizeHint().width() -
                           table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
    // The width shared out, but never less than the heading needs.
    for (int c = 0; c < kColumnCount; ++c)
        table_->setColumnWidth(c, std::max(table_->horizontalHeader()->sectionSizeHint(c),
                                           tableWidth * kColumnLetters[std::size_t(c)] / letters));
}

void EstimateWindow::restoreLayout() {
    const auto settings = programSettings();
    settings->beginGroup(kSettingsGroup);
    // Qt keeps a restored window on the screen it is on now, whatever screen it was saved on, but
    // not within it: saved on a larger screen, the window is fitted again.
    if (!restoreGeometry(settings->value("geometry").toByteArray()) ||
        !screen()->availableGeometry().contains(frameGeometry()))
        fitToScreen();
    splitter_->restoreState(settings->value("splitter").toByteArray());
    table_->setColumnHidden(int(Column::NormQuantity), true);
    table_->setColumnHidden(int(Column::Code), true);
    table_->horizontalHeader()->restoreState(settings->value("lineColumns").toByteArray());
    action("showNorms")->setChecked(!table_->isColumnHidden(int(Column::NormQuantity)));
    widenColumnsToHeadings();
}

void EstimateWindow::widenColumnsToHeadings() {
    QHeaderView* header = table_->horizontalHeader();
    for (int c = 0; c < kColumnCount; ++c)
        if (!header->isSectionHidden(c))
            header->resizeSection(c, std::max(header->sectionSize(c), header->sectionSizeHint(c)));
}

void EstimateWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        widenColumnsToHeadings();
}

void EstimateWindow::saveLayout() const {
    const auto settings = programSettings();
    settings->beginGroup(kSettingsGroup);
    settings->setValue("geometry", saveGeometry());
    settings->setValue("splitter", splitter_->saveState());
    settings->setValue("lineColumns", table_->horizontalHeader()->saveState());
}

void EstimateWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!sheetFilesOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void EstimateWindow::dropEvent(QDropEvent* event) {
    const QStringList files = sheetFilesOf(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    for (const QString& file : files)
        openAsked(file);
}

bool EstimateWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return QMainWindow::eventFilter(watched, event);
    const auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this || table_->isAncestorOf(widget))
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const char* name : {"undo", "redo"})
        if (action(name)->shortcuts().contains(pressed)) {
            event->ignore(); // not the field's: the window's shortcut takes it
            return true;
        }
    return false;
}

void EstimateWindow::hideEvent(QHideEvent* event) {
    saveLayout();
    QMainWindow::hideEvent(event);
}

bool EstimateWindow::saveTo(const QString& path) {
    const bool saved =
        saidWritten(path, document_.saveTo(path),
                    QStringLiteral("Не удалось сохранить ведомость в файл «%1»: %2. Файл на "
                                   "диске остался прежним."),
                    QStringLiteral("Сохранено: %1"));
    if (saved)
        recent_->add(path);
    return saved;
}

bool EstimateWindow::save() {
    return document_.path().isEmpty() ? saveAs() : saveTo(document_.path());
}

bool EstimateWindow::saveAs() {
    const QString path =
        askSaveName(QStringLiteral("Сохранить ведомость"), kFileFilter, kSheetSuffix);
    return !path.isEmpty() && saveTo(path);
}

QString EstimateWindow::askSaveName(const QString& caption, const QString& filter,
                                    const QString& suffix) {
    // Named after its object, else after the document.
    const QFileInfo document(document_.path());
    QString name = fileNameOf(estimate().sheet().properties.object, suffix);
    if (name.isEmpty() || suffix == kSheetSuffix)
        name = (document_.path().isEmpty() ? QStringLiteral("Ведомость")
                                           : document.completeBaseName()) +
               u'.' + suffix;
    const QString path =
        prompts_->saveFileName(this, caption, startFolder() + u'/' + name, filter, suffix);
    if (!path.isEmpty())
        rememberFolder(path);
    return path;
}

QString EstimateWindow::startFolder() const {
    const auto isFolder = [](const QString& path) {
        return !path.isEmpty() && QFileInfo(path).isDir();
    };
    if (!document_.path().isEmpty()) {
        const QString own = QFileInfo(document_.path()).absolutePath();
        if (isFolder(own))
            return own;
    }
    const auto settings = programSettings();
    settings->beginGroup(kSettingsGroup);
    const QString last = settings->value(kLastFolderKey).toString();
    if (isFolder(last))
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return isFolder(documents) ? documents : QDir::homePath();
}

void EstimateWindow::rememberFolder(const QString& path) {
    const auto settings = programSettings();
    settings->beginGroup(kSettingsGroup);
    settings->setValue(kLastFolderKey, QFileInfo(path).absolutePath());
}

bool EstimateWindow::mayReplace() {
    const bool named = !document_.path().isEmpty();
    if (!document_.isModified() || (!named && model().rowCount() == 0))
        return true;
    switch (prompts_->unsavedChanges(this, document_.displayName())) {
    case EstimatePrompts::Unsaved::Save:
        return save();
    case EstimatePrompts::Unsaved::Discard:
        return true;
    case EstimatePrompts::Unsaved::Cancel:
        return false;
    }
    return false;
}

bool EstimateWindow::openFrom(const QString& path) {
    const QString error = document_.openFrom(path);
    if (!error.isEmpty()) {
        prompts_->error(this, QStringLiteral("Не удалось открыть файл «%1»: %2. Ведомость на "
                                             "экране осталась прежней.")
                                  .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    recent_->add(path);
    return true;
}

bool EstimateWindow::openAsked(const QString& path) {
    return mayReplace() && openFrom(path);
}

bool EstimateWindow::open() {
    if (!mayReplace())
        return false;
    const QString path = prompts_->openFileName(this, startFolder());
    if (path.isEmpty())
        return false;
    rememberFolder(path);
    return openFrom(path);
}

bool EstimateWindow::newSheet() {
    if (!mayReplace())
        return false;
    document_.newSheet();
    return true;
}

bool EstimateWindow::exportCsv(const QString& path) {
    return saidWritten(path, document_.exportCsv(path));
}

bool EstimateWindow::exportPdf(const QString& path) {
    return exportInBackground(path, [path](const SheetView& view, const ExportProgress& progress) {
        return writePdf(view, path, progress);
    });
}

bool EstimateWindow::exportInBackground(
    const QString& path,
    const std::function<QString(const SheetView&, const ExportProgress&)>& write) {
    // The export reads a copy, on a worker thread; the window answers meanwhile and, past a
    // second, shows how far it has come with a button that stops it. Returns when it is done.
    const auto snapshot =
        std::make_shared<const SheetSnapshot>(SheetSnapshot::of(estimate().view()));
    const auto cancelled = std::make_shared<std::atomic_bool>(false);
    const auto done = std::make_shared<std::atomic_int>(0);
    const auto total = std::make_shared<std::atomic_int>(0);
    const QFuture<QString> result = QtConcurrent::run([=] {
        try {
            return write(snapshot->view(), [=](int now, int of) {
                done->store(now);
                total->store(of);
                return !cancelled->load();
            });
        } catch (const std::bad_alloc&) {
            return QStringLiteral("не хватило памяти");
        }
    });
    for (const char* name : {"exportCsv", "exportXlsx", "exportPdf", "printSheet"})
        action(name)->setEnabled(false);
    auto* progress = new QWidget;
    auto* layout = new QHBoxLayout(progress);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QProgressBar;
    bar->setObjectName("exportProgress");
    bar->setFormat(QStringLiteral("Запись %p%"));
    auto* stop = new QPushButton(QStringLiteral("Прер&вать"));
    stop->setObjectName("cancelExport");
    connect(stop, &QPushButton::clicked, progress, [=] { cancelled->store(true); });
    layout->addWidget(bar);
    layout->addWidget(stop);
    progress->hide();
    statusBar()->addPermanentWidget(progress);

    QFutureWatcher<QString> watcher;
    QEventLoop wait;
    connect(&watcher, &QFutureWatcherBase::finished, &wait, &QEventLoop::quit);
    QTimer ticks;
    QElapsedTimer clock;
    clock.start();
    // The progress widget is the context: the ticks stop reaching it when it goes.
    connect(&ticks, &QTimer::timeout, progress, [&] {
        if (clock.elapsed() < 1000)
            return;
        progress->show();
        bar->setRange(0, std::max(1, total->load()));
        bar->setValue(done->load());
    });
    ticks.start(100);
    watcher.setFuture(result);
    if (!result.isFinished())
        wait.exec(); // also left when the program quits: the export is then stopped
    cancelled->store(!result.isFinished() || cancelled->load());
    watcher.waitForFinished();
    // A failure is said in a box with an event loop of its own, after the progress is gone.
    ticks.stop();
    delete progress;
    for (const char* name : {"exportCsv", "exportXlsx", "exportPdf", "printSheet"})
        action(name)->setEnabled(true);
    if (cancelled->load() && !result.result().isEmpty()) {
        statusBar()->showMessage(QStringLiteral("Экспорт прерван; файл «%1» не записан.")
                                     .arg(QDir::toNativeSeparators(path)),
                                 5000);
        return false;
    }
    return saidWritten(path, result.result());
}

bool EstimateWindow::refuseIfSaid(const QString& refusal) {
    if (!refusal.isEmpty())
        prompts_->error(this, refusal);
    return !refusal.isEmpty();
}

bool EstimateWindow::saidWritten(const QString& path, const QString& error, const QString& failed,
                                 const QString& done) {
    const QString shown = QDir::toNativeSeparators(path);
    if (!error.isEmpty()) {
        prompts_->error(this, failed.arg(shown, error));
        return false;
    }
    statusBar()->showMessage(done.arg(shown), 5000);
    return true;
}

void EstimateWindow::print() {
    QString error;
    const SheetView view = estimate().view();
    const QString object = view.sheet.properties.object.trimmed();
    const PrintJob job{
        object.isEmpty() ? QStringLiteral("Ведомость окраски") : object,
        [&](QPagedPaintDevice& device) { setUpPages(device, view); },
        [&](QPagedPaintDevice& device) { return paintSheet(view, device, QDate::currentDate()); }};
    if (!prompts_->print(this, job, error) && !error.isEmpty())
        prompts_->error(this, QStringLiteral("Печать недоступна: %1.").arg(error));
}

void EstimateWindow::editMaterials() {
    QSet<int> used;
    for (const PaintSystem& system : estimate().sheet().systems)
        for (const Layer& layer : system.layers)
            used.insert(layer.material);
    MaterialsDialog dialog(estimate().sheet().materials, this);
    dialog.setUsedMaterials(used, prompts_);
    if (dialog.exec() == QDialog::Accepted)
        editor().editMaterials(dialog.materials());
}

void EstimateWindow::assignSystem(const QList<int>& rows) {
    const QList<PaintSystem>& systems = estimate().sheet().systems;
    if (rows.isEmpty())
        return;
    if (systems.isEmpty()) {
        statusBar()->showMessage(
            QStringLiteral("Систем окраски ещё нет: заведите их в «Правка ▸ Системы окраски…»."),
            10000);
        return;
    }
    QStringList names{QStringLiteral("(нет)")};
    for (const PaintSystem& system : systems)
        names << QStringLiteral("%1 — %2").arg(system.name,
                                               system.layersText(estimate().sheet().materials));
    const QString chosen = prompts_->choose(
        this, QStringLiteral("Система окраски для строк: %1").arg(rows.size()), names);
    const qsizetype index = names.indexOf(chosen);
    if (index >= 0)
        editor().assignSystem(rows, index == 0 ? 0 : systems[index - 1].id);
}

void EstimateWindow::editSystems() {
    QSet<int> used;
    for (const Line& line : estimate().sheet().lines)
        used.insert(line.system);
    SystemsDialog dialog(estimate().sheet().systems, estimate().sheet().materials, this);
    dialog.setUsedSystems(used, prompts_);
    dialog.setSeparator(estimate().separator());
    if (dialog.exec() != QDialog::Accepted)
        return;
    editor().editSystems(dialog.systems(), dialog.addedMaterials());
}

void EstimateWindow::addTypedLine() {
    TypedLineDialog dialog(estimate().separator(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Line line;
    line.kind = LineKind::Typed;
    line.element = dialog.name();
    line.unit = dialog.unit();
    line.formula = dialog.expression();
    line.result = dialog.quantity().text(estimate().separator());
    if (refuseIfSaid(editor().addLine(line)))
        return;
    table_->scrollToBottom();
}

void EstimateWindow::editRoomSize() {
    const QString room = estimate().sheet().lastRoom;
    const int walls = estimate().rowOf(room, LineKind::Walls);
    RoomDialog dialog(room, walls < 0 ? RoomSize() : RoomSize::of(estimate().sheet().lines[walls]),
                      estimate().separator(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    refuseIfSaid(editor().setRoomSize(room, dialog.size()));
    const int row = estimate().rowOf(room, LineKind::Walls);
    statusBar()->showMessage(QStringLiteral("%1: стены %2 м2 — строка %3")
                                 .arg(roomTitle(room), estimate().sheet().lines[row].result)
                                 .arg(row + 1),
                             10000);
}

void EstimateWindow::editOpeningSize() {
    const QList<int> rows = selectedRows();
    if (rows.size() != 1 || !action("actionOpeningSize")->isEnabled())
        return;
    const int row = rows.front();
    const Line& line = estimate().sheet().lines[row];
    OpeningSizeDialog dialog(
        line.element, line.openingWidth, line.openingHeight,
        [this, row](const QString& width, const QString& height) {
            return editor().setOpeningSize(row, width, height);
        },
        this);
    if (dialog.exec() == QDialog::Accepted)
        statusBar()->showMessage(QStringLiteral("Проём: %1 м2 — строка %2")
                                     .arg(estimate().sheet().lines[row].opening)
                                     .arg(row + 1),
                                 10000);
}

bool EstimateWindow::mayExit() {
    if (document_.isModified() && !document_.path().isEmpty()) {
        switch (prompts_->unsavedChanges(this, document_.displayName())) {
        case EstimatePrompts::Unsaved::Save:
            if (!save())
                return false;
            break;
        case EstimatePrompts::Unsaved::Discard:
            document_.revertToSaved();
            break;
        case EstimatePrompts::Unsaved::Cancel:
            return false;
        }
    }
    if (document_.flushRecovery())
        return true;
    const QString text =
        QStringLiteral("Ведомость не удалось сохранить в резервный файл «%1»: "
                       "%2. Без сохранения её строки будут потеряны.")
            .arg(QDir::toNativeSeparators(document_.recoveryPath()), document_.recoveryError());
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

void EstimateWindow::copyLines() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    // The columns as the estimator sees them: in their order on screen, the hidden ones left out.
    QList<Column> columns;
    const QHeaderView* header = table_->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns << Column(logical);
    }
    QGuiApplication::clipboard()->setMimeData(copiedLines(estimate(), rows, columns));
    statusBar()->showMessage(QStringLiteral("Скопировано строк: %1").arg(rows.size()), 5000);
}

void EstimateWindow::cutLines() {
    if (selectedRows().isEmpty())
        return;
    copyLines();
    removeSelected([this](const QList<int>& rows) { editor().cutLines(rows); });
}

void EstimateWindow::removeSelected(const std::function<void(const QList<int>&)>& remove) {
    // Where the table puts the cursor after a deletion: on its line, moved up by the lines
    // deleted above it; where its own line goes, on the nearest line above that stays.
    const QModelIndex current = table_->currentIndex();
    const QModelIndexList selected = table_->selectionModel()->selectedRows();
    int cursorRow = 0;
    if (current.isValid()) {
        const auto above =
            std::count_if(selected.begin(), selected.end(),
                          [&](const QModelIndex& i) { return i.row() < current.row(); });
        const bool goes = table_->selectionModel()->isRowSelected(current.row(), current.parent());
        cursorRow = std::max(0, current.row() - int(above) - (goes ? 1 : 0));
    }
    remove(selectedRows());
    // Lines deleted from many places of a long sheet are told to the table as a reset, which
    // forgets the cursor: it is put back there.
    const int rows = table_->model()->rowCount();
    if (table_->currentIndex().isValid() || rows == 0)
        return;
    const QModelIndex cursor = table_->model()->index(
        std::min(cursorRow, rows - 1), current.isValid() ? current.column() : int(Column::Element));
    table_->selectionModel()->setCurrentIndex(cursor, QItemSelectionModel::NoUpdate);
    table_->scrollTo(cursor);
}

void EstimateWindow::pasteLines() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    const PastedLines pasted =
        pastedLines(*data, estimate().separator(), estimate().sheet().lastRoom);
    if (!pasted.problems.isEmpty()) {
        constexpr qsizetype kNamed = 12;
        QString list = pasted.problems.mid(0, kNamed).join(u'\n');
        if (pasted.problems.size() > kNamed)
            list += QStringLiteral("\n…и ещё %1").arg(pasted.problems.size() - kNamed);
        prompts_->error(this, QStringLiteral("Строки не вставлены: в них есть то, что нельзя "
                                             "прочитать. Исправьте и скопируйте их снова.\n\n") +
                                  list);
        return;
    }
    if (pasted.lines.isEmpty())
        return;
    const QList<int> rows = selectedRows();
    const int at = rows.isEmpty() ? estimate().lineCount() : rows.back() + 1;
    if (refuseIfSaid(editor().insertLines(at, pasted.lines, pasted.systems, pasted.materials,
                                          QStringLiteral("вставка строк"))))
        return;
    selectLine(at, Column::Element);
    // As runs of rows on screen: a selection of one range per line is slow to build.
    std::vector<int> shown;
    for (int row = at; row < at + int(pasted.lines.size()); ++row)
        shown.push_back(groups_ ? groups_->mapFromSource(model().index(row, 0)).row() : row);
    std::sort(shown.begin(), shown.end());
    QItemSelection pastedRows;
    const QAbstractItemModel* view = table_->model();
    for (std::size_t first = 0, last = 0; first < shown.size(); first = ++last) {
        while (last + 1 < shown.size() && shown[last + 1] == shown[last] + 1)
            ++last;
        pastedRows.append(
            QItemSelectionRange(view->index(shown[first], 0), view->index(shown[last], 0)));
    }
    table_->selectionModel()->select(pastedRows, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    table_->setFocus();
    statusBar()->showMessage(QStringLiteral("Вставлено строк: %1").arg(pasted.lines.size()), 5000);
}

void EstimateWindow::setRoomOfLines() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    const std::optional<QString> room =
        prompts_->typeOrChoose(this, QStringLiteral("Помещение для строк: %1").arg(rows.size()),
                               estimate().rooms(), estimate().sheet().lines[rows.front()].room);
    if (room)
        editor().setCells(rows, Column::Room, *room);
}

void EstimateWindow::repeatRooms() {
    // The rooms of the selected lines (a floor), else the current room.
    QStringList rooms;
    for (int row : selectedRows())
        if (const QString& room = estimate().sheet().lines[row].room; !rooms.contains(room))
            rooms << room;
    if (rooms.isEmpty())
        rooms << estimate().sheet().lastRoom;
    RepeatRoomsDialog dialog(rooms, estimate().rooms(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (refuseIfSaid(
            editor().repeatRooms(rooms, dialog.pattern(), dialog.firstNumber(), dialog.copies())))
        return;
    statusBar()->showMessage(QStringLiteral("Помещения повторены: копий %1").arg(dialog.copies()),
                             10000);
}

void EstimateWindow::showLineMenu(const QPoint& at) {
    QMenu menu(this);
    for (const char* name :
         {"cutLines", "copyLines", "pasteLines", "", "addTypedLine", "duplicateLines",
          "removeLines", "", "setRoom", "actionRepeatRoom", "assignSystem", "actionOpeningSize"}) {
        if (*name)
            menu.addAction(action(name));
        else
            menu.addSeparator();
    }
    menu.exec(table_->viewport()->mapToGlobal(at));
}

int EstimateWindow::currentLine() const {
    const QModelIndex current = table_->currentIndex();
    const QModelIndex line = groups_ && current.isValid() ? groups_->mapToSource(current) : current;
    return line.isValid() ? line.row() : -1;
}

void EstimateWindow::selectLine(int row, Column column) {
    const QModelIndex line = model().index(row, int(column));
    const QModelIndex shown = groups_ ? groups_->mapFromSource(line) : line;
    table_->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    table_->scrollTo(shown);
}

void EstimateWindow::foundChanged(const QString& text) {
    delegate_->setFound(findBar_->isVisible() ? text : QString());
    table_->viewport()->update();
    if (text.isEmpty() || !findBar_->isVisible()) {
        findBar_->showFound(0, 0);
        return;
    }
    // As the estimator types, the first line that holds it from where the table stands.
    const int from = currentLine();
    showFound(from >= 0 && lineMatches(estimate(), from, text)
                  ? from
                  : findLine(estimate(), from, text, true));
}

void EstimateWindow::findAgain(bool forward) {
    if (findBar_->text().isEmpty()) {
        findBar_->open();
        return;
    }
    showFound(findLine(estimate(), currentLine(), findBar_->text(), forward));
}

void EstimateWindow::showFound(int row) {
    const QString text = findBar_->text();
    if (row >= 0)
        selectLine(row, Column::Element);
    int before = 0;
    for (int r = 0; r <= row; ++r)
        before += lineMatches(estimate(), r, text);
    findBar_->showFound(before, matchCount(estimate(), text));
}

} // namespace velaro
