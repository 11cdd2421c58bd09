#include "support/layoutcheck.h"

#include "core/fonts.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include <utility>

namespace velaro::test {
namespace {

bool fits(QSize needed, QSize available) {
    return needed.width() <= available.width() && needed.height() <= available.height();
}

QString sizes(QSize needed, QSize available) {
    return QStringLiteral("needs %1×%2, has %3×%4")
        .arg(needed.width())
        .arg(needed.height())
        .arg(available.width())
        .arg(available.height());
}

// A label shows its whole text when its size hint fits; a wrapping one when its longest word
// fits across and its wrapped lines fit down.
QString labelFault(const QLabel* label) {
    if (label->wordWrap()) {
        const int longestWord = label->minimumSizeHint().width();
        const int height = label->heightForWidth(label->width());
        if (longestWord <= label->width() && height <= label->height())
            return {};
        return sizes({longestWord, height}, label->size());
    }
    if (fits(label->sizeHint(), label->size()))
        return {};
    return sizes(label->sizeHint(), label->size());
}

// A push button's size hint also carries the style's least button width (wider than the
// 75-pixel buttons these windows have), so what is checked is that its caption fits the area the
// style draws captions in.
QString pushButtonFault(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    if (fits(text, contents.size()))
        return {};
    return sizes(text, contents.size());
}

// A field scrolls its text sideways, so it needs the height of one line inside its frame and
// margins. (Its size hint adds a least height of the style's, taller than the 21-pixel fields.)
QString fieldFault(const QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    option.state |= QStyle::State_Sunken;
    constexpr int kVerticalMargin = 1; // QLineEdit's own, above and below the text
    const QMargins text = field->textMargins();
    const int room =
        field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).height() -
        2 * kVerticalMargin - text.top() - text.bottom();
    const int line = field->fontMetrics().height();
    if (line <= room)
        return {};
    return QStringLiteral("a line %1 high, room for %2").arg(line).arg(room);
}

QString textFault(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return labelFault(label);
    if (const auto* button = qobject_cast<const QPushButton*>(control))
        return pushButtonFault(button);
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return fieldFault(field);
    // A check box's hint covers its indicator and any caption.
    if (qobject_cast<const QCheckBox*>(control))
        return fits(control->sizeHint(), control->size())
                   ? QString()
                   : sizes(control->sizeHint(), control->size());
    return {};
}

QList<QWidget*> visibleChildren(const QWidget* parent, const QWidget* window) {
    QList<QWidget*> children;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(window))
            children << child;
    return children;
}

// Push buttons stacked in a column may share their border line, as the main window's do; any
// other common pixel is one control covering another.
bool overlap(const QWidget* a, const QWidget* b) {
    const QRect common = a->geometry() & b->geometry();
    if (common.isEmpty())
        return false;
    const bool buttons = qobject_cast<const QPushButton*>(a) && qobject_cast<const QPushButton*>(b);
    return !(buttons && (common.height() == 1 || common.width() == 1));
}

// The controls on one surface: inside it, each showing its whole text, none covering another.
void checkSurface(const QWidget* surface, const QWidget* window, QStringList& faults) {
    const QList<QWidget*> controls = visibleChildren(surface, window);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget* control = controls[i];
        if (!surface->rect().contains(control->geometry()))
            faults << describeControl(control) + QStringLiteral(" sticks out of the window");
        const QString fault = textFault(control);
        if (!fault.isEmpty())
            faults << describeControl(control) + QStringLiteral(" cut off: ") + fault;
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (overlap(control, controls[j]))
                faults << describeControl(control) + QStringLiteral(" overlaps ") +
                              describeControl(controls[j]);
    }
}

} // namespace

QString faceFault(const QFont& font, const QString& family, const QString& package) {
    if (QFontInfo(font).family() == family)
        return {};
    return QStringLiteral("%1 is not installed: install %2").arg(family, package);
}

QString missingFace() {
    const QString liberation = QStringLiteral("fonts-liberation2");
    for (const auto& [font, family] :
         {std::pair(serifFont(), QStringLiteral("Liberation Serif")),
          std::pair(serifFont(15, true), QStringLiteral("Liberation Serif")),
          std::pair(sansFont(), QStringLiteral("Liberation Sans"))})
        if (QString fault = faceFault(font, family, liberation); !fault.isEmpty())
            return fault;
    return {};
}

QString describeControl(const QWidget* control) {
    QString text = control->property("text").toString();
    if (text.isEmpty())
        text = control->accessibleName();
    text.replace('\n', ' ');
    const QString name = control->objectName().isEmpty() ? control->metaObject()->className()
                                                         : control->objectName();
    return text.isEmpty() ? name : QStringLiteral("%1 «%2»").arg(name, text);
}

QStringList placementFaults(const QWidget* surface, const QList<QWidget*>& controls) {
    QStringList faults;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget* control = controls[i];
        if (!surface->rect().contains(control->geometry()))
            faults << describeControl(control) + QStringLiteral(" outside the window");
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                 : label->sizeHint().height();
            if (label->height() < needed ||
                (!label->wordWrap() && label->width() < label->sizeHint().width()))
                faults << describeControl(label) + QStringLiteral(" is cut");
        }
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (control->geometry().intersects(controls[j]->geometry()))
                faults << describeControl(control) + QStringLiteral(" overlaps ") +
                              describeControl(controls[j]);
    }
    return faults;
}

QStringList layoutFaults(const QWidget* window) {
    QStringList faults;
    const auto* main = qobject_cast<const QMainWindow*>(window);
    const QWidget* client = main ? main->centralWidget() : window;
    if (!client)
        return {QStringLiteral("no client area")};
    checkSurface(client, window, faults);
    if (main && main->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly))
        checkSurface(main->statusBar(), window, faults);
    return faults;
}

} // namespace velaro::test
