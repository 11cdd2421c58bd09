#pragma once
// What the sheet's dialogs share: the line that says why OK does not take the entries, the OK
// and Cancel buttons, and the fields of measurements in metres.

class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QString;
class QWidget;

namespace velaro {

// Word-wrapped, in dark red, named «problem» for the tests.
QLabel* problemLabel(QWidget* parent);
// OK and Cancel calling the dialog's accept (which may refuse) and reject.
QDialogButtonBox* okCancelButtons(QDialog& dialog);
// A measurement typed in metres (or m2) with either separator, to three decimals, named `name`.
QLineEdit* measureField(QWidget* parent, const char* name, const QString& text);
// A row of `form`: the label, its buddy `edit` and the unit after it.
void addMeasureRow(QFormLayout& form, const QString& label, QLineEdit* edit, const QString& unit);

} // namespace velaro
