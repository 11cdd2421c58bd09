#pragma once
// What the sheet's dialogs share: the line that says why OK does not take the entries, and the
// OK and Cancel buttons.

class QDialog;
class QDialogButtonBox;
class QLabel;
class QWidget;

namespace velaro {

// Word-wrapped, in dark red, named «problem» for the tests.
QLabel* problemLabel(QWidget* parent);
// OK and Cancel calling the dialog's accept (which may refuse) and reject.
QDialogButtonBox* okCancelButtons(QDialog& dialog);

} // namespace velaro
