#include "core/calculatorwindow.h"

#include "core/messages.h"
#include "core/numericedit.h"
#include "core/picturearea.h"
#include "core/windowframe.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace velaro {
namespace {

// A result field's tooltip tells how its last result was reached; a refusal, an error or Reset
// leaves no result and so no tooltip. No field carries a tooltip of its own.
void clearTrails(const QWidget* client) {
    for (QLineEdit* edit : client->findChildren<QLineEdit*>())
        edit->setToolTip(QString());
}

// The window's named control, or nullptr; an empty name names none.
QWidget* findControl(const QWidget* window, const QString& name) {
    if (name.isEmpty())
        return nullptr;
    return window->findChild<QWidget*>(name);
}

QLineEdit* findEdit(const QWidget* window, const std::string& name) {
    return qobject_cast<QLineEdit*>(findControl(window, QString::fromStdString(name)));
}

} // namespace

CalculatorWindow::CalculatorWindow(const WindowDescription& description, char decimalSeparator)
    : module_(description.module), separator_(decimalSeparator), client_(new QWidget(this)) {
    setUpTopLevelWindow(*this, description.className, description.caption,
                        QStringLiteral(":/icons/%1.png").arg(description.module),
                        QColor(192, 192, 192));
    setAttribute(Qt::WA_QuitOnClose, false);
    addMenuCommand(*this, QStringLiteral("&Файл"), "N1", QStringLiteral("Выход"), "N2",
                   [this] { closeWindow(); });

    client_->setObjectName("client");
    client_->setFixedSize(description.clientSize);
    setCentralWidget(client_);
    setFixedSize(description.clientSize.width(),
                 description.clientSize.height() + menuBar()->sizeHint().height());

    placeFrame(*this, nullptr, centredInside);
}

QLabel* CalculatorWindow::addLabel(const QString& text, QPoint topLeft, const QFont& font) {
    auto* label = new QLabel(text, client_);
    label->setFont(font);
    label->move(topLeft);
    label->adjustSize();
    return label;
}

QLabel* CalculatorWindow::addCentredLabel(const QString& text, int top, const QFont& font, int left,
                                          int width) {
    QLabel* label = addLabel(text, QPoint(left, top), font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(left, top, width > 0 ? width : client_->width(), label->sizeHint().height());
    return label;
}

QPushButton* CalculatorWindow::addButton(const char* name, const QString& caption, int top,
                                         void (CalculatorWindow::*handler)()) {
    auto* button = new QPushButton(caption, client_);
    button->setObjectName(name);
    button->setFont(serifFont());
    button->setGeometry(centredLeft(kButtonWidth), top, kButtonWidth, kButtonHeight);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    return button;
}

PictureArea* CalculatorWindow::addPicture(const QRect& area) {
    auto* picture = new PictureArea(QStringLiteral("Image1"), area, client_);
    picture->setPictureResource(QStringLiteral(":/pictures/%1.jpg").arg(module_));
    return picture;
}

int CalculatorWindow::centredLeft(int width) const {
    return (client_->width() - width) / 2;
}

void CalculatorWindow::setTabOrder(const QStringList& names) {
    QWidget* previous = nullptr;
    for (const QString& name : names) {
        QWidget* control = findControl(this, name);
        Q_ASSERT_X(control, "setTabOrder", qPrintable(name));
        if (previous)
            QWidget::setTabOrder(previous, control);
        else
            control->setFocus(); // the first in the tab order holds the focus on opening
        previous = control;
    }
}

void CalculatorWindow::compute() {
    clearTrails(client_); // before the rule runs, since a malformed number ends the click there
    const FormState state = formState();
    const Outcome outcome = evaluate(state);
    apply(outcome);
    if (const auto* results = std::get_if<Results>(&outcome))
        emit computed(state, *results);
}

void CalculatorWindow::reset() {
    clearTrails(client_);
    for (const QString& name : resetOrder_) {
        QWidget* control = findControl(this, name);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(QString()); // emptied as by the program, which also ends its undo history
        else if (auto* check = qobject_cast<QCheckBox*>(control))
            check->setChecked(false);
    }
}

void CalculatorWindow::closeWindow() {
    close();
}

FormState CalculatorWindow::formState() const {
    FormState state(separator_);
    for (const NumericEdit* edit : client_->findChildren<NumericEdit*>()) {
        const std::string name = edit->objectName().toStdString();
        state.setText(name, edit->text().toStdString());
        state.setLabel(name, edit->accessibleName().toStdString());
        state.setUnit(name, edit->unit().toStdString());
    }
    for (const QCheckBox* check : client_->findChildren<QCheckBox*>()) {
        const std::string name = check->objectName().toStdString();
        state.setTicked(name, check->isChecked());
        state.setLabel(name, check->accessibleName().toStdString());
    }
    for (const auto& [name, shortName] : shortNames_)
        state.setShortName(name, shortName);
    return state;
}

void CalculatorWindow::apply(const Outcome& outcome) {
    if (const auto* results = std::get_if<Results>(&outcome)) {
        for (const auto& [field, text] : results->texts)
            if (QLineEdit* edit = findEdit(this, field))
                edit->setText(QString::fromStdString(text));
        for (const Trail& trail : results->trails)
            if (QLineEdit* edit = findEdit(this, trail.field))
                edit->setToolTip(QString::fromStdString(trail.written(separator_)));
        return;
    }
    const auto& refusal = std::get<Refusal>(outcome);
    if (QWidget* control = findControl(this, QString::fromStdString(refusal.focus)))
        control->setFocus();
    ShowMessage(QString::fromStdString(refusal.message));
    if (QLineEdit* edit = findEdit(this, refusal.cleared))
        edit->setText(QString());
}

} // namespace velaro
