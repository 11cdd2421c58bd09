#pragma once
// The frame every calculator window stands on: fixed size, silver background, File ▸ Exit, and
// the helpers that place the parts of core/windowparts. A calculator hands the frame its rule and
// its Reset list; the frame runs the rule inside the error guard and applies the outcome.

#include "core/fonts.h"
#include "core/rule.h"
#include "core/windowparts.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>

namespace velaro {

class PictureArea;

struct WindowDescription {
    QString className; // TForm2 …: the window's objectName
    QString module;    // names its icon and picture
    QString caption;
    QSize clientSize;
};

using Rule = std::function<Outcome(const FormState&)>;

class CalculatorWindow : public QMainWindow {
    Q_OBJECT
  public:
    CalculatorWindow(const WindowDescription& description, char decimalSeparator);

    static constexpr int kClientWidth = 492;

    QWidget* client() const { return client_; }
    char decimalSeparator() const { return separator_; }

    void compute();     // Compute: runs the rule and applies its outcome
    void reset();       // Reset: empties the fields and unticks the boxes
    void closeWindow(); // File ▸ Exit: hides the window

    // The window's present field texts and ticks.
    FormState formState() const;
    // The window's rule on any field texts and ticks, without touching the window: what Compute
    // would do. Throws as Compute does on malformed text.
    Outcome evaluate(const FormState& state) const { return rule_(state); }

  signals:
    // After a successful Compute has written its results; never for a refusal, an error or
    // Reset. The estimate sheet records from it.
    void computed(const velaro::FormState& state, const velaro::Results& results);

  protected:
    // Building helpers. Positions are in client coordinates; texts are in the serif face unless
    // a font is given.
    QLabel* addLabel(const QString& text, QPoint topLeft, const QFont& font = serifFont());
    // A label centred across `width` from `left` (across the client where 0); several lines are
    // separated by '\n'.
    QLabel* addCentredLabel(const QString& text, int top, const QFont& font = serifFont(),
                            int left = 0, int width = 0);
    // An instruction to the user, in italics.
    QLabel* addInstruction(const QString& text, QPoint topLeft);

    // Field rows. The field is named after its prompt (with a qualifier that tells apart the
    // fields one heading names) and knows its unit, which stands kUnitGap after it.
    FieldRow addField(const QString& name, QLabel* prompt, const QString& unit, QPoint at,
                      UnitLine line = UnitLine::Centred, const QString& qualifier = {});
    // The prompt before the field, ending `promptGap` short of it, on the field's text line.
    FieldRow addFieldRow(const QString& name, const QString& prompt, const QString& unit, QPoint at,
                         int promptGap = kPromptGap);
    // The prompt over the field: the field `gap` below it, at `fieldLeft` (under the prompt where
    // negative).
    FieldRow addFieldUnder(const QString& name, const QString& prompt, const QString& unit,
                           QPoint promptAt, int gap, int fieldLeft = -1);
    // Prompt, field and unit level with one another at the client's top, each centred on the
    // taller of prompt and field, for the caller to move down once the rows above are placed: the
    // prompt at `promptLeft`, the field at `fieldLeft`.
    FieldRow addLevelFieldRow(const QString& name, const QString& prompt, const QString& unit,
                              int promptLeft, int fieldLeft);
    // The same centred across the window as one group, the field `promptGap` after the prompt.
    FieldRow addCentredFieldRow(const QString& name, const QString& prompt, const QString& unit,
                                int promptGap = kPromptGap);

    // Places the grid's cells and boxes from `top` down; returns the grid's bottom edge.
    int addConditionGrid(const ConditionGrid& grid, int top);
    // The primed-parts tick, "Детали проолифленные:" `textGap` under the instruction that asks
    // for it (in a sunken cell of `cellSize` where one is given), CheckBox4 after it; returns the
    // bottom edge.
    int addPrimedTick(QPoint instructionAt, int textGap, bool squareBox, QSize cellSize = {});
    // Compute and Reset centred across the window at the tops given, the result row between.
    WindowFoot addFoot(int computeTop, const FieldRow& result, int resetTop);
    // The module's picture, Image1, drawn unscaled and cut off at the area's edges.
    PictureArea* addPicture(const QRect& area);
    PictureArea* addCentredPicture(QSize size, int top);
    // The window's title, centred at the top.
    QLabel* addTitle(const QString& text);
    // The left edge that centres a control of this width.
    int centredLeft(int width) const;

    void setTabOrder(const QStringList& names);
    void setRule(Rule rule) { rule_ = std::move(rule); }
    // Fields emptied (and boxes unticked) by Reset, in this order.
    void setResetOrder(QStringList names) { resetOrder_ = std::move(names); }
    // What the estimate sheet calls the controls whose on-screen names are prompts or long
    // sentences, in the order its lines list them; the window itself shows none of it.
    void setShortNames(ShortNames names) { shortNames_ = std::move(names); }

  private:
    // Focus, then box, then clearing; or the result texts and their trails.
    void apply(const Outcome& outcome);
    QPushButton* addButton(const char* name, const QString& caption, int top,
                           void (CalculatorWindow::*handler)());
    QLabel* addGridCell(const ConditionGrid& grid, const GridCell& cell, const QRect& rect);

    QString module_;
    int staticTexts_ = 0; // sunken cells numbered so far
    char separator_;
    QWidget* client_;
    Rule rule_;
    QStringList resetOrder_;
    ShortNames shortNames_;
};

} // namespace velaro
