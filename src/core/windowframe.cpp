#include "core/windowframe.h"

#include "core/fonts.h"
#include "core/messages.h"

#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace velaro {

void setUpTopLevelWindow(QMainWindow& window, const QString& className, const QString& caption,
                         const QString& iconPath, const QColor& background) {
    window.setObjectName(className);
    window.setWindowTitle(caption);
    window.setWindowIcon(QIcon(iconPath));
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    window.setFont(sansFont());
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, background);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

QAction* addMenuCommand(QMainWindow& window, const QString& menuTitle, const QString& menuName,
                        const QString& commandTitle, const QString& commandName,
                        const std::function<void()>& handler) {
    QMenu* menu = window.menuBar()->findChild<QMenu*>(menuName + QStringLiteral("Menu"));
    if (!menu) {
        menu = window.menuBar()->addMenu(menuTitle);
        menu->setObjectName(menuName + QStringLiteral("Menu"));
        menu->menuAction()->setObjectName(menuName);
    }
    QAction* command = menu->addAction(commandTitle);
    command->setObjectName(commandName);
    QObject::connect(command, &QAction::triggered, &window, [handler] { runGuarded(handler); });
    return command;
}

} // namespace velaro
