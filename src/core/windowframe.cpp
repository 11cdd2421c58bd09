#include "core/windowframe.h"

#include "core/fonts.h"
#include "core/messages.h"

#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <memory>
#include <optional>

namespace velaro {
namespace {

// Return and the keypad's Enter reach the window when the focused push button ignores them
// (no button is a default button): they press that button as Space does. Fields never pass
// them on, so in a field they still do nothing.
class ReturnPressesFocusedButton : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* window, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(static_cast<QWidget*>(window)->focusWidget());
        if (!button || !button->isEnabled())
            return false;
        QKeyEvent space(key->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                        key->isAutoRepeat());
        QCoreApplication::sendEvent(button, &space);
        return true;
    }
};

// Keeps one window's placement until the window system has framed it, then places it again
// with the frame margins it reports.
class FrameKeeper : public QObject {
    Q_OBJECT
  public:
    explicit FrameKeeper(QWidget& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
    }

    static FrameKeeper& of(QWidget& window) {
        auto* keeper = window.findChild<FrameKeeper*>(QString(), Qt::FindDirectChildrenOnly);
        return keeper ? *keeper : *new FrameKeeper(window);
    }

    void place(const QScreen* screen, Placement where, const QMargins& likelyMargins) {
        screen_ = screen;
        where_ = std::move(where);
        // Shown again, a window may not report its frame until it next moves: the frame it had
        // is the frame it gets.
        QMargins known = knownFrameMargins(window_);
        if (known.isNull())
            known = lastMargins_;
        pending_ = known.isNull();
        if (const auto topLeft = frameTopLeft(pending_ ? likelyMargins : known))
            window_.move(*topLeft);
    }

    void setFramed(std::function<void(const QMargins&)> framed) { framed_ = std::move(framed); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ ||
            (event->type() != QEvent::Move && event->type() != QEvent::Resize &&
             event->type() != QEvent::Show))
            return false;
        const QMargins margins = knownFrameMargins(window_);
        if (margins.isNull())
            return false;
        const bool first = lastMargins_.isNull();
        lastMargins_ = margins;
        if (first && framed_)
            framed_(margins);
        if (pending_) {
            pending_ = false;
            const auto topLeft = frameTopLeft(knownFrameMargins(window_));
            if (topLeft && *topLeft != window_.frameGeometry().topLeft())
                window_.move(*topLeft);
        }
        return false;
    }

  private:
    std::optional<QPoint> frameTopLeft(const QMargins& margins) const {
        const QScreen* screen = screen_ ? screen_.data() : window_.screen();
        if (!where_ || !screen)
            return std::nullopt;
        return where_(window_.size().grownBy(margins), screen->availableGeometry());
    }

    QWidget& window_;
    QPointer<const QScreen> screen_;
    Placement where_;
    std::function<void(const QMargins&)> framed_;
    QMargins lastMargins_;
    bool pending_ = false;
};

int keptInside(int wanted, int length, int first, int available) {
    if (length >= available)
        return first;
    return std::clamp(wanted, first, first + available - length);
}

// The light scheme the windows were drawn for: Qt's own Fusion palette. Every role is set
// again, so none is left to the desktop's palette (Fusion leaves the link colours to it), and at
// 8 bits a channel: Fusion works out its shades of grey at 16, which a deep-colour screen would
// show a step off from what the windows were drawn in.
QPalette lightPalette(const QColor& background) {
    static const QPalette fusion = [] {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette palette = style->standardPalette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto role = QPalette::ColorRole(r);
                if (role != QPalette::NoRole)
                    palette.setColor(group, role,
                                     QColor::fromRgba(palette.color(group, role).rgba()));
            }
        return palette;
    }();
    QPalette palette = fusion;
    palette.setColor(QPalette::Window, background);
    return palette;
}

} // namespace

void setUpTopLevelWindow(QMainWindow& window, const QString& className, const QString& caption,
                         const QString& iconPath, const QColor& background) {
    window.setObjectName(className);
    window.setWindowTitle(caption);
    window.setWindowIcon(QIcon(iconPath));
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    window.setFont(sansFont());
    // Every colour, not only the background: under a dark desktop theme the text colours
    // would otherwise turn light on the fixed light background.
    window.setPalette(lightPalette(background));
    window.setAutoFillBackground(true);
    window.installEventFilter(new ReturnPressesFocusedButton(&window));
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

QPoint keptInside(QPoint wanted, QSize frame, const QRect& available) {
    return {keptInside(wanted.x(), frame.width(), available.left(), available.width()),
            keptInside(wanted.y(), frame.height(), available.top(), available.height())};
}

QPoint centredInside(QSize frame, const QRect& available) {
    const QPoint centred(available.left() + (available.width() - frame.width()) / 2,
                         available.top() + (available.height() - frame.height()) / 2);
    return keptInside(centred, frame, available);
}

void bringToFront(QWidget& window) {
    // A minimised window keeps that state while hidden; showing it would show it minimised.
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

QMargins knownFrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

void placeFrame(QWidget& window, const QScreen* screen, Placement where,
                const QMargins& likelyMargins) {
    FrameKeeper::of(window).place(screen, std::move(where), likelyMargins);
}

void whenFramed(QWidget& window, std::function<void(const QMargins&)> framed) {
    FrameKeeper::of(window).setFramed(std::move(framed));
}

} // namespace velaro

#include "windowframe.moc"
