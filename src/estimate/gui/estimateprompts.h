#pragma once
// The questions and file choices of the estimate sheet, in one place, so that tests answer them
// without showing anything.

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace velaro {

struct PrintJob;

class EstimatePrompts {
  public:
    enum class Unsaved { Save, Discard, Cancel };
    enum class ExitChoice { SaveElsewhere, Quit, Stay };
    virtual ~EstimatePrompts() = default;

    // The dialog starts in `folder`.
    virtual QString openFileName(QWidget* parent, const QString& folder);
    // A file of another kind than a sheet (a price list), from `folder`.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter);
    // A folder, starting from `start`; empty where none was chosen.
    virtual QString folderName(QWidget* parent, const QString& caption, const QString& start);
    // The dialog starts at `suggested`, a path, and adds `suffix` to a name typed without one,
    // so that its own question about replacing a file covers the name really written.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filter, const QString& suffix);
    virtual void error(QWidget* parent, const QString& text);
    virtual void notice(QWidget* parent, const QString& text);
    virtual bool confirm(QWidget* parent, const QString& text);
    // One of `items`, or empty where the user chose none.
    virtual QString choose(QWidget* parent, const QString& label, const QStringList& items);
    // Those of `items` the user ticks, none ticked at first; empty where none or given up.
    virtual QStringList chooseSeveral(QWidget* parent, const QString& label,
                                      const QStringList& items);
    // What a command would change, a line each, and its sum («Итого: 5 240 → 5 700»), with
    // Apply and Cancel; true where applied. `problems` are listed first, in red: rows that
    // could not be taken. Without `changes` there is only Close.
    virtual bool preview(QWidget* parent, const QString& title, const QStringList& problems,
                         const QStringList& changes, const QString& summary);
    // One of `items` or a text typed, starting from `current`; nullopt where the user gave up.
    virtual std::optional<QString> typeOrChoose(QWidget* parent, const QString& label,
                                                const QStringList& items, const QString& current);
    // «Сохранить изменения в «name»?» with Сохранить (the default) / Не сохранять / Отмена.
    virtual Unsaved unsavedChanges(QWidget* parent, const QString& name);
    virtual ExitChoice autosaveFailed(QWidget* parent, const QString& text);
    // The print preview and the printing, from the printing module; false where nothing was
    // printed, with `error` set where the module could not be loaded.
    virtual bool print(QWidget* parent, const PrintJob& job, QString& error);

    static EstimatePrompts& real();
};

} // namespace velaro
