#pragma once
// The program's own modules (printing, the Excel workbook), loaded only when they are used so
// that start-up does not load the libraries they link.

class QLibrary;
class QString;

namespace velaro {

// Loads the module `name` from beside the program in the build tree, or from where it is
// installed. False where none loads; the library's errorString says why.
bool loadModule(QLibrary& library, const QString& name);

} // namespace velaro
