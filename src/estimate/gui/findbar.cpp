#include "estimate/gui/findbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace velaro {

FindBar::FindBar(QWidget* parent) : QWidget(parent), text_(new QLineEdit), found_(new QLabel) {
    setObjectName("findBar");
    text_->setObjectName("findText");
    text_->setClearButtonEnabled(true);
    text_->setPlaceholderText(QStringLiteral("элемент, помещение, замеры, формула"));
    found_->setObjectName("findFound");
    auto* label = new QLabel(QStringLiteral("&Найти:"));
    label->setBuddy(text_);
    const auto button = [this](const QString& text, const QString& tip, const char* name) {
        auto* b = new QToolButton;
        b->setText(text);
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setObjectName(QLatin1String(name));
        b->setAutoRaise(true);
        return b;
    };
    QToolButton* previous = button(QStringLiteral("▲"), QStringLiteral("Предыдущее (Shift+F3)"), "findPrevious");
    QToolButton* next = button(QStringLiteral("▼"), QStringLiteral("Следующее (F3)"), "findNext");
    QToolButton* close = button(QStringLiteral("✕"), QStringLiteral("Закрыть (Esc)"), "findClose");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(text_, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(found_);
    layout->addWidget(close);
    connect(text_, &QLineEdit::textChanged, this, &FindBar::textChanged);
    connect(text_, &QLineEdit::returnPressed, this, &FindBar::next);
    connect(next, &QToolButton::clicked, this, &FindBar::next);
    connect(previous, &QToolButton::clicked, this, &FindBar::previous);
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    hide();
}

QString FindBar::text() const {
    return text_->text();
}

void FindBar::open() {
    show();
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
}

void FindBar::showFound(int current, int total) {
    if (text_->text().isEmpty())
        found_->clear();
    else if (total == 0)
        found_->setText(QStringLiteral("не найдено"));
    else
        found_->setText(QStringLiteral("%1 из %2").arg(current).arg(total));
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() & Qt::ShiftModifier) {
        emit previous();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velaro
