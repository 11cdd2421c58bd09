#pragma once
// «Ведомость окраски»: the sheet document shown and worked on. The window lays out the table of
// lines, the totals and the current room, wires the menus to the document and asks the questions
// a document program asks; the document itself holds the lines, the files and the recovery file.
// Unlike the calculators it is laid out by Qt and follows the system palette and scale.

#include "estimate/columns.h"
#include "estimate/export.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QSplitter;
class QTableView;

namespace velaro {

class EstimatePrompts;
class FindBar;
class LineDelegate;
class RecentSheets;
class RoomGroupsModel;
class SheetDocument;
class Estimate;
class SheetEditor;
class SheetModel;
class TotalsPanel;

class EstimateWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit EstimateWindow(SheetDocument& document, QWidget* parent = nullptr);
    ~EstimateWindow() override;

    static inline const QString kTitle = QStringLiteral("Ведомость окраски");

    SheetDocument& document() { return document_; }
    SheetModel& model();
    const Estimate& estimate() const;
    SheetEditor& editor();
    // Replaces the real dialogs (nullptr restores them); the window does not own it.
    void setPrompts(EstimatePrompts* prompts);
    EstimatePrompts& prompts() { return *prompts_; }
    // Where the file dialogs start: the document's folder, else the last folder a dialog chose
    // (kept in the settings), else the user's documents folder; never the folder the program
    // was started from.
    QString startFolder() const;
    // A path chosen in a file dialog: its folder is where the next dialog starts.
    void rememberFolder(const QString& path);

    // The file commands with their questions and messages; false where nothing was done.
    bool save();
    bool saveAs();
    bool open();
    bool newSheet();
    bool openFrom(const QString& path);
    // A sheet named from outside (the command line, a second start): asked about unsaved
    // changes as «Открыть» asks.
    bool openAsked(const QString& path);
    bool saveTo(const QString& path);
    bool exportCsv(const QString& path);
    bool exportPdf(const QString& path);
    void print();
    void editMaterials();
    void editSystems();
    // A paint system chosen for these lines (the selection, or the current room's).
    void assignSystem(const QList<int>& rows);
    // A line typed by hand, in the current room.
    void addTypedLine();
    // The current room's size: its walls and ceiling lines.
    void editRoomSize();
    void editOpeningSize(); // of the one selected window or door line
    // The table grouped by room with a subtotal for each, or the lines in their order.
    void setGrouped(bool on);
    // The selected lines to the clipboard, in the columns shown; a cut removes them in one step.
    void copyLines();
    void cutLines();
    // Lines from the clipboard after the selected ones (at the end where none is), in one step;
    // rows a spreadsheet gave that cannot be read are named and nothing is pasted.
    void pasteLines();
    // The rooms of the selected lines, or the current room, repeated with their lines.
    void repeatRooms();
    // The selected lines moved to a room, typed or chosen from the sheet's.
    void setRoomOfLines();
    // The next (or previous) line holding what the find bar holds, made current.
    void findAgain(bool forward);
    RecentSheets& recentSheets() { return *recent_; }
    // The sheet's rows of the lines selected, ascending, in whichever view is shown.
    QList<int> selectedRows() const;

    // Whether the program may end: asks about unsaved changes of a named document, and what to
    // do where the recovery file cannot be written.
    bool mayExit();

  protected:
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Undo and redo keys in the window's own fields are the sheet's (see the constructor).
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Sheet files dropped on the window open, as from «Открыть».
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Removes the selected lines (deleted or cut), the cursor left where they were.
    void removeSelected(const std::function<void(const QList<int>&)>& remove);
    void buildMenus();
    void showLineMenu(const QPoint& at);
    // Makes the line of `row` current and selected, in whichever view is shown.
    void selectLine(int row, Column column);
    int currentLine() const;
    void foundChanged(const QString& text);
    // The line found made current, and where it stands among those that match.
    void showFound(int row);
    QWidget* buildRoomBar();
    void fitToScreen();
    void restoreLayout();
    void saveLayout() const;
    // Every shown column at least as wide as its heading in the current font: widths kept from
    // a smaller font would cut the headings.
    void widenColumnsToHeadings();
    void refresh();
    void refreshRooms();
    void refreshTitle();
    void updateActions();
    // Whether the sheet on screen may give way to another: asks about unsaved changes.
    bool mayReplace();
    QAction* action(const char* name) const;
    // The file name to save or export to, asked with the document's own name, in startFolder().
    QString askSaveName(const QString& caption, const QString& filter, const QString& suffix);
    // Writes a document on a worker thread from a copy of the sheet, showing its progress past
    // a second with a button that stops it; returns when it is done, whether it was written.
    bool exportInBackground(
        const QString& path,
        const std::function<QString(const SheetView&, const ExportProgress&)>& write);
    // Says where a file was written, or why it was not (`error`); false for the latter.
    // Says a refusal in a box; true where there was one.
    bool refuseIfSaid(const QString& refusal);
    bool saidWritten(const QString& path, const QString& error,
                     const QString& failed = QStringLiteral("Не удалось записать файл «%1»: %2."),
                     const QString& done = QStringLiteral("Записано: %1"));
    // Runs a command so that nothing it throws (a sheet too large for memory) ends the program.
    void guarded(const std::function<void()>& command);

    SheetDocument& document_;
    EstimatePrompts* prompts_;
    QTableView* table_;
    QCheckBox* recording_;
    QComboBox* currentRoom_;
    TotalsPanel* totals_;
    QSplitter* splitter_;
    RoomGroupsModel* groups_ = nullptr; // while the table is grouped
    LineDelegate* delegate_;
    FindBar* findBar_;
    RecentSheets* recent_ = nullptr;
};

} // namespace velaro
