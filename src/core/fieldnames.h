#pragma once
// Fields are named for assistive technology by the text that names them on screen, so that a
// screen reader says "Введите площадь дверных проемов …" rather than "edit text".

#include <QString>

class QLabel;
class QWidget;

namespace velaro {

// The label becomes the field's buddy (so the pair is reported as label and labelled), and the
// field's accessible name is the label's text on one line. A qualifier tells apart the fields
// that one heading names, such as the rows under a table's column heading.
void nameAfter(QWidget* field, QLabel* label, const QString& qualifier = {});

// A shown text as one line: line breaks and runs of blanks become one blank, none at the ends.
QString oneLine(const QString& shown);

} // namespace velaro
