#pragma once
// The user guide: Russian HTML pages compiled into the program (resources/help), shown in one
// window with back, forward and contents, placed beside the window that asked. Every window
// reaches it with F1 without a menu item of its own; the sheet has a Help menu as well.

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QUrl>

class QTextBrowser;

namespace velaro {

// Pages by file name in the guide's resource folder.
inline const QString kGuideFolder = QStringLiteral(":/help");
inline const QString kGuideContents = QStringLiteral("index.html");
inline const QString kSheetGuidePage = QStringLiteral("sheet.html");
// A calculator's page is named after its window: TForm20 → TForm20.html.
QString guidePageOf(const QString& windowName);

// The pages by task, as the sheet's Help menu lists them.
struct GuideTopic {
    QString title;
    QString page;
};
const QList<GuideTopic>& guideTopics();

class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showPage(const QString& page);
    // The page shown, as a qrc URL.
    QUrl source() const;

  private:
    void refreshTitle();

    QTextBrowser* browser_;
};

// Opens the guide at `page` in its one window, beside `asking` where there is room.
void showGuide(QWidget* asking, const QString& page);
// The guide's window once it has been opened, else nullptr.
HelpWindow* guideWindow();
// F1 anywhere in `window` opens the guide at `page`; no menu gains an item.
void addGuideKey(QWidget& window, const QString& page);

} // namespace velaro
