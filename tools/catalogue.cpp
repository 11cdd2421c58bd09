// Prints the calculators the main window offers, one a line: the window class, a tab, and the
// caption of its button. Scripts that drive the program read the captions here instead of
// keeping copies of them.

#include "calculators/catalog.h"

#include <cstdio>

int main() {
    for (const velaro::CalculatorEntry& entry : velaro::allCalculators())
        std::printf("TForm%d\t%s\n", entry.formNumber, entry.caption.toUtf8().constData());
    return 0;
}
