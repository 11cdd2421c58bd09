#include "estimate/gui/estimateprompts.h"

#include "estimate/modules.h"
#include "print/printjob.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <QLibrary>
#include <QMessageBox>
#include <QPushButton>

namespace velaro {
namespace {

const QString kCaption = QStringLiteral("Ведомость окраски");

} // namespace

EstimatePrompts& EstimatePrompts::real() {
    static EstimatePrompts prompts;
    return prompts;
}

QString EstimatePrompts::openFileName(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть ведомость"), folder,
                                        QStringLiteral("Ведомость окраски (*.velaro-estimate)"));
}

QString EstimatePrompts::openFileName(QWidget* parent, const QString& caption,
                                      const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString EstimatePrompts::folderName(QWidget* parent, const QString& caption,
                                    const QString& start) {
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

QStringList EstimatePrompts::chooseSeveral(QWidget* parent, const QString& label,
                                           const QStringList& items) {
    QDialog dialog(parent);
    dialog.setWindowTitle(kCaption);
    auto* list = new QListWidget(&dialog);
    list->setObjectName("items");
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    auto* prompt = new QLabel(label, &dialog);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    dialog.resize(560, 420);
    QStringList chosen;
    if (dialog.exec() == QDialog::Accepted)
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                chosen << items[i];
    return chosen;
}

bool EstimatePrompts::preview(QWidget* parent, const QString& title, const QStringList& problems,
                              const QStringList& changes, const QString& summary) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* list = new QListWidget(&dialog);
    list->setObjectName("changes");
    for (const QString& text : problems) {
        auto* item = new QListWidgetItem(text, list);
        item->setForeground(Qt::darkRed);
    }
    list->addItems(changes);
    auto* buttons = new QDialogButtonBox(&dialog);
    if (!changes.isEmpty())
        buttons->addButton(QStringLiteral("&Применить"), QDialogButtonBox::AcceptRole);
    buttons->addButton(changes.isEmpty() ? QDialogButtonBox::Close : QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list, 1);
    auto* sum = new QLabel(summary, &dialog);
    sum->setWordWrap(true);
    layout->addWidget(sum);
    layout->addWidget(buttons);
    dialog.resize(640, 420);
    return dialog.exec() == QDialog::Accepted && !changes.isEmpty();
}

QString EstimatePrompts::saveFileName(QWidget* parent, const QString& caption,
                                      const QString& suggested, const QString& filter,
                                      const QString& suffix) {
    QFileDialog dialog(parent, caption, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void EstimatePrompts::error(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kCaption, text);
}

void EstimatePrompts::notice(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kCaption, text);
}

bool EstimatePrompts::confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kCaption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QString EstimatePrompts::choose(QWidget* parent, const QString& label, const QStringList& items) {
    bool chosen = false;
    const QString item = QInputDialog::getItem(parent, kCaption, label, items, 0, false, &chosen);
    return chosen ? item : QString();
}

std::optional<QString> EstimatePrompts::typeOrChoose(QWidget* parent, const QString& label,
                                                    const QStringList& items,
                                                    const QString& current) {
    bool chosen = false;
    const qsizetype at = items.indexOf(current);
    QStringList offered = items;
    if (at < 0)
        offered.prepend(current);
    const QString item = QInputDialog::getItem(parent, kCaption, label, offered,
                                               int(std::max<qsizetype>(at, 0)), true, &chosen);
    if (!chosen)
        return std::nullopt;
    return item.simplified();
}

EstimatePrompts::Unsaved EstimatePrompts::unsavedChanges(QWidget* parent, const QString& name) {
    QMessageBox box(QMessageBox::Question, kCaption,
                    QStringLiteral("Сохранить изменения в «%1»?").arg(name), QMessageBox::NoButton,
                    parent);
    QPushButton* save = box.addButton(QStringLiteral("&Сохранить"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QStringLiteral("&Не сохранять"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
        return Unsaved::Save;
    return box.clickedButton() == discard ? Unsaved::Discard : Unsaved::Cancel;
}

EstimatePrompts::ExitChoice EstimatePrompts::autosaveFailed(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, kCaption, text, QMessageBox::NoButton, parent);
    QPushButton* save =
        box.addButton(QStringLiteral("&Сохранить в другом месте…"), QMessageBox::AcceptRole);
    QPushButton* quit =
        box.addButton(QStringLiteral("&Выйти без сохранения"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
        return ExitChoice::SaveElsewhere;
    return box.clickedButton() == quit ? ExitChoice::Quit : ExitChoice::Stay;
}

bool EstimatePrompts::print(QWidget* parent, const PrintJob& job, QString& error) {
    QLibrary module;
    loadModule(module, QStringLiteral("velaro-print"));
    using Print = int (*)(const PrintJob*, QWidget*);
    const auto print = reinterpret_cast<Print>(module.resolve("velaro_print_preview"));
    if (!print) {
        error = module.errorString();
        return false;
    }
    return print(&job, parent) != 0;
}

} // namespace velaro
